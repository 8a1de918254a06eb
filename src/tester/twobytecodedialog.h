// What the two code page print dialogs share (the command tester's native one and the ZII one):
// the code table list, the block range with its "Print all block character code" box, the vector
// font sizes, and the print series that writes one label per lead byte.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "tester/twobytecodes.h"
#include "ui/dialog.h"

namespace velmora::tester {

// Strings of the two dialogs' messages.
inline constexpr int kMsgStartBlockWrong = 229;
inline constexpr int kMsgEndBlockWrong = 230;
inline constexpr int kMsgFontSizeDigits = 530;

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
    // The label of one lead byte; the sizes are bytes in the printer's code page.
    virtual std::string label(int lead, const std::string& width, const std::string& height) const = 0;
    // Whether the chosen font uses the width and height.
    virtual bool sizesUsed() const { return true; }
    // Refuses (with its message) a lead-byte range the language cannot carry.
    virtual bool rangeAllowed(int first, int last) {
        (void)first;
        (void)last;
        return true;
    }

    app::ToolContext& ctx_;
    int table_ = 0;
    std::string start_, end_, area_;
    bool all_ = false;
    std::string width_ = "35", height_ = "35";

private:
    int labelsWritten_ = 0;
    void setTableTexts();
    // The size as bytes the printer takes: one to 32 digits; nothing (after message 530) else.
    std::optional<std::string> sizeBytes(const std::string& text, int id);
};

}  // namespace velmora::tester
