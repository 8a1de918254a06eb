// The command tester as a user drives it: Multi Send and its counter, reads and the view, the
// editor and the clipboard, Load and Save, the insert loop and the launcher buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/toolcontext.h"
#include "platform/codepage.h"
#include "resources/stringtable.h"
#include "resources/templates_shell.h"
#include "resources/templates_tester.h"
#include "shell/main_kdrmenuview.h"
#include "shell/main_ziimenuview.h"
#include "support/linkfixture.h"
#include "tester/tavl_cmdtesterdlg.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using tester::CTAVL_CmdTesterDlg;

class Tester : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        dlg.Create();
    }
    std::string editor() { return dlg.control(IDC_TT_EDITOR).text(); }
    std::string tempPath(const std::string& name) {
        dir = std::filesystem::temp_directory_path() / ("velmora-tester-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return (dir / name).string();
    }
    void TearDown() override {
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CTAVL_CmdTesterDlg dlg{ctx};
    std::filesystem::path dir;
};

TEST_F(Tester, MultiSendCountsEachCopyAndPausesOnlyForLongTexts) {
    EXPECT_TRUE(dlg.control(IDC_TT_ASCII).checked());
    EXPECT_EQ(dlg.control(IDC_TT_SEND_COUNT).text(), "1");
    dlg.typeText(IDC_TT_EDITOR, "T1\r\nP1\r\n");
    dlg.typeText(IDC_TT_SEND_COUNT, "3");
    l.clock.clearPauses();
    dlg.click(IDC_TT_MULTI_SEND);
    EXPECT_EQ(l.script.writes, std::vector<std::string>(3, "T1\r\nP1\r\n"));
    EXPECT_EQ(dlg.control(IDC_TT_SENT_COUNTER).text(), "3");
    auto longTextPauses = [&] { return std::count(l.clock.pauses().begin(), l.clock.pauses().end(), 100u); };
    EXPECT_EQ(longTextPauses(), 0);

    // Count 0 sends nothing and leaves the counter.
    l.script.writes.clear();
    dlg.typeText(IDC_TT_SEND_COUNT, "0");
    dlg.click(IDC_TT_MULTI_SEND);
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_EQ(dlg.control(IDC_TT_SENT_COUNTER).text(), "3");

    // Over 1500 bytes: 100 ms before every copy.
    dlg.typeText(IDC_TT_EDITOR, std::string(1501, 'A'));
    dlg.typeText(IDC_TT_SEND_COUNT, "2");
    dlg.click(IDC_TT_MULTI_SEND);
    EXPECT_EQ(longTextPauses(), 2);

    // A failed write stops the series and blanks the counter.
    l.script.writes.clear();
    for (int i = 0; i < 20; ++i) l.script.writeScript.push_back(-1);
    dlg.typeText(IDC_TT_SEND_COUNT, "5");
    dlg.click(IDC_TT_MULTI_SEND);
    EXPECT_EQ(dlg.control(IDC_TT_SENT_COUNTER).text(), "");
    EXPECT_EQ(l.messages.shown.size(), 1u);
}

TEST_F(Tester, TheSendCountSpinWrapsAtItsEnds) {
    EXPECT_TRUE(dlg.control(IDC_TT_SEND_SPIN).wraps());
    dlg.stepSpin(IDC_TT_SEND_SPIN, -1);
    EXPECT_EQ(dlg.control(IDC_TT_SEND_COUNT).text(), "0");
    dlg.stepSpin(IDC_TT_SEND_SPIN, -1);
    EXPECT_EQ(dlg.control(IDC_TT_SEND_COUNT).text(), "10000");
    dlg.stepSpin(IDC_TT_SEND_SPIN, 1);
    EXPECT_EQ(dlg.control(IDC_TT_SEND_COUNT).text(), "0");
}

// Preview hands the editor's bytes to the host and sends nothing; a host without pictures says so.
TEST_F(Tester, PreviewShowsTheEditorsLabelsWithoutSending) {
    dlg.typeText(IDC_TT_EDITOR, "BD10,10,50,50,O\r\nP1\r\n");
    dlg.click(IDC_TT_PREVIEW);
    EXPECT_EQ(host.previews, std::vector<std::string>{"BD10,10,50,50,O\r\nP1\r\n"});
    EXPECT_TRUE(host.messages.empty());
    host.previewShown = false;
    dlg.click(IDC_TT_PREVIEW);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{resources::LoadString(590)});
    EXPECT_TRUE(l.script.writes.empty());
}

