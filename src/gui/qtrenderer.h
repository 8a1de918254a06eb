// The one generic Qt renderer: turns any dialog's template into a tree of real widgets, keeps
// every widget in step with its control, and hands what the user does back to the dialog as its
// user actions. Tool dialogs never see Qt; this file is where their controls meet the screen.
#pragma once

#include <QPalette>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialog.h"

class QButtonGroup;
class QGridLayout;
class QObject;
class QPainter;
class QRect;

namespace velmora::gui {

// Paints a Custom control (title banner, charts) into its rectangle.
using CustomPainter = std::function<void(QPainter&, const QRect&, const ui::Dialog&, const ui::Control&)>;

class QtRenderer final : public ui::DialogObserver {
  public:
    // Builds the widgets of `dialog`, creating the dialog first when needed. With a container the
    // widgets go inside it (a container without a layout gets one) and the container's window
    // shows the caption; without one the widgets get a top-level window of their own. Either way
    // the renderer owns the widgets it made and deletes them when it goes.
    explicit QtRenderer(ui::Dialog& dialog, QWidget* container = nullptr);
    ~QtRenderer() override;
    QtRenderer(const QtRenderer&) = delete;
    QtRenderer& operator=(const QtRenderer&) = delete;

    ui::Dialog& dialog() const { return dialog_; }
    // The widget that holds the whole dialog.
    QWidget* widget() const { return root_; }
    // The widget that mirrors control `id` (for a tab, its tab bar), or null.
    QWidget* widgetFor(int id) const;
    // The renderer of a page shown in a tab's display area, or null.
    QtRenderer* pageRenderer(const ui::Dialog& page) const;

    // Runs once the dialog has ended and its window was closed.
    std::function<void(int result)> onEnded;

    // Painting of Custom controls whose content has no painter of its own (the title banner has);
    // without one, a Custom control shows its text on its colours.
    static void setCustomPainter(CustomPainter painter);

    void controlChanged(ui::Control& control) override;
    void dialogChanged() override;
    void focusChanged() override;

  private:
    struct Binding {
        ui::Control* control = nullptr;
        QWidget* outer = nullptr;  // what the layout holds (a tab's bar and display area)
        QWidget* input = nullptr;  // the widget of the control's own kind
        QWidget* pane = nullptr;   // Tab: where the pages go
        QButtonGroup* radios = nullptr;
        QPalette palette;                  // as built, before any colours of the control
        std::vector<ui::Control*> framed;  // Group frame: every control inside it
        int appliedSelStart = 0;
        int appliedSelEnd = 0;
        int dateShape = 0;  // DateTime: which parts the control's text carries
        // Multi-line edit: the control's text the editor holds, and what the editor showed for it
        // (an edit is merged into that text, so the line ends the user left alone stay as they were).
        std::string editorText;
        QString editorShown;
    };
    struct Built;

    Built build(const ui::LayoutNode& node, QWidget* parent, std::size_t& next);
    void alignColumns();
    QWidget* makeWidget(ui::Control& c, QWidget* parent, Binding& b);
    void connectUser(Binding& b);
    void sizeFromStyle(const ui::Control& c, QWidget* w);
    void sync(Binding& b);
    void syncFrame(Binding& b);
    void syncColors(Binding& b);
    void syncPages();
    void syncRadioStops(QButtonGroup* group);
    void focusChain(std::vector<QWidget*>& out) const;
    void applyTabOrder();
    void syncWindow();
    // Runs a user action unless the widget moved because the model moved it, then puts the
    // widget back in line with a model that may have refused the action.
    void act(int id, const std::function<void()>& action);
    void leave(int id);

    ui::Dialog& dialog_;
    QPointer<QWidget> root_;
    bool isPage_ = false;
    QtRenderer* host_ = nullptr;  // the renderer whose tab or frame shows this page
    int syncing_ = 0;
    bool endHandled_ = false;
    std::map<int, Binding> bindings_;
    std::vector<std::pair<QGridLayout*, int>> grids_;  // every grid of the page, with its columns
    std::map<int, std::vector<int>> framesOf_;  // control id -> ids of the frames around it
    std::map<int, std::vector<std::unique_ptr<QtRenderer>>> pages_;  // tab id -> page renderers
    QButtonGroup* currentRadios_ = nullptr;
    QObject* focusWatch_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Renders `dialog` off screen, as it would open, into a PNG file. False when it cannot be written.
bool renderToImage(ui::Dialog& dialog, const std::string& pngPath);
// Saves what a live renderer shows now.
bool saveImage(QtRenderer& renderer, const std::string& pngPath);

// Text of a DateTime control: "yyyy-MM-dd HH:mm:ss", or only "yyyy-MM-dd" for a date picker, or
// only "HH:mm:ss" for a time picker. The shape of the text the dialog sets picks the picker.
inline constexpr const char* kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";
inline constexpr const char* kDateFormat = "yyyy-MM-dd";
inline constexpr const char* kTimeFormat = "HH:mm:ss";

// The property that holds the control id on every widget the renderer makes for a control.
inline constexpr const char* kControlIdProperty = "velmoraControlId";

}  // namespace velmora::gui
