// The keyboard in a rendered dialog: Tab in reading order (reaching a radio group at its chosen
// button and a tab's page where the tab stands), Return pressing the default button, Ctrl+Tab and
// Ctrl+PgDn switching pages, and indicator boxes that neither mouse nor keyboard can tick.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QTest>

#include "app/menumode.h"
#include "gui/qtrenderer.h"
#include "platform/spooler.h"
#include "qtapp.h"
#include "resources/templates_main.h"
#include "shell/velmoradlg.h"
#include "support/simdevice.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace ui::layout;

enum Id { kA = 100, kB, kC, kName, kLamp, kTab, kApply, kPageEdit = 500 };

const ui::DialogTemplate& keyTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 910;
        d.caption = "Keys";
        d.root = column({
            row({radio(kA, "A", true), radio(kB, "B"), radio(kC, "C")}),
            grid(2, {label("Name:"), edit(kName, 10)}),
            checkBox(kLamp, "Lamp", {.readOnly = true}),
            tab(kTab),
            row({stretch(), button(kApply, "Apply"), button(ui::IDOK, "OK", {.defaultButton = true})}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& keyPage() {
    static const ui::DialogTemplate t = childPage(911, column({edit(kPageEdit, 8), stretch()}));
    return t;
}

class KeyDialog : public ui::Dialog {
  public:
    explicit KeyDialog(ui::Host& host) : ui::Dialog(host, keyTemplate()), first(host, keyPage()), second(host, keyPage()) {}
    ui::Dialog first;
    ui::Dialog second;

  protected:
    bool OnInitDialog() override {
        ui::Dialog::OnInitDialog();
        first.CreateAsChild(*this);
        second.CreateAsChild(*this);
        control(kTab).addItem("First");
        control(kTab).addItem("Second");
        control(kTab).setCurSel(0);
        setTabPages(kTab, {&first, &second});
        first.ShowWindow(true);
        on(ui::Event::TabChange, kTab, [this] {
            first.ShowWindow(control(kTab).curSel() == 0);
            second.ShowWindow(control(kTab).curSel() == 1);
        });
        control(kB).setCheck(1);
        return true;
    }
};

class Keyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        qtApp();
        window = std::make_unique<QDialog>();
        renderer = std::make_unique<gui::QtRenderer>(dlg, window.get());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* w(int id) { return renderer->widgetFor(id); }

    ui::TestHost host;
    KeyDialog dlg{host};
    std::unique_ptr<QDialog> window;
    std::unique_ptr<gui::QtRenderer> renderer;
};

TEST_F(Keyboard, TabFollowsTheReadingOrderFromTheChosenRadio) {
    QWidget* pageEdit = renderer->pageRenderer(dlg.first)->widgetFor(kPageEdit);
    const std::vector<QWidget*> want = {w(kB), w(kName), w(kTab), pageEdit, w(kApply), w(ui::IDOK)};
    // The window gives the focus to the first stop in its order as it opens; Tab moves on.
    std::vector<QWidget*> got = {QApplication::focusWidget()};
    while (got.size() < want.size()) {
        QTest::keyClick(got.back() ? got.back() : window.get(), Qt::Key_Tab);
        got.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(got, want);
}

TEST_F(Keyboard, ReturnPressesTheDefaultButton) {
    w(kName)->setFocus();
    QTest::keyClicks(w(kName), "abc");
    QTest::keyClick(w(kName), Qt::Key_Return);
    EXPECT_TRUE(dlg.ended());
    EXPECT_EQ(dlg.result(), ui::IDOK);
}

TEST_F(Keyboard, CtrlTabAndCtrlPageKeysSwitchPages) {
    w(kName)->setFocus();
    const std::pair<QKeyCombination, int> steps[] = {
        {Qt::ControlModifier | Qt::Key_Tab, 1},
        {Qt::ControlModifier | Qt::Key_PageDown, 0},  // round to the first again
        {Qt::ControlModifier | Qt::Key_PageUp, 1},
        {Qt::ControlModifier | Qt::Key_PageUp, 0},
    };
    for (const auto& [keys, page] : steps) {
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
        EXPECT_EQ(dlg.control(kTab).curSel(), page);
    }
    EXPECT_TRUE(renderer->pageRenderer(dlg.first)->widget()->isVisible());
}

TEST_F(Keyboard, IndicatorsCannotBeTickedWithMouseOrKeyboard) {
    auto* lamp = static_cast<QCheckBox*>(w(kLamp));
    QTest::mouseClick(lamp, Qt::LeftButton);
    lamp->setFocus();
    QTest::keyClick(lamp, Qt::Key_Space);
    EXPECT_EQ(dlg.control(kLamp).check(), 0);
    EXPECT_FALSE(lamp->isChecked());
    EXPECT_EQ(lamp->focusPolicy(), Qt::NoFocus);
    dlg.control(kLamp).setCheck(1);  // what the program says shows
    EXPECT_TRUE(lamp->isChecked());
}

// The main window opens with the keyboard on the chosen interface, not on the first radio.
TEST(MainWindowKeyboard, TheFirstStopIsTheChosenInterface) {
    qtApp();
    app::MenuMode = 1;
    SimLink link;
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    shell::CVelmoraDlg dlg(ctx, platform::spoolerWithoutQueues());
    dlg.interfaceIndex = 3;  // Ethernet
    auto window = std::make_unique<QDialog>();
    gui::QtRenderer renderer(dlg, window.get());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), renderer.widgetFor(resources::IDC_MAIN_ETHERNET));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), renderer.widgetFor(resources::IDC_MAIN_IP));
}

}  // namespace
}  // namespace velmora::testing
