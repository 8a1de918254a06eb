// Text between a multi-line control and Qt's editor: an edit changes only what the user changed,
// whatever line ends and bytes the rest of the text holds.
#include "gui/editortext.h"

#include <gtest/gtest.h>

namespace velmora::gui::detail {
namespace {

TEST(EditorText, AnEditKeepsTheBytesAroundIt) {
    struct Case {
        const char* name;
        std::string before;
        QString edited;  // the editor's text after the user's edit
        std::string after;
    };
    const Case cases[] = {
        {"untouched lone CRs", "SW780\rP1\r", "SW780\nP1\n", "SW780\rP1\r"},
        {"a character typed", "SW780\rP1\r", "SW780\nP12\n", "SW780\rP12\r"},
        {"a new line is CR LF", "A\rB", "A\n\nB", "A\r\r\nB"},
        {"mixed ends kept", "A\r\nB\nC\r", "A\nBx\nC\n", "A\r\nBx\nC\r"},
        {"a line end deleted", "A\rB\r\nC", "AB\nC", "AB\r\nC"},
        {"a byte that is no UTF-8 kept",
         "A\xFF"
         "B",
         QString("A") + QChar(0xFFFD) + "BC",
         "A\xFF"
         "BC"},
        {"a no-break space the editor shows as a space",
         "A\xC2\xA0"
         "B",
         "A B!",
         "A\xC2\xA0"
         "B!"},
        {"beside a character of two units", "\xF0\x9F\x98\x80\r", QString::fromUtf8("\xF0\x9F\x98\x80x\n"),
         "\xF0\x9F\x98\x80x\r"},
        {"all replaced", "A\rB\r", "C", "C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString shown = toEditor(c.before);
        if (c.before.find("\xC2\xA0") != std::string::npos) shown.replace(QChar(0xA0), u' ');
        EXPECT_EQ(mergeEdit(c.edited, c.before, shown), c.after);
    }
}

TEST(EditorText, PositionsMapBothWays) {
    const std::string text =
        "A\r\nB\rC\xC3\xA9"
        "D";  // A CRLF B CR C é D
    const int bytes[] = {0, 1, 3, 4, 5, 6, 8, 9};
    for (int unit = 0; unit < 8; ++unit) {
        EXPECT_EQ(controlPos(text, unit), bytes[unit]) << unit;
        EXPECT_EQ(editorPos(text, bytes[unit]), unit) << unit;
    }
}

}  // namespace
}  // namespace velmora::gui::detail
