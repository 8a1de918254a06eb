// A dialog: its controls (built from its template), its handlers, data exchange between
// controls and fields, and its life as a modal dialog or as a page inside another dialog.
// Tool dialogs derive from it and never see the window system.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/host.h"
#include "ui/layout.h"

namespace velmora::ui {

class DataExchange;

// Notifications that a control changed or a user acted: what a handler can be attached to.
enum class Event {
    Clicked,     // button pressed, box or radio clicked
    SelChange,   // list selection changed by the user
    EditChange,  // edit text changed by the user
    TabChange,   // tab selection changed by the user
    Scroll,      // slider or spin position changed by the user
    KillFocus,   // the control lost the focus
};

// The renderer listens to state changes so the window mirrors the controls.
class DialogObserver {
public:
    virtual ~DialogObserver() = default;
    virtual void controlChanged(Control& control) = 0;
    virtual void dialogChanged() {}  // caption, visibility or end
    virtual void focusChanged() {}   // the dialog moved the focus (SetFocus)
};

class Dialog {
public:
    Dialog(Host& host, const DialogTemplate& tmpl);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    Host& host() const { return host_; }
    const DialogTemplate& dialogTemplate() const { return tmpl_; }

    // Builds the controls from the template and runs OnInitDialog. Safe to call twice.
    bool Create();
    // Creates this dialog as a page of `parent` (hidden until shown).
    bool CreateAsChild(Dialog& parent);
    bool created() const { return created_; }
    // Runs the dialog modally through the host.
    int DoModal();
    void EndDialog(int result);
    bool ended() const { return ended_; }
    int result() const { return result_; }

    Control& control(int id);  // throws std::out_of_range for an unknown id
    const Control& control(int id) const;
    bool hasControl(int id) const;
    // Every control in template order.
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Pulls control texts into fields (true) or pushes fields into controls (false).
    // A failed pull shows the framework's message and returns false.
    bool UpdateData(bool saveAndValidate = true);

    const std::string& caption() const { return caption_; }
    void SetWindowText(const std::string& caption);
    bool visible() const { return visible_; }
    void ShowWindow(bool show);
    Dialog* parent() const { return parent_; }
    const std::vector<Dialog*>& children() const { return children_; }
    // Pages shown in a tab control's display area (set by the dialog that owns the tab).
    void setTabPages(int tabId, std::vector<Dialog*> pages);
    const std::vector<Dialog*>& tabPages(int tabId) const;
    int focusId() const { return focusId_; }
    void SetFocus(int id);

    // User actions, as the window or a test performs them: each changes the control the way a
    // user would and then runs the attached handler.
    void click(int id);
    void chooseItem(int id, int pos);            // drop-down, combo or list box
    void typeText(int id, const std::string& text);
    void selectTab(int id, int pos);
    void moveSlider(int id, int pos);
    // A spin's up (steps > 0) or down arrow. It steps from the number in its buddy, the edit
    // before it, when that holds one (as an up-down control that sets its buddy's text does),
    // and stops at its ends or, when it wraps, goes on at the other end.
    void stepSpin(int id, int steps);
    void leaveControl(int id);                   // focus moves away

    // Handler registration (the message map).
    void on(Event event, int id, std::function<void()> handler);

    void setObserver(DialogObserver* observer) { observer_ = observer; }
    DialogObserver* observer() const { return observer_; }
    void notifyControlChanged(Control& control);

protected:
    virtual bool OnInitDialog();                  // default: UpdateData(false)
    virtual void DoDataExchange(DataExchange& dx);
    virtual void OnOK();                          // default: UpdateData(true), then end with IDOK
    virtual void OnCancel();                      // default: end with IDCANCEL

private:
    void build(const LayoutNode& node);
    void dispatch(Event event, int id);

    Host& host_;
    const DialogTemplate& tmpl_;
    std::string caption_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<int, Control*> byId_;
    std::map<std::pair<Event, int>, std::function<void()>> handlers_;
    std::map<int, std::vector<Dialog*>> tabPages_;
    std::vector<Dialog*> children_;
    Dialog* parent_ = nullptr;
    DialogObserver* observer_ = nullptr;
    int nextStaticId_ = -1000;
    int focusId_ = 0;
    bool created_ = false;
    bool visible_ = true;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace velmora::ui
