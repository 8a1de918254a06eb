// Widget mapping: the Qt widget of each kind of control, sized from the template's style, and the
// user's actions on it handed back to the dialog; the text conversions between the two.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QValidator>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <map>
#include <optional>

#include "gui/rendererparts.h"

namespace velmora::gui {

using ui::ControlKind;

namespace detail {

QStringList qsList(const std::vector<std::string>& items) {
    QStringList out;
    for (const auto& i : items) out << qs(i);
    return out;
}

QString labelText(const std::string& text) {
    const QString in = qs(text);
    QString out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == u'&' && ++i == in.size()) break;
        out += in[i];
    }
    return out;
}

QString oneLine(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == u'\r' || text[end - 1] == u'\n')) --end;
    QString out = text.left(end);
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out;
}

// Addresses are "a.b.c.d" in the control; the masked editor keeps three places per field.
// Up to four dotted fields of up to three digits: what an address control lets the user type.
QString ipToEditor(const std::string& text) { return qs(text); }
std::string ipFromEditor(const QString& text) {
    QStringList parts = text.split(u'.');
    bool any = false;
    for (QString& p : parts) {
        p = p.trimmed();
        any = any || !p.isEmpty();
    }
    return any ? us(parts.join(u'.')) : std::string();
}

namespace {
QString shortDateFormat() {
    // Two-digit years would make the editor guess the century.
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QStringLiteral("yyyy"))) f.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return f;
}
}  // namespace

QString shapeFormat(int shape) {
    switch (shape) {
        case kDateOnly:
            return QString::fromLatin1(kDateFormat);
        case kTimeOnly:
            return QString::fromLatin1(kTimeFormat);
        default:
            return QString::fromLatin1(kDateTimeFormat);
    }
}

QString shapeDisplay(int shape) {
    switch (shape) {
        case kDateOnly:
            return shortDateFormat();
        case kTimeOnly:
            return QStringLiteral("HH:mm:ss");
        default:
            return shortDateFormat() + QStringLiteral(" HH:mm:ss");
    }
}

}  // namespace detail

using namespace detail;

namespace {

// Up to four dotted fields of up to three digits: what an address control lets the user type.
constexpr const char* kIpPattern = "^\\d{0,3}(\\.\\d{0,3}){0,3}$";

// Digits-only and upper-case edits filter keystrokes the way the dialog's edits do.
class EditValidator final : public QValidator {
  public:
    EditValidator(bool digits, bool upper, QObject* parent)
        : QValidator(parent), digits_(digits), upper_(upper) {}
    State validate(QString& input, int&) const override {
        if (upper_) input = input.toUpper();
        if (digits_)
            for (QChar ch : input)
                if (ch < u'0' || ch > u'9') return Invalid;
        return Acceptable;
    }

  private:
    bool digits_;
    bool upper_;
};

// bar. The window system moves the window where it can; elsewhere the window follows the mouse.
class WindowMover final : public QObject {
  public:
    explicit WindowMover(QWidget* handle) : QObject(handle), handle_(handle) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                auto* e = static_cast<QMouseEvent*>(event);
                if (e->button() != Qt::LeftButton) return false;
                QWidget* window = handle_->window();
                QWindow* handle = window->windowHandle();
                if (handle && handle->startSystemMove()) return true;
                grab_ = e->globalPosition().toPoint() - window->pos();
                return true;
            }
            case QEvent::MouseMove: {
                auto* e = static_cast<QMouseEvent*>(event);
                if (!grab_ || !(e->buttons() & Qt::LeftButton)) return false;
                handle_->window()->move(e->globalPosition().toPoint() - *grab_);
                return true;
            }
            case QEvent::MouseButtonRelease:
                if (!grab_) return false;
                grab_.reset();
                return true;
            default:
                return false;
        }
    }

  private:
    QWidget* handle_;
    std::optional<QPoint> grab_;  // the press point relative to the window, while dragging
};

// A spin's arrows. A step (arrow, key or wheel) goes to the dialog, which counts from the buddy's
// number and stops or wraps at the ends as the control says; the widget shows the position the
// control then holds, so the two never count apart.
class SpinArrows final : public QSpinBox {
  public:
    using QSpinBox::QSpinBox;
    std::function<void(int)> onStep;
    void stepBy(int steps) override {
        if (onStep) onStep(steps);
    }

  protected:
    // The buddy may hold any number, so neither arrow is greyed out by the position shown.
    StepEnabled stepEnabled() const override { return isEnabled() ? StepUpEnabled | StepDownEnabled : StepNone; }
};

