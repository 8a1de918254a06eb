// The renderer on a dialog with every kind of control: a widget of the right kind for each,
// model changes that reach the widgets without firing handlers, user actions that reach the
// model and its handlers exactly once, tab pages, and modal runs that end as the dialog says.
#include "gui/qtrenderer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <map>

#include "gui/qthost.h"
#include "qtapp.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using gui::QtRenderer;
using ui::Event;
using namespace ui::layout;

enum Id {
    kTitle = 100,
    kFrame,
    kName,
    kNumber,
    kTick,
    kRadioA,
    kRadioB,
    kRadioC,
    kRadioD,
    kDrop,
    kCombo,
    kSpin,
    kList,
    kMemo,
    kProgress,
    kSlider,
    kDate,
    kTime,
    kIp,
    kBox,
    kTab,
    kBanner,
    kPageTick = 500,
};

const ui::DialogTemplate& everyControlTemplate() {
    static const ui::DialogTemplate t = [] {
        const ui::ControlStyle digits{.numberOnly = true};
        const ui::ControlStyle memo{.multiline = true, .widthChars = 24, .heightLines = 4};
        const ui::ControlStyle byDefault{.defaultButton = true};
        const ui::ControlStyle banner{.widthChars = 30, .heightLines = 2};
        ui::DialogTemplate d;
        d.resourceId = 900;
        d.caption = "Every Control";
        d.root = column({
            group("Frame",
                  {
                      grid(3, {label("&Name:", kTitle), edit(kName, 12), edit(kNumber, 5, digits),
                               checkBox(kTick, "Tick"), radio(kRadioA, "A", true), radio(kRadioB, "B")}),
                      row({radio(kRadioC, "C", true), radio(kRadioD, "D"), stretch()}),
                  },
                  kFrame),
            row({dropList(kDrop, 10, {"one", "two", "three"}), comboBox(kCombo, 10, {"red", "green"}),
                 control(kSpin, ui::ControlKind::Spin), stretch()}),
            row({listBox(kList, 12, 4), control(kMemo, ui::ControlKind::Edit, "", memo)}),
            grid(2, {progress(kProgress), control(kSlider, ui::ControlKind::Slider),
                     control(kDate, ui::ControlKind::DateTime), control(kTime, ui::ControlKind::DateTime),
                     control(kIp, ui::ControlKind::IpAddress),
                     control(kBox, ui::ControlKind::GroupBox, "Leaf")}),
            tab(kTab),
            control(kBanner, ui::ControlKind::Custom, "Banner", banner),
            spacing(6),
            row({stretch(), button(ui::IDOK, "OK", byDefault), button(ui::IDCANCEL, "Cancel")}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& pageTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 901;
        d.child = true;
        d.root = column({checkBox(kPageTick, "On the page"), stretch()});
        return d;
    }();
    return t;
}

// Counts every handler call; a few handlers change controls the way tool dialogs do.
class EveryControl : public ui::Dialog {
  public:
    explicit EveryControl(ui::Host& host)
        : ui::Dialog(host, everyControlTemplate()),
          first(host, pageTemplate()),
          second(host, pageTemplate()) {}

    int fired(Event e, int id) const {
        auto it = calls.find({e, id});
        return it == calls.end() ? 0 : it->second;
    }

    std::map<std::pair<Event, int>, int> calls;
    int cancels = 0;
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
        for (const char* item : {"a", "b", "c"}) control(kList).addItem(item);
        control(kDate).setText("2024-03-05");
        control(kTime).setText("14:07:09");
        const Event events[] = {Event::Clicked,   Event::SelChange, Event::EditChange,
                                Event::TabChange, Event::Scroll,    Event::KillFocus};
        for (Event e : events)
            for (int id = kTitle; id <= kBanner; ++id) on(e, id, [this, e, id] { react(e, id); });
        return true;
    }
    void OnCancel() override {
        ++cancels;
        ui::Dialog::OnCancel();
    }

  private:
    void react(Event e, int id) {
        ++calls[{e, id}];
        // Handlers that write back into the control that fired them must not fire again.
        if (e == Event::EditChange && id == kName) {
            std::string upper = control(kName).text();
            for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            control(kName).setText(upper);
        }
        if (e == Event::Clicked && id == kTick) control(kName).enable(!control(kTick).checked());
        if (e == Event::TabChange && id == kTab) {
            first.ShowWindow(control(kTab).curSel() == 0);
            second.ShowWindow(control(kTab).curSel() == 1);
        }
    }
};

class Renderer : public ::testing::Test {
  protected:
    void SetUp() override {
        qtApp();
        dlg.Create();
        renderer = std::make_unique<QtRenderer>(dlg);
    }
    // Whether the widget shows once the dialog's window opens.
    bool shown(const QWidget* w) const { return w->isVisibleTo(renderer->widget()); }
    template <class W>
    W* widget(int id) {
        auto* w = dynamic_cast<W*>(renderer->widgetFor(id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }

    ui::TestHost host;
    EveryControl dlg{host};
    std::unique_ptr<QtRenderer> renderer;
};

TEST_F(Renderer, EveryControlGetsAWidgetOfItsKind) {
    const std::pair<int, const char*> kinds[] = {
        {kTitle, "QLabel"},        {kFrame, "QGroupBox"},     {kName, "QLineEdit"},
        {kNumber, "QLineEdit"},    {kTick, "QCheckBox"},      {kRadioA, "QRadioButton"},
        {kDrop, "QComboBox"},      {kCombo, "QComboBox"},     {kSpin, "QSpinBox"},
        {kList, "QListWidget"},    {kMemo, "QPlainTextEdit"}, {kProgress, "QProgressBar"},
        {kSlider, "QSlider"},      {kDate, "QDateTimeEdit"},  {kIp, "QLineEdit"},
        {kBox, "QGroupBox"},       {kTab, "QTabBar"},         {kBanner, "QWidget"},
        {ui::IDOK, "QPushButton"},
    };
    for (const auto& [id, kind] : kinds) {
        ASSERT_NE(renderer->widgetFor(id), nullptr) << id;
        EXPECT_TRUE(renderer->widgetFor(id)->inherits(kind)) << id << " is not a " << kind;
    }
    EXPECT_EQ(widget<QLabel>(kTitle)->text(), "Name:");
    EXPECT_FALSE(widget<QComboBox>(kDrop)->isEditable());
    EXPECT_TRUE(widget<QComboBox>(kCombo)->isEditable());
    EXPECT_TRUE(widget<QPushButton>(ui::IDOK)->isDefault());
    EXPECT_EQ(widget<QRadioButton>(kRadioA)->group(), widget<QRadioButton>(kRadioB)->group());
    EXPECT_EQ(widget<QRadioButton>(kRadioC)->group(), widget<QRadioButton>(kRadioD)->group());
    EXPECT_NE(widget<QRadioButton>(kRadioA)->group(), widget<QRadioButton>(kRadioC)->group());
    EXPECT_EQ(renderer->widget()->windowTitle(), "Every Control");
    EXPECT_TRUE(dlg.calls.empty());
}

TEST_F(Renderer, ModelChangesReachWidgetsWithoutFiringHandlers) {
    dlg.control(kName).setText("abc");
    EXPECT_EQ(widget<QLineEdit>(kName)->text(), "abc");
    dlg.control(kName).setLimitText(4);
    dlg.control(kName).setText("longer text");  // a program-set text is kept whole
    EXPECT_EQ(widget<QLineEdit>(kName)->text(), "longer text");
    dlg.control(kName).setColors(0xFF0000, std::nullopt);
    EXPECT_EQ(widget<QLineEdit>(kName)->palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
    dlg.control(kName).enable(false);
    EXPECT_FALSE(widget<QLineEdit>(kName)->isEnabled());
    dlg.control(kName).show(false);
    EXPECT_FALSE(shown(widget<QLineEdit>(kName)));

    dlg.control(kTick).setCheck(1);
    EXPECT_TRUE(widget<QCheckBox>(kTick)->isChecked());
    dlg.control(kTick).setCheck(2);
    EXPECT_EQ(widget<QCheckBox>(kTick)->checkState(), Qt::PartiallyChecked);

    dlg.control(kRadioB).setCheck(1);
    EXPECT_TRUE(widget<QRadioButton>(kRadioB)->isChecked());
    dlg.control(kRadioB).setCheck(0);  // a group with no choice at all
    EXPECT_FALSE(widget<QRadioButton>(kRadioA)->isChecked());
    EXPECT_FALSE(widget<QRadioButton>(kRadioB)->isChecked());

    dlg.control(kDrop).setCurSel(2);
    EXPECT_EQ(widget<QComboBox>(kDrop)->currentText(), "three");
    dlg.control(kDrop).resetContent();
    EXPECT_EQ(widget<QComboBox>(kDrop)->count(), 0);
    dlg.control(kCombo).setText("blue");
    EXPECT_EQ(widget<QComboBox>(kCombo)->currentText(), "blue");
    dlg.control(kList).setCurSel(1);
    EXPECT_EQ(widget<QListWidget>(kList)->currentRow(), 1);

    dlg.control(kMemo).setText("^XA\r\n^XZ\r\n");
    EXPECT_EQ(widget<QPlainTextEdit>(kMemo)->toPlainText(), "^XA\n^XZ\n");

    dlg.control(kProgress).setRange(0, 50);
    dlg.control(kProgress).setPos(20);
    EXPECT_EQ(widget<QProgressBar>(kProgress)->value(), 20);
    dlg.control(kSpin).setRange(1, 4);
    dlg.control(kSpin).setPos(3);
    EXPECT_EQ(widget<QSpinBox>(kSpin)->value(), 3);

    EXPECT_EQ(widget<QDateTimeEdit>(kDate)->date(), QDate(2024, 3, 5));
    EXPECT_FALSE(widget<QDateTimeEdit>(kDate)->displayFormat().contains("HH"));
    EXPECT_EQ(widget<QDateTimeEdit>(kTime)->time(), QTime(14, 7, 9));
    dlg.control(kIp).setText("192.168.1.5");
    EXPECT_EQ(widget<QLineEdit>(kIp)->text(), "192.168.1.5");

    dlg.SetWindowText("Renamed");
    EXPECT_EQ(renderer->widget()->windowTitle(), "Renamed");
    EXPECT_TRUE(dlg.calls.empty());
}

TEST_F(Renderer, AHiddenOrDisabledFrameLeavesTheControlsInsideAlone) {
    dlg.control(kFrame).show(false);
    dlg.control(kFrame).enable(false);
    EXPECT_TRUE(shown(widget<QGroupBox>(kFrame)));
    EXPECT_TRUE(widget<QGroupBox>(kFrame)->title().isEmpty());
    EXPECT_TRUE(widget<QLineEdit>(kName)->isEnabled());
    for (int id = kTitle + 1; id <= kRadioD; ++id) dlg.control(id).show(false);
    dlg.control(kTitle).show(false);
    EXPECT_FALSE(shown(widget<QGroupBox>(kFrame)));
}

TEST_F(Renderer, UserActionsReachTheModelAndItsHandlersOnce) {
    typeKeys(widget<QLineEdit>(kName), "ab");
    EXPECT_EQ(dlg.control(kName).text(), "AB");  // the handler's upper case wins
    EXPECT_EQ(widget<QLineEdit>(kName)->text(), "AB");
    EXPECT_EQ(dlg.fired(Event::EditChange, kName), 2);

    typeKeys(widget<QLineEdit>(kNumber), "1a2");
    EXPECT_EQ(dlg.control(kNumber).text(), "12");

    widget<QCheckBox>(kTick)->click();
    EXPECT_TRUE(dlg.control(kTick).checked());
    EXPECT_EQ(dlg.fired(Event::Clicked, kTick), 1);
    EXPECT_FALSE(widget<QLineEdit>(kName)->isEnabled());  // the handler's change shows at once

    widget<QRadioButton>(kRadioB)->click();
    widget<QRadioButton>(kRadioA)->click();
    EXPECT_TRUE(dlg.control(kRadioA).checked());
    EXPECT_FALSE(dlg.control(kRadioB).checked());
    EXPECT_FALSE(dlg.control(kRadioC).checked());  // another group

    pressKey(widget<QComboBox>(kDrop), Qt::Key_Down);
    EXPECT_EQ(dlg.control(kDrop).text(), "one");
    EXPECT_EQ(dlg.fired(Event::SelChange, kDrop), 1);
    widget<QListWidget>(kList)->setCurrentRow(2);
    EXPECT_EQ(dlg.control(kList).curSel(), 2);

    widget<QSpinBox>(kSpin)->stepUp();
    EXPECT_EQ(dlg.control(kSpin).pos(), 1);
    EXPECT_EQ(dlg.fired(Event::Scroll, kSpin), 1);
    // A spin that wraps goes on at the other end, in the widget as in the control.
    dlg.control(kSpin).setRange(0, 100);
    dlg.control(kSpin).setPos(100);
    dlg.control(kSpin).setWrap(true);
    EXPECT_TRUE(widget<QSpinBox>(kSpin)->wrapping());
    widget<QSpinBox>(kSpin)->stepUp();
    EXPECT_EQ(dlg.control(kSpin).pos(), 0);
    EXPECT_EQ(widget<QSpinBox>(kSpin)->value(), 0);
    pressKey(widget<QSpinBox>(kSpin), Qt::Key_Down);
    EXPECT_EQ(dlg.control(kSpin).pos(), 100);
    EXPECT_EQ(dlg.fired(Event::Scroll, kSpin), 3);

    widget<QPlainTextEdit>(kMemo)->insertPlainText("^XA\n^XZ");
    EXPECT_EQ(dlg.control(kMemo).text(), "^XA\r\n^XZ");
    widget<QDateTimeEdit>(kDate)->setDate(QDate(2025, 1, 2));
    EXPECT_EQ(dlg.control(kDate).text(), "2025-01-02");
    typeKeys(widget<QLineEdit>(kIp), "10");
    EXPECT_EQ(dlg.control(kIp).text(), "10");
    typeKeys(widget<QLineEdit>(kIp), ".x2");  // letters never reach an address
    EXPECT_EQ(dlg.control(kIp).text(), "10.2");

    QFocusEvent byUser(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget<QLineEdit>(kNumber), &byUser);
    QFocusEvent toAMessageBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(widget<QLineEdit>(kNumber), &toAMessageBox);
    EXPECT_EQ(dlg.fired(Event::KillFocus, kNumber), 1);
}

TEST_F(Renderer, TabPagesShowExactlyWhenTheDialogShowsThem) {
    QWidget* first = renderer->pageRenderer(dlg.first)->widget();
    QWidget* second = renderer->pageRenderer(dlg.second)->widget();
    EXPECT_TRUE(shown(first));
    EXPECT_FALSE(shown(second));
    EXPECT_TRUE(first->isAncestorOf(renderer->pageRenderer(dlg.first)->widgetFor(kPageTick)));

    widget<QTabBar>(kTab)->setCurrentIndex(1);
    EXPECT_EQ(dlg.control(kTab).curSel(), 1);
    EXPECT_EQ(dlg.fired(Event::TabChange, kTab), 1);
    EXPECT_FALSE(shown(first));
    EXPECT_TRUE(shown(second));

    dlg.setTabPages(kTab, {&dlg.first});  // a page taken away loses its widgets
    EXPECT_EQ(renderer->pageRenderer(dlg.second), nullptr);
}

TEST_F(Renderer, RendersToAPicture) {
    QDir().mkpath(VELMORA_RENDER_DIR);
    const std::string path = VELMORA_RENDER_DIR "/test-every-control.png";
    ASSERT_TRUE(gui::renderToImage(dlg, path));
    EXPECT_GT(QImage(QString::fromStdString(path)).height(), 200);
}

// A modal run through the window host ends with what the dialog's own handling decides.
class ModalRun : public ::testing::Test {
  protected:
    void SetUp() override { qtApp(); }
    gui::QtHost host;
    EveryControl dlg{host};
};

TEST_F(ModalRun, OkButtonEndsWithOk) {
    whenModal([](QWidget* window) {
        for (auto* b : window->findChildren<QPushButton*>())
            if (b->text() == "OK") b->click();
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
}

TEST_F(ModalRun, ClosingTheWindowRunsTheDialogsCancel) {
    whenModal([](QWidget* window) { window->close(); });
    EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dlg.cancels, 1);
}

}  // namespace
}  // namespace velmora::testing
