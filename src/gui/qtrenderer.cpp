// Widgets from dialog templates, kept in step with the controls in both directions.
#include "gui/qtrenderer.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <QTextBlock>
#include <QValidator>
#include <QWindow>
#include <algorithm>

#include "gui/bannerpainter.h"

namespace velmora::gui {

using ui::ControlKind;
using ui::LayoutNode;

namespace {

QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string us(const QString& s) { return s.toStdString(); }

QStringList qsList(const std::vector<std::string>& items) {
    QStringList out;
    for (const auto& i : items) out << qs(i);
    return out;
}

CustomPainter& customPainterSlot() {
    static CustomPainter painter;
    return painter;
}

// Labels follow the dialog convention: a single "&" marks a mnemonic and is not shown, "&&" shows one.
QString labelText(const std::string& text) {
    const QString in = qs(text);
    QString out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == u'&' && ++i == in.size()) break;
        out += in[i];
    }
    return out;
}

// Multi-line edits hold CR LF line ends, as the printer commands they show do; Qt's editor uses LF.
QString toEditor(const std::string& text) {
    QString s = qs(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}
std::string fromEditor(const QString& text) {
    QString s = text;
    s.replace(u'\n', QStringLiteral("\r\n"));
    return us(s);
}
// A position in the control's text (bytes, CR LF counting two) as a position in the editor.
int editorPos(const std::string& text, int pos) {
    if (pos < 0 || pos > static_cast<int>(text.size())) pos = static_cast<int>(text.size());
    return static_cast<int>(toEditor(text.substr(0, pos)).size());
}

// A position in the editor as a position in the control's text: the inverse of editorPos.
int controlPos(const std::string& text, int pos) {
    std::size_t i = 0;
    for (int units = 0; i < text.size() && units < pos; ++units) {
        if (text.compare(i, 2, "\r\n") == 0) {
            i += 2;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        const int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        if (len == 4) ++units;  // a surrogate pair in the editor
        i += len;
    }
    return static_cast<int>(std::min(i, text.size()));
}

// Addresses are "a.b.c.d" in the control; the masked editor keeps three places per field.
// Up to four dotted fields of up to three digits: what an address control lets the user type.
constexpr const char* kIpPattern = "^\\d{0,3}(\\.\\d{0,3}){0,3}$";
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

enum DateShape { kFullDateTime = 0, kDateOnly = 1, kTimeOnly = 2 };

QString shortDateFormat() {
    // Two-digit years would make the editor guess the century.
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QStringLiteral("yyyy"))) f.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return f;
}

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

QColor rgb(std::uint32_t v) { return QColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

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

// Widgets whose natural size ignores the width and height the template asks for.
template <class Base>
class Sized : public Base {
  public:
    using Base::Base;
    QSize hint;
    QSize sizeHint() const override {
        QSize s = Base::sizeHint();
        if (hint.width() > 0) s.setWidth(hint.width());
        if (hint.height() > 0) s.setHeight(hint.height());
        return s;
    }
};

// A Custom control: painted by the window program's painter, or its text on its colours.
class CustomWidget final : public QWidget {
  public:
    CustomWidget(const ui::Dialog& dialog, const ui::Control& control, QWidget* parent)
        : QWidget(parent), dialog_(dialog), control_(control) {}
    QSize sizeHint() const override { return minimumSize().expandedTo(QSize(40, 20)); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (banner_.paint(p, *this, control_)) return;
        if (auto& painter = customPainterSlot()) {
            painter(p, rect(), dialog_, control_);
            return;
        }
        if (control_.backColor()) p.fillRect(rect(), rgb(*control_.backColor()));
        if (control_.textColor()) p.setPen(rgb(*control_.textColor()));
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, qs(control_.text()));
    }

  private:
    const ui::Dialog& dialog_;
    const ui::Control& control_;
    BannerPainter banner_;
};

// Pressing and dragging a control that moves its window: the handle of a window without a title
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

