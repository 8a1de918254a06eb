// What the two code page print dialogs share (the command tester's native one and the ZII one):
// the code table list, the block range with its "Print all block character code" box, the vector
// font sizes, and the print series that writes one label per lead byte.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "tester/twobytecodes.h"
#include "tester/twobyteops.h"
#include "ui/dialog.h"

namespace velmora::tester {

class TwoByteCodeDialog : public ui::Dialog {
public:
    TwoByteCodeDialog(app::ToolContext& ctx, const ui::DialogTemplate& tmpl);

    void OnSelchangeTable();
    void OnAllBlocks();
    void OnPrintCharacters();
    // Labels written by the last "Print Characters".
    int labelsWritten() const { return labelsWritten_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

    const TwoByteTable& table() const;
    // A new table was chosen (its texts are in the fields, not yet in the controls).
    virtual void tableChosen() {}
    // The print's language and font in the request.
    virtual void fillRequest(TwoBytePrintRequest& request) const = 0;

    app::ToolContext& ctx_;
    int table_ = 0;
    std::string start_, end_, area_;
    bool all_ = false;
    std::string width_ = "35", height_ = "35";

private:
    int labelsWritten_ = 0;
    void setTableTexts();
};

}  // namespace velmora::tester
