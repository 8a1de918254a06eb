// What a dialog needs from its surroundings: message boxes, file dialogs, modal runs of child
// dialogs, the wait cursor, the clipboard and the find/replace dialog. The window program, the
// tests and the console program each provide one.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::ui {

class Dialog;

// What the host's find/replace dialog reports to the dialog that opened it, with the texts the
// user typed.
class FindReplaceClient {
public:
    virtual ~FindReplaceClient() = default;
    virtual void findNext(const std::string& what) = 0;
    virtual void replace(const std::string& what, const std::string& with) = 0;
    virtual void replaceAll(const std::string& what, const std::string& with) = 0;
    // The user closed the dialog; nothing more comes.
    virtual void findReplaceClosed() = 0;
};

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
    // Shows the labels that label text (either language) prints, as pictures in a window of
    // their own; false when this host has no pictures to show.
    virtual bool showLabelPreview(const std::string& text) {
        (void)text;
        return false;
    }
    // Opens the modeless find/replace dialog (empty search text; no direction, case or whole-word
    // options) reporting to `client`; false when this host has none.
    virtual bool openFindReplace(FindReplaceClient& client) {
        (void)client;
        return false;
    }
    // Closes the dialog `client` opened, without telling it (the client is going away).
    virtual void closeFindReplace(FindReplaceClient& client) { (void)client; }

    // Says what an action did without a box: on the main window's bottom line, where the main
    // window set `statusLine`; nowhere when none did.
    virtual void showStatus(const std::string& text) {
        if (statusLine) statusLine(text);
    }
    std::function<void(const std::string&)> statusLine;

    // Told each message's text as it is shown (the session trace listens here).
    std::function<void(const std::string&)> messageWatcher;

    // Caption of boxes that name none: the application's title.

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