// The display area of a tab: the frame a tab widget draws below its tabs.
class TabPane final : public QWidget {
  public:
    TabPane(QTabBar* bar, QWidget* parent) : QWidget(parent), bar_(bar) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionTabWidgetFrame opt;
        opt.initFrom(this);
        opt.rect = rect();
        opt.shape = QTabBar::RoundedNorth;
        opt.tabBarSize = bar_->sizeHint();
        opt.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        p.drawPrimitive(QStyle::PE_FrameTabWidget, opt);
    }

  private:
    QTabBar* bar_;
};

// Focus leaving a control, and the title-bar close of a renderer's own window.
class EventWatch final : public QObject {
  public:
    EventWatch(QObject* parent, std::function<void(QObject*)> focusOut, std::function<bool()> close)
        : QObject(parent), focusOut_(std::move(focusOut)), close_(std::move(close)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            // Only moves the user makes; focus lost to a message box or a hidden control is not
            // the user leaving the control, and reacting to it could show the box again.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
                focusOut_(watched);
        } else if (event->type() == QEvent::Close && close_) {
            if (!close_()) {
                event->ignore();
                return true;
            }
        }
        return false;
    }

  private:
    std::function<void(QObject*)> focusOut_;
    std::function<bool()> close_;
};

class SyncGuard {
  public:
    explicit SyncGuard(int& depth) : depth_(depth) { ++depth_; }
    ~SyncGuard() { --depth_; }
    SyncGuard(const SyncGuard&) = delete;
    SyncGuard& operator=(const SyncGuard&) = delete;

  private:
    int& depth_;
};

template <class Items>
bool sameItems(const Items& widgetTexts, const std::vector<std::string>& items) {
    if (widgetTexts.size() != static_cast<qsizetype>(items.size())) return false;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (widgetTexts[static_cast<qsizetype>(i)] != qs(items[i])) return false;
    return true;
}

QStringList comboTexts(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

QStringList listTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList tabTexts(const QTabBar* bar) {
    QStringList out;
    for (int i = 0; i < bar->count(); ++i) out << bar->tabText(i);
    return out;
}

void setVisibleIfChanged(QWidget* w, bool visible) {
    if (w->isHidden() == visible) w->setVisible(visible);
}

}  // namespace

struct QtRenderer::Built {
    QWidget* widget = nullptr;
    QLayout* layout = nullptr;
    bool stretch = false;
    int spacing = 0;
};

void QtRenderer::setCustomPainter(CustomPainter painter) { customPainterSlot() = std::move(painter); }

QtRenderer::QtRenderer(ui::Dialog& dialog, QWidget* container) : dialog_(dialog) {
    dialog_.Create();
    isPage_ = dialog_.parent() != nullptr;
    root_ = new QWidget(container);
    if (container) {
        QLayout* outer = container->layout();
        if (!outer) {
            outer = new QVBoxLayout(container);
            outer->setContentsMargins(0, 0, 0, 0);
        }
        if (auto* grid = qobject_cast<QGridLayout*>(outer))
            grid->addWidget(root_, 0, 0);
        else
            outer->addWidget(root_);
    }
    if (isPage_) {
        // Pages share one display area; it keeps the size of the largest.
        QSizePolicy policy = root_->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        root_->setSizePolicy(policy);
    }

    auto alive = alive_;
    std::function<bool()> onClose;
    if (!container && !isPage_) {
        // The title-bar close of a window of our own is a press of Cancel, as in a dialog box.
        onClose = [this, alive] {
            if (!*alive || dialog_.ended()) return true;
            act(ui::IDCANCEL, [this] { dialog_.click(ui::IDCANCEL); });
            return !*alive || dialog_.ended();
        };
    }
    focusWatch_ = new EventWatch(
        root_,
        [this, alive](QObject* watched) {
            if (!*alive) return;
            for (auto& [id, b] : bindings_)
                if (b.input == watched) {
                    leave(id);
                    return;
                }
        },
        onClose);
    if (onClose) root_->installEventFilter(focusWatch_);

    const auto& tmpl = dialog_.dialogTemplate();
    auto* top = new QVBoxLayout(root_);
    root_->setMinimumSize(tmpl.minWidth, tmpl.minHeight);
    std::size_t next = 0;
    {
        SyncGuard guard(syncing_);
        Built built = build(tmpl.root, root_, next);
        if (built.widget) top->addWidget(built.widget);
        if (built.layout) top->addLayout(built.layout);
        for (auto& [id, b] : bindings_) connectUser(b);
    }
    for (auto& [id, b] : bindings_) sync(b);
    for (auto& [id, b] : bindings_)
        if (!b.framed.empty()) syncFrame(b);
    syncPages();
    syncWindow();
    if (QWidget* w = widgetFor(dialog_.focusId())) w->setFocus();
    dialog_.setObserver(this);
}