TEST_F(Tester, SendCountBeyondTheSpinIsRefusedWithTheRangeAndTheLastCountUsed) {
    dlg.typeText(IDC_TT_EDITOR, "P1\r");
    for (const char* typed : {"99999999999999999999", "10001"}) {
        dlg.typeText(IDC_TT_SEND_COUNT, typed);
        dlg.click(IDC_TT_MULTI_SEND);
    }
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>(2, "Enter an integer between 0 and 10000."));
    EXPECT_EQ(l.script.writes, std::vector<std::string>(2, "P1\r"));
    EXPECT_EQ(dlg.control(IDC_TT_SEND_COUNT).text(), "1");
}

TEST_F(Tester, TypedLineBreaksGoOutAsCrLfAndLoadedLoneLfStays) {
    dlg.typeText(IDC_TT_EDITOR, "A\r\nB");
    dlg.click(IDC_TT_MULTI_SEND);
    const std::string path = tempPath("lf.txt");
    std::ofstream(path, std::ios::binary) << "SW812\nP1\n";
    host.fileAnswers.push_back(path);
    dlg.click(IDC_TT_LOAD);
    dlg.click(IDC_TT_MULTI_SEND);
    EXPECT_EQ(l.script.writes, (std::vector<std::string>{"A\r\nB", "SW812\nP1\n"}));
}

TEST_F(Tester, ReadsAppendAndRenderInEitherMode) {
    l.script.readScript = {std::string("AB\r\n"), std::string(""), std::string(""), std::string(""),
                          std::string(17, '!')};
    dlg.click(IDC_TT_READ);
    EXPECT_EQ(dlg.control(IDC_TT_RECEIVE_VIEW).text(), "A B . .\t");
    dlg.click(IDC_TT_HEX);
    EXPECT_EQ(dlg.control(IDC_TT_RECEIVE_VIEW).text(), "41 42 0d 0a\t");
    dlg.click(IDC_TT_READ);  // nothing came: nothing changes
    EXPECT_EQ(dlg.receiveBuffer().size(), 4u);
    dlg.click(IDC_TT_ASCII);
    dlg.click(IDC_TT_READ);
    EXPECT_EQ(dlg.receiveBuffer().size(), 21u);
    EXPECT_EQ(dlg.control(IDC_TT_RECEIVE_VIEW).text().substr(32), "! ! ! !\r\n! ");
    dlg.click(IDC_TT_CLEAR_RECEIVE);
    EXPECT_EQ(dlg.control(IDC_TT_RECEIVE_VIEW).text(), "");
    EXPECT_TRUE(dlg.receiveBuffer().empty());
}

TEST_F(Tester, EditorWorksThroughTheHostClipboard) {
    dlg.typeText(IDC_TT_EDITOR, "SW812\r\nP1\r\n");
    dlg.control(IDC_TT_EDITOR).setSel(0, 7);
    dlg.click(IDC_TT_COPY);
    EXPECT_EQ(host.clipboard, "SW812\r\n");
    dlg.control(IDC_TT_EDITOR).setSel(7, 11);
    dlg.click(IDC_TT_CUT);
    EXPECT_EQ(host.clipboard, "P1\r\n");
    EXPECT_EQ(editor(), "SW812\r\n");
    host.clipboard = "SL1219,24,G\nP1\n";  // what another program put there
    dlg.control(IDC_TT_EDITOR).setSel(7, 7);
    dlg.click(IDC_TT_PASTE);
    EXPECT_EQ(editor(), "SW812\r\nSL1219,24,G\r\nP1\r\n");
    EXPECT_EQ(dlg.commandText(), editor());
    dlg.click(IDC_TT_CLEAN);
    EXPECT_EQ(editor(), "");
}

TEST_F(Tester, SaveWritesUtf16AndLoadReadsItBack) {
    const std::string path = tempPath("TAVL.txt");
    dlg.typeText(IDC_TT_EDITOR, "A");
    host.fileAnswers.push_back(path);
    dlg.click(IDC_TT_SAVE);
    ASSERT_EQ(host.fileRequests.size(), 1u);
    EXPECT_EQ(host.fileRequests[0].fileName, "TAVL.txt");
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, std::string("\xFF\xFE" "A\0", 4));
    dlg.click(IDC_TT_CLEAN);
    host.fileAnswers.push_back(path);
    dlg.click(IDC_TT_LOAD);
    EXPECT_EQ(editor(), "A");
    // A file cut short in its last unit keeps that byte.
    std::ofstream(path, std::ios::binary) << std::string("\xFF\xFE" "P\0" "1", 5);
    host.fileAnswers.push_back(path);
    dlg.click(IDC_TT_LOAD);
    EXPECT_EQ(editor(), "P1");
}

