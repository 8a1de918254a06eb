// The ZII two-byte code page print: a chart of a two-byte character set in the printer's ZII
// two-byte font, one format per lead byte that names every character by hexadecimal escapes.
#pragma once

#include "tester/twobytecodedialog.h"

namespace velmora::zii {

class CZII_TwobytesCodeDlg : public tester::TwoByteCodeDialog {
public:
    explicit CZII_TwobytesCodeDlg(app::ToolContext& ctx);

protected:
    void fillRequest(tester::TwoBytePrintRequest& request) const override;
};

}  // namespace velmora::zii