QtRenderer::~QtRenderer() {
    *alive_ = false;
    ++syncing_;
    if (dialog_.observer() == this) dialog_.setObserver(nullptr);
    pages_.clear();
    if (!root_) return;
    if (isPage_) {
        // A page may be dropped while one of its own widgets is still signalling.
        root_->hide();
        root_->deleteLater();
    } else {
        delete root_;
    }
}

QWidget* QtRenderer::widgetFor(int id) const {
    auto it = bindings_.find(id);
    return it == bindings_.end() ? nullptr : it->second.input;
}

QtRenderer* QtRenderer::pageRenderer(const ui::Dialog& page) const {
    for (const auto& [id, list] : pages_)
        for (const auto& r : list)
            if (&r->dialog_ == &page) return r.get();
    return nullptr;
}

QtRenderer::Built QtRenderer::build(const LayoutNode& node, QWidget* parent, std::size_t& next) {
    using Kind = LayoutNode::Kind;
    const auto& controls = dialog_.controls();
    auto place = [](QLayout* into, const Built& b, int row, int col) {
        auto* grid = qobject_cast<QGridLayout*>(into);
        auto* box = qobject_cast<QBoxLayout*>(into);
        if (b.widget)
            grid ? grid->addWidget(b.widget, row, col) : box->addWidget(b.widget);
        else if (b.layout)
            grid ? grid->addLayout(b.layout, row, col) : box->addLayout(b.layout);
        else if (b.stretch && box)
            box->addStretch(1);
        else if (b.stretch)
            grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Expanding), row, col);
        else if (box)
            box->addSpacing(b.spacing);
        else
            grid->addItem(new QSpacerItem(b.spacing, b.spacing, QSizePolicy::Fixed, QSizePolicy::Fixed), row,
                          col);
    };

    switch (node.kind) {
        case Kind::Control: {
            ui::Control& c = *controls.at(next++);
            Binding& b = bindings_[c.id()];
            b.control = &c;
            makeWidget(c, parent, b);
            return {b.outer};
        }
        case Kind::Group: {
            ui::Control& c = *controls.at(next++);
            Binding& b = bindings_[c.id()];
            b.control = &c;
            auto* box = new QGroupBox(parent);
            b.outer = b.input = box;
            b.palette = box->palette();
            auto* inner = new QVBoxLayout(box);
            const std::size_t first = next;
            for (const auto& child : node.children) place(inner, build(child, box, next), 0, 0);
            for (std::size_t i = first; i < next; ++i) {
                b.framed.push_back(controls[i].get());
                framesOf_[controls[i]->id()].push_back(c.id());
            }
            if (b.framed.empty()) b.framed.push_back(&c);  // an empty frame still follows its own state
            return {box};
        }
        case Kind::Row:
        case Kind::Column: {
            QBoxLayout* box = node.kind == Kind::Row ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                                     : static_cast<QBoxLayout*>(new QVBoxLayout);
            box->setContentsMargins(0, 0, 0, 0);
            for (const auto& child : node.children) place(box, build(child, parent, next), 0, 0);
            return {nullptr, box};
        }
        case Kind::Grid: {
            auto* grid = new QGridLayout;
            grid->setContentsMargins(0, 0, 0, 0);
            const int columns = std::max(1, node.columns);
            int i = 0;
            for (const auto& child : node.children) {
                place(grid, build(child, parent, next), i / columns, i % columns);
                ++i;
            }
            return {nullptr, grid};
        }
        case Kind::Stretch:
            return {nullptr, nullptr, true};
        case Kind::Spacing:
            return {nullptr, nullptr, false, node.spacing};
    }
    return {};
}

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
            auto* button = new QPushButton(parent);
            // Enter presses the template's default button, never whichever button had the focus.
            button->setAutoDefault(false);
            button->setDefault(s.defaultButton);
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
            auto* pages = new QGridLayout(pane);
            pages->setContentsMargins(2, 2, 2, 2);
            column->addWidget(bar);
            column->addWidget(pane, 1);
            b.outer = area;
            b.pane = pane;
            w = bar;
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
            auto* spin = new QSpinBox(parent);
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
            pages->setContentsMargins(2, 2, 2, 2);
            b.pane = pane;
            w = pane;
            break;
        }
    }
    if (s.monospace) w->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (s.movesWindow) w->installEventFilter(new WindowMover(w));
    if (!b.outer) b.outer = w;
    b.input = w;
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