TEST_F(Tester, CancelsAndUnreadableFilesAreReported) {
    dlg.typeText(IDC_TT_EDITOR, "kept?");
    dlg.click(IDC_TT_LOAD);  // the user cancels
    EXPECT_EQ(editor(), "");
    dlg.click(IDC_TT_SAVE);
    host.fileAnswers.push_back("/nonexistent/dir/x.txt");
    dlg.click(IDC_TT_LOAD);
    EXPECT_EQ(host.messageTexts(), (std::vector<std::string>{"Don't select load file", "Don't select save file",
                                                             "Cannot read the file /nonexistent/dir/x.txt."}));
}

TEST_F(Tester, InsertLoopAppendsToTheLastLineAndReopensUntilClosed) {
    dlg.typeText(IDC_TT_EDITOR, "AB");
    // Insert three times (the builder reopens with its values), then close it.
    host.modalScripts.push_back([](ui::Dialog& b) {
        b.typeText(IDC_B1_NARROW, "3");
        b.click(IDC_B_INSERT);
        return ui::IDCANCEL;
    });
    for (int i = 0; i < 2; ++i)
        host.modalScripts.push_back([](ui::Dialog& b) {
            EXPECT_EQ(b.control(IDC_B1_NARROW).text(), "3");  // the value typed before the insert
            b.click(IDC_B_INSERT);
            return ui::IDCANCEL;
        });
    host.modalScripts.push_back([](ui::Dialog& b) {
        b.click(ui::IDOK);
        return ui::IDOK;
    });
    dlg.click(IDC_TT_BARCODE_1D);
    const std::string line = "B1100,100,0,3,7,100,0,1,'123456789'\r\n";
    EXPECT_EQ(editor(), "AB" + line + line + line);
    EXPECT_EQ(host.modalTemplates, (std::vector<int>{145, 145, 145, 145}));
}

TEST_F(Tester, LaunchersOpenTheirTools) {
    struct Case {
        int button, templateId;
    };
    const Case cases[] = {{IDC_TT_PRINTING_SETTING, 139}, {IDC_TT_LABEL_SETTING, 140}, {IDC_TT_COPIES, 177},
                          {IDC_TT_BITMAP_TEXT, 141},      {IDC_TT_VECTOR_TEXT, 197},   {IDC_TT_LINE_BOX, 143},
                          {IDC_TT_BARCODE_2D, 147},       {IDC_TT_CHARSET, 148},       {IDC_TT_CHECK_STATUS, 191},
                          {IDC_TT_CONVERT, 150}};
    for (const auto& c : cases) {
        host.modalTemplates.clear();
        dlg.click(c.button);
        ASSERT_FALSE(host.modalTemplates.empty()) << c.button;
        EXPECT_EQ(host.modalTemplates.front(), c.templateId);
    }
    EXPECT_EQ(editor(), "");  // closing a builder inserts nothing
}

TEST(TesterLaunch, BothMenuViewsOpenTheTester) {
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    shell::CMain_KDRMenuView kdr{ctx};
    shell::CMain_ZIIMenuView zii{ctx};
    for (auto [view, button] : {std::pair<shell::MenuView*, int>{&kdr, IDC_KDR_TAVL_TESTER}, {&zii, IDC_ZII_TAVL_TESTER}}) {
        host.modalTemplates.clear();
        view->Create();
        view->EnableButtons(true);
        view->click(button);
        EXPECT_EQ(host.modalTemplates, std::vector<int>{135});
    }
}

TEST(TesterLink, ClosingOverUsbOrEthernetClosesTheLink) {
    for (auto kind : {link::kSerial, link::kEthernet}) {
        ScriptedLink l;
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        ui::TestHost host;
        app::ToolContext ctx{l.comm, l.clock, host};
        {
            CTAVL_CmdTesterDlg dlg(ctx);
            dlg.Create();
            l.comm.kind = kind;
        }
        EXPECT_EQ(l.comm.handle() == nullptr, kind == link::kEthernet);
    }
}

}  // namespace
}  // namespace velmora::testing