// Sets a widget's size policy, keeping whether it holds its place while hidden.
void setPolicy(QWidget* w, QSizePolicy::Policy horizontal, QSizePolicy::Policy vertical) {
    QSizePolicy policy = w->sizePolicy();
    policy.setHorizontalPolicy(horizontal);
    policy.setVerticalPolicy(vertical);
    w->setSizePolicy(policy);
}

// A push button whose caption keeps a margin of its own size to the edges at any font size.
class CaptionButton final : public QPushButton {
  public:
    using QPushButton::QPushButton;
    QSize sizeHint() const override {
        const QFontMetrics fm(font());
        const int width = fm.horizontalAdvance(text()) + 4 * fm.averageCharWidth();
        return QPushButton::sizeHint().expandedTo(QSize(std::max(width, 10 * fm.averageCharWidth()), 0));
    }
};

// The height of every one-line control for a font: the tallest that edits, lists, pickers and
// buttons ask for, so a row of a page is as tall whichever of them it holds.
int oneLineHeight(const QFont& font) {
    static std::map<QString, int> heights;
    auto [it, added] = heights.try_emplace(font.key(), 0);
    if (added) {
        QLineEdit edit;
        QComboBox combo;
        QPushButton button(QStringLiteral("X"));
        QDateTimeEdit date;
        for (QWidget* w : std::initializer_list<QWidget*>{&edit, &combo, &button, &date}) {
            w->setFont(font);
            it->second = std::max(it->second, w->sizeHint().height());
        }
    }
    return it->second;
}

}  // namespace