void QtRenderer::sizeFromStyle(const ui::Control& c, QWidget* w) {
    const ui::ControlStyle& s = c.style();
    const QFontMetrics fm(w->font());
    const int scroll = w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
    int width = s.widthChars > 0 ? fm.averageCharWidth() * s.widthChars : 0;
    int height = s.heightLines > 0 ? fm.lineSpacing() * s.heightLines : 0;
    if (c.kind() == ControlKind::IpAddress) width = fm.horizontalAdvance(QStringLiteral("000.000.000.000"));
    QSize hint;
    switch (c.kind()) {
        case ControlKind::Edit:
        case ControlKind::IpAddress:
            if (width) width += 12;
            if (height) height += 10;
            if (!c.style().multiline)
                height = 0;
            else if (width)
                width += scroll;
            hint = QSize(width, height);
            break;
        case ControlKind::ListBox:
            if (width) width += scroll + 10;
            if (height) height += 8;
            hint = QSize(width, height);
            break;
        case ControlKind::DropDownList:
        case ControlKind::ComboBox:
            if (width) {
                // At least the asked width; wider when an item needs it.
                w->setMinimumWidth(width + scroll + 16);
                w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            }
            return;
        default:
            if (width) w->setMinimumWidth(width);
            if (height) w->setMinimumHeight(height);
            return;
    }
    if (c.kind() == ControlKind::Edit && !c.style().multiline && width) {
        w->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    if (auto* line = dynamic_cast<Sized<QLineEdit>*>(w)) line->hint = hint;
    if (auto* text = dynamic_cast<Sized<QPlainTextEdit>*>(w)) text->hint = hint;
    if (auto* list = dynamic_cast<Sized<QListWidget>*>(w)) list->hint = hint;
    w->setMinimumSize(w->minimumSize().expandedTo(hint));
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
                auto selectionToControl = [&d, id, text] {
                    ui::Control& c = d.control(id);
                    if (c.text() != fromEditor(text->toPlainText())) return;
                    const QTextCursor cursor = text->textCursor();
                    const int start = controlPos(c.text(), cursor.selectionStart());
                    const int end = controlPos(c.text(), cursor.selectionEnd());
                    if (start != c.selStart() || end != c.selEnd()) c.setSel(start, end);
                };
                QObject::connect(text, &QPlainTextEdit::textChanged, w, [run, &d, id, text, selectionToControl] {
                    run([&d, id, text, selectionToControl] {
                        d.typeText(id, fromEditor(text->toPlainText()));
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
            QObject::connect(static_cast<QSpinBox*>(w), &QSpinBox::valueChanged, w,
                             [run, &d, id](int pos) { run([&d, id, pos] { d.moveSlider(id, pos); }); });
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

void QtRenderer::act(int id, const std::function<void()>& action) {
    if (syncing_ > 0) return;
    auto alive = alive_;
    action();
    if (!*alive) return;
    // The widget already shows what the user did; the model may have refused it or done more.
    auto it = bindings_.find(id);
    if (it == bindings_.end()) return;
    if (it->second.radios) {
        for (auto& [other, b] : bindings_)
            if (b.radios == it->second.radios) sync(b);
    } else {
        sync(it->second);
    }
}

void QtRenderer::leave(int id) {
    act(id, [this, id] { dialog_.leaveControl(id); });
}

void QtRenderer::controlChanged(ui::Control& control) {
    auto it = bindings_.find(control.id());
    if (it == bindings_.end()) return;
    sync(it->second);
    auto frames = framesOf_.find(control.id());
    if (frames == framesOf_.end()) return;
    for (int frame : frames->second) syncFrame(bindings_.at(frame));
}

void QtRenderer::dialogChanged() {
    syncPages();
    syncWindow();
}

void QtRenderer::sync(Binding& b) {
    SyncGuard guard(syncing_);
    const ui::Control& c = *b.control;
    QWidget* w = b.input;
    switch (c.kind()) {
        case ControlKind::Static:
            static_cast<QLabel*>(w)->setText(labelText(c.text()));
            break;
        case ControlKind::GroupBox:
            if (!b.framed.empty()) {
                syncFrame(b);
                return;  // a frame's state does not reach the controls inside it
            }
            static_cast<QGroupBox*>(w)->setTitle(qs(c.text()));
            break;
        case ControlKind::PushButton:
            static_cast<QPushButton*>(w)->setText(qs(c.text()));
            break;
        case ControlKind::CheckBox: {
            auto* box = static_cast<QCheckBox*>(w);
            box->setText(qs(c.text()));
            if (c.check() == 2) box->setTristate(true);
            box->setCheckState(c.check() == 2 ? Qt::PartiallyChecked
                               : c.check()    ? Qt::Checked
                                              : Qt::Unchecked);
            break;
        }
        case ControlKind::RadioButton: {
            auto* radio = static_cast<QRadioButton*>(w);
            radio->setText(qs(c.text()));
            if (radio->isChecked() != c.checked()) {
                // An exclusive group refuses to clear its checked button; the control may have none.
                b.radios->setExclusive(false);
                radio->setChecked(c.checked());
                b.radios->setExclusive(true);
            }
            break;
        }
        case ControlKind::Edit:
            if (auto* line = qobject_cast<QLineEdit*>(w)) {
                // The limit stops typing only: a longer text set by the program stays whole.
                const QString text = qs(c.text());
                line->setMaxLength(c.limitText() > 0 ? std::max<int>(c.limitText(), text.size()) : 32767);
                line->setReadOnly(c.readOnly());
                if (line->text() != text) line->setText(text);
                if (c.selStart() != b.appliedSelStart || c.selEnd() != b.appliedSelEnd) {
                    const int start = editorPos(c.text(), c.selStart());
                    line->setSelection(start, editorPos(c.text(), c.selEnd()) - start);
                }
            } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
                edit->setReadOnly(c.readOnly());
                const QString text = toEditor(c.text());
                if (edit->toPlainText() != text) {
                    edit->setPlainText(text);
                    edit->moveCursor(QTextCursor::End);
                }
                if (c.selStart() != b.appliedSelStart || c.selEnd() != b.appliedSelEnd) {
                    QTextCursor cursor = edit->textCursor();
                    cursor.setPosition(editorPos(c.text(), c.selStart()));
                    cursor.setPosition(editorPos(c.text(), c.selEnd()), QTextCursor::KeepAnchor);
                    edit->setTextCursor(cursor);
                    edit->ensureCursorVisible();
                }
            }
            b.appliedSelStart = c.selStart();
            b.appliedSelEnd = c.selEnd();
            break;
        case ControlKind::DropDownList:
        case ControlKind::ComboBox: {
            auto* box = static_cast<QComboBox*>(w);
            if (!sameItems(comboTexts(box), c.items())) {
                box->clear();
                box->addItems(qsList(c.items()));
            }
            if (box->currentIndex() != c.curSel()) box->setCurrentIndex(c.curSel());
            // Item tips show in the open list; the closed box shows its chosen item's.
            for (int i = 0; i < c.count(); ++i) {
                const QString tip = qs(c.itemTip(i));
                if (box->itemData(i, Qt::ToolTipRole).toString() != tip) box->setItemData(i, tip, Qt::ToolTipRole);
            }
            if (const QString tip = qs(c.itemTip(c.curSel())); box->toolTip() != tip) box->setToolTip(tip);
            if (box->isEditable()) {
                const QString text = qs(c.text());
                box->lineEdit()->setMaxLength(c.limitText() > 0 ? std::max<int>(c.limitText(), text.size())
                                                                : 32767);
                if (box->currentText() != text) box->setEditText(text);
            }
            break;
        }
        case ControlKind::ListBox: {
            auto* list = static_cast<QListWidget*>(w);
            if (!sameItems(listTexts(list), c.items())) {
                list->clear();
                list->addItems(qsList(c.items()));
            }
            if (list->currentRow() != c.curSel()) list->setCurrentRow(c.curSel());
            if (c.curSel() < 0) list->clearSelection();
            break;
        }
        case ControlKind::Tab: {
            auto* bar = static_cast<QTabBar*>(w);
            const QStringList want = qsList(c.items());
            if (!sameItems(tabTexts(bar), c.items())) {
                while (bar->count() > want.size()) bar->removeTab(bar->count() - 1);
                for (int i = 0; i < want.size(); ++i) {
                    if (i < bar->count())
                        bar->setTabText(i, want[i]);
                    else
                        bar->addTab(want[i]);
                }
            }
            if (c.curSel() >= 0 && c.curSel() < bar->count()) bar->setCurrentIndex(c.curSel());
            break;
        }
        case ControlKind::Progress: {
            auto* bar = static_cast<QProgressBar*>(w);
            bar->setRange(std::min(c.rangeMin(), c.rangeMax()), std::max(c.rangeMin(), c.rangeMax()));
            bar->setValue(c.pos());
            break;
        }
        case ControlKind::Slider: {
            auto* slider = static_cast<QSlider*>(w);
            slider->setRange(std::min(c.rangeMin(), c.rangeMax()), std::max(c.rangeMin(), c.rangeMax()));
            slider->setValue(c.pos());
            break;
        }
        case ControlKind::Spin: {
            auto* spin = static_cast<QSpinBox*>(w);
            spin->setRange(std::min(c.rangeMin(), c.rangeMax()), std::max(c.rangeMin(), c.rangeMax()));
            spin->setValue(c.pos());
            break;
        }
        case ControlKind::DateTime: {
            auto* edit = static_cast<QDateTimeEdit*>(w);
            const QString text = qs(c.text());
            QDateTime value = QDateTime::fromString(text, QString::fromLatin1(kDateTimeFormat));
            int shape = kFullDateTime;
            if (!value.isValid()) {
                if (QDate date = QDate::fromString(text, QString::fromLatin1(kDateFormat)); date.isValid()) {
                    value = QDateTime(date, edit->time());
                    shape = kDateOnly;
                } else if (QTime time = QTime::fromString(text, QString::fromLatin1(kTimeFormat));
                           time.isValid()) {
                    value = QDateTime(edit->date(), time);
                    shape = kTimeOnly;
                } else {
                    shape = b.dateShape;  // empty or unreadable: keep what the picker shows
                }
            }
            if (shape != b.dateShape || edit->displayFormat() != shapeDisplay(shape)) {
                b.dateShape = shape;
                edit->setDisplayFormat(shapeDisplay(shape));
                edit->setCalendarPopup(shape != kTimeOnly);
            }
            if (value.isValid() && edit->dateTime() != value) edit->setDateTime(value);
            break;
        }
        case ControlKind::IpAddress: {
            auto* edit = static_cast<QLineEdit*>(w);
            edit->setReadOnly(c.readOnly());
            if (ipFromEditor(edit->text()) != c.text()) edit->setText(ipToEditor(c.text()));
            break;
        }
        case ControlKind::Custom:
            w->update();
            break;
        case ControlKind::Frame:
            break;
    }
    b.outer->setEnabled(c.enabled());
    setVisibleIfChanged(b.outer, c.visible());
    syncColors(b);
}

void QtRenderer::syncFrame(Binding& b) {
    SyncGuard guard(syncing_);
    const ui::Control& c = *b.control;
    auto* box = static_cast<QGroupBox*>(b.input);
    // As with the dialog's own frames: the frame hides alone, and the controls inside stay.
    box->setTitle(c.visible() ? qs(c.text()) : QString());
    const bool shown =
        c.visible() || std::any_of(b.framed.begin(), b.framed.end(),
                                   [&](const ui::Control* inner) { return inner != &c && inner->visible(); });
    setVisibleIfChanged(box, shown);
    // A disabled frame greys its caption and leaves the controls inside as they are.
    QPalette p = b.palette;
    if (!c.enabled()) {
        const QColor grey = b.palette.color(QPalette::Disabled, QPalette::WindowText);
        p.setColor(QPalette::Active, QPalette::WindowText, grey);
        p.setColor(QPalette::Inactive, QPalette::WindowText, grey);
    }
    box->setPalette(p);
}

void QtRenderer::syncColors(Binding& b) {
    const ui::Control& c = *b.control;
    if (!c.textColor() && !c.backColor() && !b.input->testAttribute(Qt::WA_SetPalette)) return;
    QPalette p = b.palette;
    if (c.textColor()) {
        const QColor color = rgb(*c.textColor());
        for (auto group : {QPalette::Active, QPalette::Inactive})
            for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                p.setColor(group, role, color);
    }
    if (c.backColor()) {
        const QColor color = rgb(*c.backColor());
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) p.setColor(role, color);
    }
    b.input->setPalette(p);
    const bool fills = c.kind() == ControlKind::Static || c.kind() == ControlKind::CheckBox ||
                       c.kind() == ControlKind::RadioButton;
    if (fills) b.input->setAutoFillBackground(c.backColor().has_value());
}

void QtRenderer::syncPages() {
    for (auto& [id, b] : bindings_) {
        if (!b.pane) continue;  // only tabs and frames show pages
        auto& have = pages_[id];
        std::vector<std::unique_ptr<QtRenderer>> kept;
        for (ui::Dialog* page : dialog_.tabPages(id)) {
            if (!page || !page->created()) continue;
            auto it = std::find_if(have.begin(), have.end(),
                                   [&](const auto& r) { return r && &r->dialog_ == page; });
            if (it != have.end())
                kept.push_back(std::move(*it));
            else
                kept.push_back(std::make_unique<QtRenderer>(*page, b.pane));
        }
        have = std::move(kept);  // renderers of pages no longer listed go here
    }
}

void QtRenderer::syncWindow() {
    if (isPage_) {
        setVisibleIfChanged(root_, dialog_.visible());
        return;
    }
    QWidget* window = root_->window();
    window->setWindowTitle(qs(dialog_.caption()));
    if (!dialog_.ended()) {
        endHandled_ = false;
        return;
    }
    if (endHandled_) return;
    endHandled_ = true;
    const int result = dialog_.result();
    if (auto* box = qobject_cast<QDialog*>(window))
        box->done(result);
    else if (window->isVisible())
        window->close();
    if (onEnded) onEnded(result);
}

bool saveImage(QtRenderer& renderer, const std::string& pngPath) {
    QWidget* w = renderer.widget();
    QWidget* window = w->window();
    const bool wasShown = window->isVisible();
    if (!wasShown) {
        // Lay the dialog out as it would open, without putting a window on the screen.
        window->setAttribute(Qt::WA_DontShowOnScreen, true);
        window->show();
        window->adjustSize();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const bool ok = window->grab().save(qs(pngPath), "PNG");
    if (!wasShown) {
        window->hide();
        window->setAttribute(Qt::WA_DontShowOnScreen, false);
    }
    return ok;
}

bool renderToImage(ui::Dialog& dialog, const std::string& pngPath) {
    QtRenderer renderer(dialog);
    return saveImage(renderer, pngPath);
}

}  // namespace velmora::gui
