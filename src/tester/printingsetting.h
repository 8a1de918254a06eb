// The printing setting builder: speed, density and print direction ("SS", "SD", "SOT"/"SOB").
#pragma once

#include "tester/tavlcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class CPrintingSetting : public TesterBuilder {
public:
    explicit CPrintingSetting(app::ToolContext& ctx);

    std::string InsertText() const override;
    const PrintingSettingValues& values() const { return values_; }

    void OnSlider();
    void OnTestPrint();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    PrintingSettingValues values_;
    int sliderPos_ = 0;
    std::string densityText_ = "20";
};

}  // namespace velmora::tester
