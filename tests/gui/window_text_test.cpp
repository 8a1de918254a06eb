// The communication window and the command tester in velmora's real window, opened from the menu
// on a simulated printer: what a file held goes out as it was unless the user changed it, the
// find dialog's match takes the focus, and the tester's send count is the one the user typed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "resources/templates_main.h"
#include "resources/templates_shell.h"
#include "resources/templates_terminal.h"
#include "resources/templates_tester.h"
#include "windowdriver.h"

namespace velmora::testing {
namespace {

using namespace resources;

// A character typed at the end of the editor and deleted again: the text is as it was.
void typeAndDelete(QWidget* tool, int editorId) {
    auto* editor = controlAs<QPlainTextEdit>(tool, editorId);
    ASSERT_NE(editor, nullptr);
    editor->setFocus(Qt::MouseFocusReason);
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, "X");
    QTest::keyClick(editor, Qt::Key_Backspace);
}

// The host's find/replace window, open beside the tool.
QDialog* findWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && d->windowTitle() == "Replace")
            return d;
    return nullptr;
}

QPushButton* buttonCalled(QWidget* window, const QString& text) {
    for (auto* b : window->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

TEST(WindowCommunication, LoadedLineEndsGoOutAsLoadedAndFindNextTakesTheFocus) {
    MainWindowOnSim w(IDC_MAIN_ETHERNET);
    const std::string file = tempFile("lone-cr.txt", "SW780\rP1\r");
    w.openTool(IDC_ZII_COMMUNICATION, [&](QWidget* tool) {
        answerFile(file);
        press(tool, IDC_CW_FILE_OPEN);
        EXPECT_EQ(shownText(tool, IDC_CW_EDITOR), "SW780\nP1\n");
        typeAndDelete(tool, IDC_CW_EDITOR);
        press(tool, IDC_CW_SEND);
        EXPECT_EQ(w.received(), "SW780\rP1\r");

        // A status query typed, sent, and its reply read into the view.
        typeInto(tool, IDC_CW_EDITOR, "^cp");
        QTest::keyClick(controlWidget(tool, IDC_CW_EDITOR), Qt::Key_Return);
        press(tool, IDC_CW_SEND);
        EXPECT_EQ(w.received(), "^cp\r\n");
        press(tool, IDC_CW_READ);
        press(tool, IDC_CW_HEX);
        EXPECT_FALSE(shownText(tool, IDC_CW_RECEIVE_VIEW).empty());

        press(tool, IDC_CW_REPLACE);
        QDialog* find = findWindow();
        ASSERT_NE(find, nullptr);
        auto* what = find->findChildren<QLineEdit*>().value(0);
        ASSERT_NE(what, nullptr);
        QTest::keyClicks(what, "cp");
        auto* editor = controlAs<QPlainTextEdit>(tool, IDC_CW_EDITOR);
        editor->moveCursor(QTextCursor::Start);  // the search goes on from the caret
        QTest::mouseClick(buttonCalled(find, "Find Next"), Qt::LeftButton);
        EXPECT_EQ(editor->textCursor().selectedText(), "cp");
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == editor; }, 2000));
        find->reject();
    });
}

TEST(WindowTester, LoadedLineEndsAndTheTypedSendCount) {
    MainWindowOnSim w(IDC_MAIN_ETHERNET);
    const std::string text = "SW780\rP1\r";
    const std::string file = tempFile("tester-lone-cr.txt", text);
    w.openTool(IDC_ZII_TAVL_TESTER, [&](QWidget* tool) {
        answerFile(file);
        press(tool, IDC_TT_LOAD);
        typeAndDelete(tool, IDC_TT_EDITOR);
        press(tool, IDC_TT_MULTI_SEND);
        EXPECT_EQ(w.received(), text);
        EXPECT_EQ(shownText(tool, IDC_TT_SENT_COUNTER), "1");

        // A count typed, then a builder's line inserted: the count is still the one typed.
        typeInto(tool, IDC_TT_SEND_COUNT, "2");
        whenToolOpens([](QWidget* builder) { press(builder, IDC_B_INSERT); });
        whenToolOpens([](QWidget*) {});  // it opens again for the next line: closed
        press(tool, IDC_TT_COPIES);
        EXPECT_EQ(shownText(tool, IDC_TT_SEND_COUNT), "2");
        const QString withCopies = QString::fromStdString(shownText(tool, IDC_TT_EDITOR));
        ASSERT_TRUE(withCopies.startsWith("SW780\nP1\nP")) << withCopies.toStdString();
        const std::string sent = text + withCopies.mid(9).replace("\n", "\r\n").toStdString();
        press(tool, IDC_TT_MULTI_SEND);
        EXPECT_TRUE(sameBytes(w.received(), sent + sent));
        EXPECT_EQ(shownText(tool, IDC_TT_SENT_COUNTER), "2");

        // A count that is refused says why, and the count of the last send is used.
        for (const auto& [typed, why] : {std::pair<QString, std::string>{"", "Enter an integer."},
                                         {"20000", "Enter an integer between 0 and 10000."}}) {
            SCOPED_TRACE(typed.toStdString());
            typeInto(tool, IDC_TT_SEND_COUNT, typed);
            std::string said;
            answerMessage(&said);
            press(tool, IDC_TT_MULTI_SEND);
            EXPECT_EQ(said, why);
            EXPECT_TRUE(sameBytes(w.received(), sent + sent));
        }
    });
}

}  // namespace
}  // namespace velmora::testing
