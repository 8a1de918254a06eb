// Pieces the renderer's files share: text conversions between controls and widgets, widgets
// sized from the template, and the small event helpers. Internal to src/gui/.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QListWidget>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTabBar>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gui/bannerpainter.h"
#include "gui/editortext.h"
#include "gui/qtrenderer.h"
#include "gui/screenfit.h"

namespace velmora::gui {

// What one node of a template became: a widget or a layout to place, or a stretch or spacing.
struct QtRenderer::Built {
    QWidget* widget = nullptr;
    QLayout* layout = nullptr;
    bool stretch = false;
    int spacing = 0;
    bool grows = false;  // holds a control that takes extra room (an editor, a list, a page area)
};

}  // namespace velmora::gui

namespace velmora::gui::detail {

inline QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string us(const QString& s) { return s.toStdString(); }
QStringList qsList(const std::vector<std::string>& items);

// Labels follow the dialog convention: a single "&" marks a mnemonic and is not shown, "&&" shows one.
QString labelText(const std::string& text);
// A text on one line: line ends at its end dropped, any inside shown as a space.
QString oneLine(const QString& text);
// Addresses are "a.b.c.d" in the control.
QString ipToEditor(const std::string& text);
std::string ipFromEditor(const QString& text);

enum DateShape { kFullDateTime = 0, kDateOnly = 1, kTimeOnly = 2 };
QString shapeFormat(int shape);
QString shapeDisplay(int shape);

inline QColor rgb(std::uint32_t v) { return QColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

// The window program's painter of Custom controls (see QtRenderer::setCustomPainter).
CustomPainter& customPainterSlot();

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

// The widget holding a whole dialog: it opens at least at the template's size, and never smaller
// than its controls need, whatever the font. The template's size gives way on a screen too small
// for it.
class DialogRoot final : public QWidget {
  public:
    DialogRoot(const ui::DialogTemplate& tmpl, QWidget* parent)
        : QWidget(parent), least_(tmpl.captionless ? QSize() : QSize(tmpl.minWidth, tmpl.minHeight)) {}
    QSize sizeHint() const override { return QWidget::sizeHint().expandedTo(least_); }
    QSize minimumSizeHint() const override {
        return QWidget::minimumSizeHint().expandedTo(least_.boundedTo(windowRoom(window())));
    }

  private:
    QSize least_;
};

// A Custom control: painted by the window program's painter, or its text on its colours.
class CustomWidget final : public QWidget {
  public:
    CustomWidget(const ui::Dialog& dialog, const ui::Control& control, QWidget* parent)
        : QWidget(parent), dialog_(dialog), control_(control) {}
    QSize sizeHint() const override { return minimumSize().expandedTo(hint).expandedTo(QSize(40, 20)); }
    QSize hint;  // the size the template asks for; the minimum may be less

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    const ui::Dialog& dialog_;
    const ui::Control& control_;
    BannerPainter banner_;
};

// The display area of a tab: the frame a tab widget draws below its tabs.
class TabPane final : public QWidget {
  public:
    TabPane(QTabBar* bar, QWidget* parent) : QWidget(parent), bar_(bar) {}

  protected:
    void paintEvent(QPaintEvent*) override;

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

inline QStringList comboTexts(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

inline QStringList listTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

inline QStringList tabTexts(const QTabBar* bar) {
    QStringList out;
    for (int i = 0; i < bar->count(); ++i) out << bar->tabText(i);
    return out;
}

// An indicator box: neither mouse nor keyboard reaches it, and it looks as it always does.
inline void showReadOnly(QWidget* box, bool readOnly) {
    box->setAttribute(Qt::WA_TransparentForMouseEvents, readOnly);
    box->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
}

inline void setVisibleIfChanged(QWidget* w, bool visible) {
    if (w->isHidden() == visible) w->setVisible(visible);
}

}  // namespace velmora::gui::detail
