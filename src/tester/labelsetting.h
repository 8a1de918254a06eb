// The label setting builder: label width, length with media type, and margins ("SW", "SL", "SM"),
// typed in inches, millimetres or dots and written in dots.
#pragma once

#include "tester/tavlcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class CLabelSetting : public TesterBuilder {
public:
    explicit CLabelSetting(app::ToolContext& ctx);

    std::string InsertText() const override;
    const LabelSettingValues& values() const { return values_; }

    void OnUnit();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    LabelSettingValues values_;
    int unit_ = 0;          // the radio group
    Unit current_ = Unit::Inch;  // the unit the four values are held in
    std::string unitLabel_ = "inch";
};

}  // namespace velmora::tester
