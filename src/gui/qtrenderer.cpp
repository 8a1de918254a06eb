// Widgets from dialog templates, kept in step with the controls in both directions: the renderer's
// life, the model-to-widget sync, user actions and the pages of tabs and frames.
#include "gui/qtrenderer.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/rendererparts.h"
#include "gui/screenfit.h"

namespace velmora::gui {

using ui::ControlKind;
using namespace detail;

QtRenderer::QtRenderer(ui::Dialog& dialog, QWidget* container) : dialog_(dialog) {
    dialog_.Create();
    isPage_ = dialog_.parent() != nullptr;
    root_ = new DialogRoot(dialog_.dialogTemplate(), container);
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
    // A page sits in its host's display area, which has the margins; its frames then start level
    // with the host's own.
    if (isPage_) top->setContentsMargins(0, 0, 0, 0);
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
    alignColumns();
    // A window without a title bar has no border to resize it by: it keeps its natural size.
    if (tmpl.captionless && !isPage_) (container ? container->layout() : top)->setSizeConstraint(QLayout::SetFixedSize);
    syncPages();
    syncWindow();
    applyTabOrder();
    // Only a control the keyboard can reach takes the focus; otherwise the first Tab goes to the
    // first control in reading order.
    if (QWidget* w = widgetFor(dialog_.focusId()); w && (w->focusPolicy() & Qt::TabFocus)) w->setFocus();
    dialog_.setObserver(this);
    if (!isPage_) fitToScreen(root_->window());
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

// The dialog moved the focus (the next cell of an entry, a match found, a field refused): the
// window follows, as a control given the focus brings its window to the front.
void QtRenderer::focusChanged() {
    QWidget* w = widgetFor(dialog_.focusId());
    if (!w || w->focusPolicy() == Qt::NoFocus || !w->isEnabled()) return;
    w->setFocus(Qt::OtherFocusReason);
    if (w->isVisible() && !w->isActiveWindow()) w->activateWindow();
}

void QtRenderer::sync(Binding& b) {
    SyncGuard guard(syncing_);
    const ui::Control& c = *b.control;
    QWidget* w = b.input;
    switch (c.kind()) {
        case ControlKind::Static: {
            auto* label = static_cast<QLabel*>(w);
            QString text = labelText(c.text());
            // A one-line label shows a reply's line ends as the one line they end: the control
            // keeps its text as it came.
            if (!label->wordWrap()) text = oneLine(text);
            label->setText(text);
            break;
        }
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
            showReadOnly(box, c.readOnly());
            if (c.check() == 2) box->setTristate(true);
            box->setCheckState(c.check() == 2 ? Qt::PartiallyChecked
                               : c.check()    ? Qt::Checked
                                              : Qt::Unchecked);
            break;
        }
        case ControlKind::RadioButton: {
            auto* radio = static_cast<QRadioButton*>(w);
            radio->setText(qs(c.text()));
            showReadOnly(radio, c.readOnly());
            if (radio->isChecked() != c.checked()) {
                // An exclusive group refuses to clear its checked button; the control may have none.
                b.radios->setExclusive(false);
                radio->setChecked(c.checked());
                b.radios->setExclusive(true);
            }
            syncRadioStops(b.radios);
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
                if (c.text() != b.editorText) {
                    edit->setPlainText(toEditor(c.text()));
                    edit->moveCursor(QTextCursor::End);
                    b.editorText = c.text();
                    b.editorShown = edit->toPlainText();
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
            spin->setWrapping(c.wraps());
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
    bool added = false;
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
            else {
                kept.push_back(std::make_unique<QtRenderer>(*page, b.pane));
                kept.back()->host_ = this;
                added = true;
            }
        }
        have = std::move(kept);  // renderers of pages no longer listed go here
    }
    if (added) applyTabOrder();
}

void QtRenderer::focusChain(std::vector<QWidget*>& out) const {
    for (const auto& c : dialog_.controls()) {
        auto it = bindings_.find(c->id());
        if (it == bindings_.end()) continue;
        const Binding& b = it->second;
        if (b.input->focusPolicy() != Qt::NoFocus) out.push_back(b.input);
        if (auto p = pages_.find(c->id()); p != pages_.end())
            for (const auto& page : p->second) page->focusChain(out);
    }
}

// Tab follows the template's reading order, pages included where their tab or frame stands
// (page widgets are made after the rest of the window, which would put them last).
void QtRenderer::applyTabOrder() {
    if (host_) {
        host_->applyTabOrder();
        return;
    }
    std::vector<QWidget*> chain;
    focusChain(chain);
    for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

// Tab reaches a group of radio buttons at its chosen button (or its first when none is chosen);
// the arrow keys move within the group.
void QtRenderer::syncRadioStops(QButtonGroup* group) {
    const QList<QAbstractButton*> buttons = group->buttons();
    QAbstractButton* stop = group->checkedButton();
    for (QAbstractButton* button : buttons)
        if (!stop && button->isEnabled() && !button->testAttribute(Qt::WA_TransparentForMouseEvents)) stop = button;
    for (QAbstractButton* button : buttons) {
        if (button->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;  // an indicator
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
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

}  // namespace velmora::gui
