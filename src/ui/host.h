// What a dialog needs from its surroundings: message boxes, file dialogs, modal runs of child
// dialogs, the wait cursor and the clipboard. The window program, the tests and the console
// program each provide one.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::ui {

class Dialog;

enum class Icon { None, Exclamation, Information, Question, Error };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

struct FileDialogRequest {
    bool open = true;             // false: a save dialog
    std::string filter;           // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"
    std::string defaultExt;       // without the dot
    std::string fileName;         // initial name
    std::string title;            // empty: "Open" or "Save As"
    bool overwritePrompt = true;  // save dialogs ask before replacing a file
};

class Host {
public:
    virtual ~Host() = default;

    // Shows a message; returns the id of the button pressed (IDOK, IDYES, ...).
    virtual int messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> fileDialog(const FileDialogRequest& request) = 0;
    // Runs a dialog modally (creating it first) and returns what ended it.
    virtual int runModal(Dialog& dialog) = 0;
    virtual void setWaitCursor(bool on) = 0;
    // A long action (a settings read, a calibration, a download) whose pauses add up to about
    // `expectedMs`: the window shows the busy cursor and how far the action has come. Nests.
    virtual void beginAction(unsigned expectedMs) {
        (void)expectedMs;
        setWaitCursor(true);
    }
    virtual void endAction() { setWaitCursor(false); }
    virtual void setClipboardText(const std::string& text) = 0;
    virtual std::string clipboardText() = 0;

    // Told each message's text as it is shown (the session trace listens here).
    std::function<void(const std::string&)> messageWatcher;

    // Caption of boxes that name none: the application's title.
    const std::string& appTitle() const { return appTitle_; }
    void setAppTitle(std::string title) { appTitle_ = std::move(title); }

    // A message with the application's caption, an OK button and the exclamation icon.
    int message(const std::string& text) { return messageBox(text, appTitle_, Icon::Exclamation, Buttons::Ok); }

private:
    std::string appTitle_ = "Velmora";
};

// Shows the wait cursor for the life of the object.
class WaitCursor {
public:
    explicit WaitCursor(Host& host) : host_(host) { host_.setWaitCursor(true); }
    ~WaitCursor() { host_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Host& host_;
};

// A long action for the life of the object (see Host::beginAction).
class LongAction {
public:
    LongAction(Host& host, unsigned expectedMs) : host_(host) { host_.beginAction(expectedMs); }
    ~LongAction() { host_.endAction(); }
    LongAction(const LongAction&) = delete;
    LongAction& operator=(const LongAction&) = delete;

private:
    Host& host_;
};

// Splits an MFC-style filter ("Name (*.a;*.b)|*.a;*.b|...||") into (description, patterns) pairs.
struct FilterEntry {
    std::string description;
    std::string patterns;  // ";"-separated
};
std::vector<FilterEntry> parseFilter(const std::string& filter);

}  // namespace velmora::ui