QWidget* QtRenderer::makeWidget(ui::Control& c, QWidget* parent, Binding& b) {
    const ui::ControlStyle& s = c.style();
    QWidget* w = nullptr;
    switch (c.kind()) {
        case ControlKind::Static: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(s.heightLines > 1);
            w = label;
            break;
        }
        case ControlKind::GroupBox:
            w = new Sized<QGroupBox>(parent);
            break;
        case ControlKind::PushButton: {
            auto* button = new CaptionButton(parent);
            // Enter presses the template's default button, never whichever button had the focus.
            button->setAutoDefault(false);
            button->setDefault(s.defaultButton);
            // Its keys press it from anywhere in its window, as its caption promises.
            if (s.shortcuts) {
                for (const QString& keys : QString::fromLatin1(s.shortcuts).split(u';', Qt::SkipEmptyParts)) {
                    auto* shortcut = new QShortcut(QKeySequence(keys), button);
                    shortcut->setContext(Qt::WindowShortcut);
                    QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
                }
            }
            w = button;
            break;
        }
        case ControlKind::CheckBox:
            w = new QCheckBox(parent);
            break;
        case ControlKind::RadioButton: {
            auto* radio = new QRadioButton(parent);
            if (s.groupStart || !currentRadios_) currentRadios_ = new QButtonGroup(root_);
            currentRadios_->addButton(radio);
            b.radios = currentRadios_;
            w = radio;
            break;
        }
        case ControlKind::Edit:
            if (s.multiline) {
                auto* edit = new Sized<QPlainTextEdit>(parent);
                edit->setTabChangesFocus(true);
                w = edit;
            } else {
                auto* edit = new Sized<QLineEdit>(parent);
                if (s.numberOnly || s.uppercase)
                    edit->setValidator(new EditValidator(s.numberOnly, s.uppercase, edit));
                if (s.password) edit->setEchoMode(QLineEdit::Password);
                w = edit;
            }
            break;
        case ControlKind::DropDownList:
            w = new QComboBox(parent);
            break;
        case ControlKind::ComboBox: {
            auto* box = new QComboBox(parent);
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            // Completion would change the text behind the control's back.
            box->setCompleter(nullptr);
            if (s.uppercase) box->lineEdit()->setValidator(new EditValidator(false, true, box));
            w = box;
            break;
        }
        case ControlKind::ListBox:
            w = new Sized<QListWidget>(parent);
            break;
        case ControlKind::Tab: {
            auto* area = new QWidget(parent);
            auto* column = new QVBoxLayout(area);
            column->setContentsMargins(0, 0, 0, 0);
            column->setSpacing(0);
            auto* bar = new QTabBar(area);
            bar->setDrawBase(false);
            bar->setExpanding(false);
            auto* pane = new TabPane(bar, area);
            new QGridLayout(pane);  // the style's margins inside the display area
            area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            column->addWidget(bar);
            column->addWidget(pane, 1);
            b.outer = area;
            b.pane = pane;
            w = bar;
            // Ctrl+Tab and Ctrl+PgDn go to the next page, with Shift or PgUp to the one before.
            const auto step = [bar](int by) {
                if (!bar->isEnabled() || !bar->isVisible() || bar->count() < 2) return;
                bar->setCurrentIndex((bar->currentIndex() + by + bar->count()) % bar->count());
            };
            const std::pair<QKeySequence, int> keys[] = {
                {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
                {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
            };
            for (const auto& [sequence, by] : keys) {
                auto* shortcut = new QShortcut(sequence, area);
                shortcut->setContext(Qt::WindowShortcut);
                QObject::connect(shortcut, &QShortcut::activated, bar, [step, by = by] { step(by); });
            }
            break;
        }
        case ControlKind::Progress: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            w = bar;
            break;
        }
        case ControlKind::Slider: {
            // A slider given a height in lines stands upright; its minimum is at the top, as
            // the dialog's trackbars have it.
            const bool upright = s.heightLines > 0 && s.widthChars == 0;
            auto* slider = new QSlider(upright ? Qt::Vertical : Qt::Horizontal, parent);
            slider->setInvertedAppearance(upright);
            slider->setInvertedControls(upright);
            slider->setTickPosition(upright ? QSlider::TicksRight : QSlider::TicksBelow);
            slider->setTickInterval(1);
            w = slider;
            break;
        }
        case ControlKind::Spin: {
            // Only the arrows: the number shows in the edit before it, the spin's buddy.
            auto* spin = new SpinArrows(parent);
            spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
            spin->setFrame(false);
            spin->setFixedWidth(spin->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, spin) + 2);
            if (auto* text = spin->findChild<QLineEdit*>()) text->setVisible(false);
            spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
            w = spin;
            break;
        }
        case ControlKind::DateTime: {
            auto* edit = new QDateTimeEdit(parent);
            edit->setDateTime(QDateTime::currentDateTime());
            w = edit;
            break;
        }
        case ControlKind::IpAddress: {
            auto* edit = new Sized<QLineEdit>(parent);
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(kIpPattern)), edit));
            w = edit;
            break;
        }
        case ControlKind::Custom:
            w = new CustomWidget(dialog_, c, parent);
            break;
        case ControlKind::Frame: {
            auto* pane = new QWidget(parent);
            auto* pages = new QGridLayout(pane);
            pages->setContentsMargins(0, 0, 0, 0);  // the page's frames line up with the window's
            b.pane = pane;
            w = pane;
            break;
        }
    }
    if (s.monospace) {
        w->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
            // Tabs every eight characters, as on a terminal, so tab-separated columns line up; a
            // read-only view (bytes in rows) scrolls sideways rather than breaking its rows.
            text->setTabStopDistance(8 * QFontMetricsF(text->font()).horizontalAdvance(u' '));
            if (s.readOnly) text->setLineWrapMode(QPlainTextEdit::NoWrap);
        }
    }
    if (s.movesWindow) w->installEventFilter(new WindowMover(w));
    if (!b.outer) b.outer = w;
    b.input = w;
    // Window tests and accessibility tools find a control's widget by the control's id.
    w->setProperty(kControlIdProperty, c.id());
    b.palette = w->palette();
    b.dateShape = kFullDateTime;
    if (c.kind() != ControlKind::Tab && !s.hidden) {
        // Hidden controls keep their place, so showing one never moves the others; a control
        // the template hides from the start takes none.
        QSizePolicy policy = b.outer->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        b.outer->setSizePolicy(policy);
    }
    sizeFromStyle(c, w);
    return w;
}

namespace {
// Editors, lists and pictures ask for the template's size but make do with about half of it, so
// a window gives their room back on a small screen instead of growing past it.
QSize shrunk(QSize preferred, const QFontMetrics& fm) {
    const QSize least(std::max(preferred.width() / 2, 12 * fm.averageCharWidth()),
                      std::max(preferred.height() / 2, 3 * fm.lineSpacing()));
    return least.boundedTo(preferred);
}
}  // namespace

