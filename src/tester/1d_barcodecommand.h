// The linear barcode builder: one "B1" command.
#pragma once

#include "tester/tavlcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class C1D_BarcodeCommand : public TesterBuilder {
public:
    explicit C1D_BarcodeCommand(app::ToolContext& ctx);

    std::string InsertText() const override;
    const Barcode1D& values() const { return values_; }

    void OnQuietZone();
    void OnTestPrint();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PrepareInsert() override;

private:
    void enableQuietZone();

    Barcode1D values_;
    int savedRotation_ = 0;
};

}  // namespace velmora::tester
