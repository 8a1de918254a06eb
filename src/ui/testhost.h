// A host for tests: records every message box and answers file dialogs, message-box questions
// and modal runs from a script queued by the test.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialog.h"
#include "ui/host.h"

namespace velmora::ui {

struct RecordedMessage {
    std::string text;
    std::string caption;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

class TestHost : public Host {
public:
    int messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;
    std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
    int runModal(Dialog& dialog) override;
    void setWaitCursor(bool on) override;
    void beginAction(unsigned expectedMs) override {
        actionTotals.push_back(expectedMs);
        Host::beginAction(expectedMs);
    }
    void showStatus(const std::string& text) override {
        statuses.push_back(text);
        Host::showStatus(text);
    }
    void setClipboardText(const std::string& text) override { clipboard = text; }
    std::string clipboardText() override { return clipboard; }
    bool showLabelPreview(const std::string& text) override {
        previews.push_back(text);
        return previewShown;
    }
    bool openFindReplace(FindReplaceClient& client) override {
        findReplace = &client;
        ++findReplaceOpened;
        return true;
    }
    void closeFindReplace(FindReplaceClient& client) override {
        if (findReplace == &client) findReplace = nullptr;
    }

    // Texts of the messages shown so far, in order.
    std::vector<std::string> messageTexts() const;
    void clear();

    std::vector<RecordedMessage> messages;
    std::deque<int> messageAnswers;                  // answers to boxes; IDOK / IDYES when empty
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::optional<std::string>> fileAnswers;  // nothing queued: the user cancels
    // Each modal run pops one script, which acts on the created dialog and returns its result;
    // with none queued the dialog is created and cancelled.
    std::deque<std::function<int(Dialog&)>> modalScripts;
    std::vector<int> modalTemplates;                 // template ids of the dialogs run modally
    std::function<void(const RecordedMessage&)> onMessage;
    std::string clipboard;
    int waitCursorDepth = 0;
    int waitCursorShown = 0;
    std::vector<unsigned> actionTotals;  // the expected total of each long action begun
    std::vector<std::string> previews;   // texts of the label previews asked for
    std::vector<std::string> statuses;   // what actions said on the bottom line, in order
    bool previewShown = true;            // false: a host without pictures
    FindReplaceClient* findReplace = nullptr;  // the open find/replace dialog's client: the test acts as the user
    int findReplaceOpened = 0;
};

}  // namespace velmora::ui
