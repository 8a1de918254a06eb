// The window host: filter strings as Qt name filters, the default extension of file dialogs,
// message boxes with their icons and answers, the nesting wait cursor, and what the window shows
// during a wait: the busy cursor and a long action's progress.
#include "gui/qthost.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "platform/clock.h"

#include "qtapp.h"
#include "ui/control.h"

namespace velmora::testing {
namespace {

using gui::QtHost;

TEST(QtHostFilters, DialogFiltersBecomeQtNameFilters) {
    const struct {
        std::string filter;
        QStringList expected;
    } cases[] = {
        {"Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", {"Text Files (*.txt)", "All Files (*)"}},
        {"PCX Image|*.pcx;*.PCX||", {"PCX Image (*.pcx *.PCX)"}},
        {"Command Files (*.cmd; *.txt)|*.cmd; *.txt||", {"Command Files (*.cmd *.txt)"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(gui::nameFilters(c.filter), c.expected) << c.filter;
}

TEST(QtHostFilters, DefaultExtensionOnlyWhenTheNameHasNone) {
    EXPECT_EQ(gui::withDefaultExtension("/tmp/label", "txt"), "/tmp/label.txt");
    EXPECT_EQ(gui::withDefaultExtension("/tmp/label.prn", "txt"), "/tmp/label.prn");
    EXPECT_EQ(gui::withDefaultExtension("/tmp/v1.2/label", "txt"), "/tmp/v1.2/label.txt");
    EXPECT_EQ(gui::withDefaultExtension("/tmp/label", ""), "/tmp/label");
    EXPECT_EQ(gui::fileExtension("*.*"), "");  // a pattern asks for no extension
    EXPECT_EQ(gui::fileExtension("ini"), "ini");
}

TEST(QtHostBoxes, IconsAndButtonsMapBothWays) {
    qtApp();
    const struct {
        ui::Icon icon;
        ui::Buttons buttons;
        QMessageBox::StandardButton press;
        QMessageBox::Icon shown;
        int result;
    } cases[] = {
        {ui::Icon::Exclamation, ui::Buttons::Ok, QMessageBox::Ok, QMessageBox::Warning, ui::IDOK},
        {ui::Icon::Information, ui::Buttons::OkCancel, QMessageBox::Cancel, QMessageBox::Information,
         ui::IDCANCEL},
        {ui::Icon::Question, ui::Buttons::YesNo, QMessageBox::Yes, QMessageBox::Question, ui::IDYES},
        {ui::Icon::Error, ui::Buttons::YesNoCancel, QMessageBox::No, QMessageBox::Critical, ui::IDNO},
    };
    QtHost host;
    for (const auto& c : cases) {
        QMessageBox::Icon seen = QMessageBox::NoIcon;
        QString caption;
        whenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) {
                w->close();
                return;
            }
            seen = box->icon();
            caption = box->windowTitle();
            box->button(c.press)->click();
        });
        EXPECT_EQ(host.messageBox("Success open port.", "Velmora", c.icon, c.buttons), c.result);
        EXPECT_EQ(seen, c.shown);
        EXPECT_EQ(caption, "Velmora");
    }
}

TEST(QtHostCursor, WaitCursorNests) {
    qtApp();
    QtHost host;
    host.setWaitCursor(true);
    host.setWaitCursor(true);
    host.setWaitCursor(false);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.setWaitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    host.setWaitCursor(false);  // one too many is harmless
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The real clock's waits: the one place where a test has to wait for real (briefly).
TEST(QtHostWaits, AWaitShowsTheBusyCursorAndALongActionItsProgress) {
    qtApp();
    QWidget window;
    window.resize(400, 300);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    gui::installPaintingWaitHook();
    QtHost host;
    const auto waitUntilIdle = [] {
        QElapsedTimer idle;
        idle.start();
        while (QApplication::overrideCursor() && idle.elapsed() < 1000) QTest::qWait(20);
    };

    // Any wait, with no action declared: busy while it lasts, the user's cursor after.
    platform::realClock().sleepMs(30);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    waitUntilIdle();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    host.beginAction(200);
    auto* bar = window.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 200);
    Qt::CursorShape during = Qt::ArrowCursor;
    platform::realClock().sleepMs(120);
    if (QApplication::overrideCursor()) during = QApplication::overrideCursor()->shape();
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_GE(bar->value(), 60);
    host.endAction();
    EXPECT_EQ(window.findChild<QProgressBar*>(), nullptr);

    waitUntilIdle();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    platform::setWaitHook(nullptr);
}

}  // namespace
}  // namespace velmora::testing