// Sizes come from the font: a template's widths are average characters and its heights lines,
// every one-line control is as tall as the tallest kind of them for that font, and no control is
// squeezed below what its text needs. Extra room goes only to editors, lists and page areas.
void QtRenderer::sizeFromStyle(const ui::Control& c, QWidget* w) {
    const ui::ControlStyle& s = c.style();
    const QFontMetrics fm(w->font());
    const int pad = fm.averageCharWidth();  // inner margin on each side of a text
    const int scroll = w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
    int width = s.widthChars > 0 ? fm.averageCharWidth() * s.widthChars : 0;
    const int height = s.heightLines > 0 ? fm.lineSpacing() * s.heightLines : 0;
    const int line = oneLineHeight(w->font());
    QSize hint;
    switch (c.kind()) {
        case ControlKind::Static:
            if (s.heightLines > 1) {
                w->setMinimumSize(width, height);
            } else if (c.text().empty()) {
                // Filled in by the program (a status line): its text never resizes the window.
                setPolicy(w, QSizePolicy::Ignored, QSizePolicy::Fixed);
                w->setMinimumSize(width, fm.height());
            } else {
                setPolicy(w, QSizePolicy::Minimum, QSizePolicy::Fixed);
                w->setMinimumWidth(width);
            }
            return;
        case ControlKind::PushButton:
            setPolicy(w, QSizePolicy::Minimum, QSizePolicy::Fixed);
            w->setMinimumSize(width, line);
            return;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            setPolicy(w, QSizePolicy::Minimum, QSizePolicy::Fixed);
            w->setMinimumWidth(width);
            return;
        case ControlKind::Edit:
        case ControlKind::IpAddress:
            if (c.kind() == ControlKind::IpAddress) width = fm.horizontalAdvance(QStringLiteral("000.000.000.000"));
            if (s.multiline) {
                hint = QSize(width ? width + 2 * pad + scroll : 0, height ? height + pad : 0);
                setPolicy(w, QSizePolicy::Expanding, QSizePolicy::Expanding);
            } else {
                hint = QSize(width ? width + 2 * pad : 0, line);
                setPolicy(w, width ? QSizePolicy::Fixed : QSizePolicy::Expanding, QSizePolicy::Fixed);
            }
            break;
        case ControlKind::ListBox:
            hint = QSize(width ? width + scroll + 2 * pad : 0, height ? height + pad : 0);
            setPolicy(w, QSizePolicy::Expanding, QSizePolicy::Expanding);
            break;
        case ControlKind::DropDownList:
        case ControlKind::ComboBox:
            // At least the asked width; wider when an item needs it.
            setPolicy(w, width ? QSizePolicy::Fixed : QSizePolicy::Minimum, QSizePolicy::Fixed);
            w->setMinimumSize(width ? width + scroll + 2 * pad : 0, line);
            return;
        case ControlKind::DateTime:
        case ControlKind::Spin:
            setPolicy(w, c.kind() == ControlKind::Spin ? QSizePolicy::Fixed : QSizePolicy::Minimum,
                             QSizePolicy::Fixed);
            w->setMinimumSize(width, line);
            return;
        case ControlKind::Progress:
            setPolicy(w, QSizePolicy::Expanding, QSizePolicy::Fixed);
            w->setMinimumWidth(width);
            return;
        case ControlKind::Custom:
            if (auto* picture = dynamic_cast<CustomWidget*>(w)) {
                picture->hint = QSize(width, height);
                w->setMinimumSize(width && height ? shrunk(picture->hint, fm) : picture->hint);
                return;
            }
            break;
        case ControlKind::Frame:
            setPolicy(w, QSizePolicy::Expanding, QSizePolicy::Expanding);
            [[fallthrough]];
        default:
            if (width) w->setMinimumWidth(width);
            if (height) w->setMinimumHeight(height);
            return;
    }
    if (auto* edit = dynamic_cast<Sized<QLineEdit>*>(w)) edit->hint = hint;
    QSize least = hint;
    if (auto* text = dynamic_cast<Sized<QPlainTextEdit>*>(w)) {
        text->hint = hint;
        least = shrunk(hint, fm);
    }
    if (auto* list = dynamic_cast<Sized<QListWidget>*>(w)) {
        list->hint = hint;
        least = shrunk(hint, fm);
    }
    w->setMinimumSize(w->minimumSize().expandedTo(least));
}

