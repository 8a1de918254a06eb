// The communication window on screen: Ctrl+H and Ctrl+F in the send editor open the one
// find/replace dialog, Ctrl+A selects all of either editor, and the receive view keeps its rows
// of 20 bytes in columns (a fixed-width font, tabs every eight characters, no wrapping).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTest>

#include "gui/qtrenderer.h"
#include "qtapp.h"
#include "resources/templates_terminal.h"
#include "support/simdevice.h"
#include "terminal/communicationdlg.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;

TEST(CommunicationWindow, KeysAndTheReceiveView) {
    qtApp();
    SimLink link;
    ASSERT_EQ(link.comm.Open(), 1);
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    terminal::CCommunicationDlg dlg(ctx);
    auto window = std::make_unique<QDialog>();
    gui::QtRenderer renderer(dlg, window.get());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    auto* editor = qobject_cast<QPlainTextEdit*>(renderer.widgetFor(IDC_CW_EDITOR));
    auto* view = qobject_cast<QPlainTextEdit*>(renderer.widgetFor(IDC_CW_RECEIVE_VIEW));
    ASSERT_TRUE(editor && view);
    editor->setFocus();
    QTest::keyClicks(editor, "^cp");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(dlg.control(IDC_CW_EDITOR).text(), "^cp\r\n");
    for (const Qt::Key key : {Qt::Key_H, Qt::Key_F}) QTest::keyClick(editor, key, Qt::ControlModifier);
    EXPECT_EQ(host.findReplaceOpened, 1);
    EXPECT_EQ(dlg.control(IDC_CW_EDITOR).text(), "^cp\r\n");  // the keys typed nothing

    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(dlg.control(IDC_CW_EDITOR).selStart(), 0);
    EXPECT_EQ(dlg.control(IDC_CW_EDITOR).selEnd(), 5);

    dlg.click(IDC_CW_SEND);
    dlg.click(IDC_CW_READ);
    dlg.click(IDC_CW_HEX);
    EXPECT_FALSE(view->toPlainText().isEmpty());
    view->setFocus();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view->textCursor().selectedText(), view->toPlainText());

    EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_NEAR(view->tabStopDistance(), 8 * QFontMetricsF(view->font()).horizontalAdvance(u' '), 0.5);
    // A full hexadecimal row (four groups to the next tab stop, 16 characters each, and one of
    // 11) fits the view as it opens.
    EXPECT_LE(QFontMetricsF(view->font()).horizontalAdvance(QString(75, u'0')), view->viewport()->width());
}

}  // namespace
}  // namespace velmora::testing
