// The command tester's two-byte code page print: a chart of a two-byte character set in the
// printer's resident bitmap or vector font, one native text command and print per lead byte.
#pragma once

#include "tester/twobytecodedialog.h"

namespace velmora::tester {

class CTwobytesCodeDlg : public TwoByteCodeDialog {
public:
    explicit CTwobytesCodeDlg(app::ToolContext& ctx);

    void OnBitmapFont();
    void OnVectorFont();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void tableChosen() override;
    void fillRequest(TwoBytePrintRequest& request) const override;

private:
    void enableFontControls();

    int fontType_ = 0;  // 0 bitmap, 1 vector
    int bitmapFont_ = 3;
};

}  // namespace velmora::tester