void QtRenderer::connectUser(Binding& b) {
    const int id = b.control->id();
    auto alive = alive_;
    ui::Dialog& d = dialog_;
    // Every connection names the widget as its context, so it ends with the widget.
    auto run = [this, alive, id](std::function<void()> action) {
        if (*alive) act(id, action);
    };
    QWidget* w = b.input;
    switch (b.control->kind()) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, w,
                             [run, &d, id] { run([&d, id] { d.click(id); }); });
            break;
        case ControlKind::Edit:
            if (auto* line = qobject_cast<QLineEdit*>(w)) {
                QObject::connect(line, &QLineEdit::textEdited, w, [run, &d, id](const QString& t) {
                    run([&d, id, t] { d.typeText(id, us(t)); });
                });
            } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
                // The selection and caret go back to the control, so the dialog's copy, cut and
                // paste act where the user points; only while the control holds the editor's text
                // (the caret moves before the text change is reported).
                Binding* binding = &b;  // bindings live in a map: the address stays put
                auto selectionToControl = [&d, id, text, binding] {
                    ui::Control& c = d.control(id);
                    if (c.text() != binding->editorText || text->toPlainText() != binding->editorShown) return;
                    const QTextCursor cursor = text->textCursor();
                    const int start = controlPos(c.text(), cursor.selectionStart());
                    const int end = controlPos(c.text(), cursor.selectionEnd());
                    if (start != c.selStart() || end != c.selEnd()) c.setSel(start, end);
                };
                QObject::connect(text, &QPlainTextEdit::textChanged, w, [run, &d, id, text, binding, selectionToControl] {
                    run([&d, id, text, binding, selectionToControl] {
                        const QString shown = text->toPlainText();
                        const std::string edited = mergeEdit(shown, binding->editorText, binding->editorShown);
                        // The editor holds it now; a model that refuses it puts its own text back.
                        binding->editorText = edited;
                        binding->editorShown = shown;
                        d.typeText(id, edited);
                        selectionToControl();
                    });
                });
                auto mirror = [this, alive, selectionToControl] {
                    if (*alive && syncing_ == 0) selectionToControl();
                };
                QObject::connect(text, &QPlainTextEdit::cursorPositionChanged, w, mirror);
                QObject::connect(text, &QPlainTextEdit::selectionChanged, w, mirror);
            }
            break;
        case ControlKind::IpAddress:
            QObject::connect(
                static_cast<QLineEdit*>(w), &QLineEdit::textEdited, w,
                [run, &d, id](const QString& t) { run([&d, id, t] { d.typeText(id, ipFromEditor(t)); }); });
            break;
        case ControlKind::DropDownList:
        case ControlKind::ComboBox: {
            auto* box = static_cast<QComboBox*>(w);
            QObject::connect(box, &QComboBox::activated, w,
                             [run, &d, id](int pos) { run([&d, id, pos] { d.chooseItem(id, pos); }); });
            if (box->isEditable())
                QObject::connect(box->lineEdit(), &QLineEdit::textEdited, w, [run, &d, id](const QString& t) {
                    run([&d, id, t] { d.typeText(id, us(t)); });
                });
            break;
        }
        case ControlKind::ListBox:
            QObject::connect(static_cast<QListWidget*>(w), &QListWidget::currentRowChanged, w,
                             [run, &d, id](int pos) { run([&d, id, pos] { d.chooseItem(id, pos); }); });
            break;
        case ControlKind::Tab:
            QObject::connect(static_cast<QTabBar*>(w), &QTabBar::currentChanged, w,
                             [run, &d, id](int pos) { run([&d, id, pos] { d.selectTab(id, pos); }); });
            break;
        case ControlKind::Slider:
            QObject::connect(static_cast<QSlider*>(w), &QSlider::valueChanged, w,
                             [run, &d, id](int pos) { run([&d, id, pos] { d.moveSlider(id, pos); }); });
            break;
        case ControlKind::Spin:
            static_cast<SpinArrows*>(w)->onStep = [run, &d, id](int steps) {
                run([&d, id, steps] { d.stepSpin(id, steps); });
            };
            break;
        case ControlKind::DateTime: {
            Binding* binding = &b;  // bindings live in a map: the address stays put
            QObject::connect(static_cast<QDateTimeEdit*>(w), &QDateTimeEdit::dateTimeChanged, w,
                             [run, &d, id, binding](const QDateTime& t) {
                                 run([&d, id, t, binding] {
                                     d.typeText(id, us(t.toString(shapeFormat(binding->dateShape))));
                                 });
                             });
            break;
        }
        case ControlKind::Static:
        case ControlKind::GroupBox:
        case ControlKind::Progress:
        case ControlKind::Custom:
        case ControlKind::Frame:
            return;  // nothing to act on, nothing to leave
    }
    w->installEventFilter(focusWatch_);
}

}  // namespace velmora::gui
