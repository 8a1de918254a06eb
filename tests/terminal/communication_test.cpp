// The communication window as a user drives it: the send text goes out as one write, the view
// shows what came back in rows of 20 in either form, files load and save without loss, find and
// replace act on the send text through one find/replace dialog, and "Print Codes" opens the ZII
// two-byte print.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/toolcontext.h"
#include "resources/stringtable.h"
#include "resources/templates_terminal.h"
#include "support/hex.h"
#include "support/linkfixture.h"
#include "terminal/communicationdlg.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace std::string_literals;
using terminal::CCommunicationDlg;

class Communication : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        dlg.Create();
        dir = std::filesystem::temp_directory_path() / ("velmora-terminal-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string editor() { return dlg.control(IDC_CW_EDITOR).text(); }
    std::string view() { return dlg.control(IDC_CW_RECEIVE_VIEW).text(); }
    std::string file(const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CCommunicationDlg dlg{ctx};
    std::filesystem::path dir;
};

TEST_F(Communication, SendsTheTypedTextAsOneWrite) {
    EXPECT_EQ(dlg.caption(), "Communication Window");
    EXPECT_TRUE(dlg.control(IDC_CW_ASCII).checked());
    l.script.writes.clear();
    dlg.typeText(IDC_CW_EDITOR, "^XA\r\n^PW400\r\n^XZ\r\n");
    dlg.click(IDC_CW_SEND);
    EXPECT_EQ(l.script.writes, std::vector<std::string>{"^XA\r\n^PW400\r\n^XZ\r\n"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.waitCursorDepth, 0);
    dlg.click(IDC_CW_CLEAR);
    EXPECT_EQ(editor(), "");
    // A character the code page lacks would go out as "?": nothing goes, and the user is told.
    l.script.writes.clear();
    dlg.typeText(IDC_CW_EDITOR, "^FD\xD0\x96^FS");  // Ж
    dlg.click(IDC_CW_SEND);
    EXPECT_TRUE(l.script.writes.empty());
    const std::string refusal = "code page WINDOWS-1252 cannot hold 1 character(s) of the text; nothing was sent";
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{refusal});
}

// Preview shows what Send to Printer would print and sends nothing.
TEST_F(Communication, PreviewHandsTheSendTextToTheHost) {
    l.script.writes.clear();
    dlg.typeText(IDC_CW_EDITOR, "^XA^FO10,10^FDA^FS^XZ");
    dlg.click(IDC_CW_PREVIEW);
    EXPECT_EQ(host.previews, std::vector<std::string>{"^XA^FO10,10^FDA^FS^XZ"});
    host.previewShown = false;
    dlg.click(IDC_CW_PREVIEW);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(590)});
    EXPECT_TRUE(l.script.writes.empty());
}

TEST_F(Communication, ViewShowsRowsOfTwentyInEitherForm) {
    std::string bytes = "AB\r\n";
    for (int i = 0; i < 17; ++i) bytes += static_cast<char>('a' + i);
    l.script.readScript = {bytes.substr(0, 4), bytes.substr(4)};
    dlg.click(IDC_CW_READ);
    EXPECT_EQ(view(), "A B . .\t");
    dlg.click(IDC_CW_READ);
    EXPECT_EQ(dlg.receiveBuffer(), bytes);
    EXPECT_EQ(view(), "A B . .\ta b c d\te f g h\ti j k l\tm n o p\r\nq ");
    dlg.click(IDC_CW_READ);  // nothing came: nothing changes
    EXPECT_EQ(dlg.receiveBuffer(), bytes);
    dlg.click(IDC_CW_HEX);
    EXPECT_EQ(view(), "41 42 0d 0a\t61 62 63 64\t65 66 67 68\t69 6a 6b 6c\t6d 6e 6f 70\r\n71 ");
    dlg.click(IDC_CW_CLEAR_RECEIVE);
    EXPECT_EQ(view(), "");
    dlg.click(IDC_CW_ASCII);
    EXPECT_EQ(view(), "");
    EXPECT_TRUE(dlg.receiveBuffer().empty());
}

