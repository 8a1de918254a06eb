// The command tester in the window: what the user selects in the editor is what Copy and Cut
// take, and Paste lands at the caret.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTextCursor>

#include "gui/qtrenderer.h"
#include "qtapp.h"
#include "resources/templates_tester.h"
#include "support/simdevice.h"
#include "tester/tavl_cmdtesterdlg.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;

TEST(TesterWindow, EditorSelectionReachesCopyCutAndPaste) {
    qtApp();
    SimLink link;
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    tester::CTAVL_CmdTesterDlg dlg(ctx);
    dlg.Create();
    gui::QtRenderer renderer(dlg);
    auto* editor = dynamic_cast<QPlainTextEdit*>(renderer.widgetFor(IDC_TT_EDITOR));
    ASSERT_NE(editor, nullptr);
    editor->insertPlainText("SW812\nP1\n");
    EXPECT_EQ(dlg.control(IDC_TT_EDITOR).text(), "SW812\r\nP1\r\n");

    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(6);  // "P1" on the second line
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    dlg.click(IDC_TT_CUT);
    EXPECT_EQ(host.clipboard, "P1");
    EXPECT_EQ(editor->toPlainText(), "SW812\n\n");

    cursor.setPosition(0);
    editor->setTextCursor(cursor);
    dlg.click(IDC_TT_PASTE);
    EXPECT_EQ(dlg.control(IDC_TT_EDITOR).text(), "P1SW812\r\n\r\n");
    EXPECT_EQ(editor->toPlainText(), "P1SW812\n\n");
}

}  // namespace
}  // namespace velmora::testing
