// The two-dimensional barcode builder: one "B2" command for a Maxicode, PDF417 or QR Code
// symbol. The dialog reshapes itself for the chosen symbology: its lists, labels and the
// controls that apply.
#pragma once

#include "tester/tavlcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class C2D_BarcodeCommand : public TesterBuilder {
public:
    explicit C2D_BarcodeCommand(app::ToolContext& ctx);

    std::string InsertText() const override;
    const Barcode2D& values() const { return values_; }

    void OnSymbologyChange();
    void OnModeChange();
    void OnEccChange();
    void OnTestPrint();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PrepareInsert() override;

private:
    void fillLists(Symbology s);
    void enableFor(Symbology s);

    Barcode2D values_;
    int symbology_ = 0;
    int previousSymbology_ = 0;
    std::string typeLetter_ = "M", modeLabel_ = "Mode", eccLabel_ = "ECL", barLabel_ = "Bar Height";
};

}  // namespace velmora::tester