TEST_F(Communication, FilesRoundTripAndFailuresAreReported) {
    // Korean, a character outside the Basic Multilingual Plane, and CR LF line ends.
    const std::string text = "^FD\xea\xb0\x80\xf0\x9f\x98\x80\r\n^XZ";
    dlg.typeText(IDC_CW_EDITOR, text);
    const std::string saved = (dir / "saved.txt").string();
    host.fileAnswers.push_back(saved);
    dlg.click(IDC_CW_SAVE);
    EXPECT_EQ(hex(read(saved).substr(0, 12)), hex(std::string("\xFF\xFE^\0F\0D\0\x00\xAC\x3D\xD8", 12)));
    dlg.click(IDC_CW_CLEAR);
    host.fileAnswers.push_back(saved);
    dlg.click(IDC_CW_FILE_OPEN);
    EXPECT_EQ(editor(), text);

    struct Case {
        std::string bytes, text;
    };
    const Case loads[] = {
        {"\xEF\xBB\xBF^XA\xea\xb0\x80"s, "^XA\xea\xb0\x80"},  // UTF-8 after its mark
        {"\xFF\xFE" "A\0B\0"s, "AB"},
        {"\xFE\xFF\0A\0B"s, "AB"},
        {"P1\0P2"s, "P1"},                         // up to a zero byte
        {"\xEF\xBB" "A"s, "\xC3\xAF\xC2\xBB" "A"},  // an incomplete mark is text in the code page
    };
    for (const Case& c : loads) {
        host.fileAnswers.push_back(file("load.txt", c.bytes));
        dlg.click(IDC_CW_FILE_OPEN);
        EXPECT_EQ(hex(editor()), hex(c.text)) << hex(c.bytes);
    }
    EXPECT_TRUE(host.messages.empty());

    // Cancelled dialogs: the send text is emptied before the open dialog shows.
    dlg.click(IDC_CW_FILE_OPEN);
    EXPECT_EQ(editor(), "");
    dlg.click(IDC_CW_SAVE);
    host.fileAnswers.push_back((dir / "missing.txt").string());
    dlg.click(IDC_CW_FILE_OPEN);
    host.fileAnswers.push_back((dir / "no-such-dir" / "x.txt").string());
    dlg.click(IDC_CW_SAVE);
    const auto messages = host.messageTexts();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], "Don't select load file");
    EXPECT_EQ(messages[1], "Don't select save file");
    EXPECT_EQ(messages[2], "Cannot read the file " + (dir / "missing.txt").string() + ".");
    EXPECT_EQ(messages[3], "Cannot write the file " + (dir / "no-such-dir" / "x.txt").string() + ".");
}

TEST_F(Communication, FindAndReplaceActOnTheSendText) {
    dlg.typeText(IDC_CW_EDITOR, "P1\r\np1\r\nP1\r\n");
    dlg.click(IDC_CW_REPLACE);
    dlg.click(IDC_CW_REPLACE);  // already open: one dialog at a time
    EXPECT_EQ(host.findReplaceOpened, 1);
    ASSERT_NE(host.findReplace, nullptr);
    ui::Control& e = dlg.control(IDC_CW_EDITOR);

    host.findReplace->findNext("P1");
    EXPECT_EQ(std::pair(e.selStart(), e.selEnd()), std::pair(0, 2));
    EXPECT_EQ(dlg.focusId(), IDC_CW_EDITOR);
    host.findReplace->replace("P1", "P2");
    EXPECT_EQ(editor(), "P2\r\np1\r\nP1\r\n");
    EXPECT_EQ(std::pair(e.selStart(), e.selEnd()), std::pair(8, 10));  // the case-different "p1" is passed
    host.findReplace->replace("P1", "P2");
    EXPECT_EQ(editor(), "P2\r\np1\r\nP2\r\n");
    host.findReplace->findNext("P1");  // no wrap
    EXPECT_EQ(std::pair(e.selStart(), e.selEnd()), std::pair(10, 10));
    host.findReplace->replaceAll("\r\n", "\r\n\r\n");
    EXPECT_EQ(editor(), "P2\r\n\r\np1\r\n\r\nP2\r\n\r\n");

    // Sent as it now stands.
    l.script.writes.clear();
    dlg.click(IDC_CW_SEND);
    EXPECT_EQ(l.script.writes, std::vector<std::string>{editor()});

    host.findReplace->findReplaceClosed();
    EXPECT_FALSE(dlg.findReplaceOpen());
    dlg.click(IDC_CW_REPLACE);
    EXPECT_EQ(host.findReplaceOpened, 2);
}

TEST_F(Communication, PrintCodesOpensTheZiiPrint) {
    dlg.click(IDC_CW_PRINT_CODES);
    EXPECT_EQ(host.modalTemplates, std::vector<int>{199});
}

}  // namespace
}  // namespace velmora::testing
