// Scripted host for tests.
#include "ui/testhost.h"

namespace velmora::ui {

int TestHost::messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) {
    if (messageWatcher) messageWatcher(text);
    messages.push_back({text, caption, icon, buttons});
    if (onMessage) onMessage(messages.back());
    if (!messageAnswers.empty()) {
        int a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? IDYES : IDOK;
}

std::optional<std::string> TestHost::fileDialog(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

int TestHost::runModal(Dialog& dialog) {
    modalTemplates.push_back(dialog.dialogTemplate().resourceId);
    dialog.Create();
    int result = IDCANCEL;
    if (!modalScripts.empty()) {
        auto script = std::move(modalScripts.front());
        modalScripts.pop_front();
        result = script(dialog);
    }
    if (dialog.ended()) return dialog.result();
    dialog.EndDialog(result);
    return result;
}

void TestHost::setWaitCursor(bool on) {
    waitCursorDepth += on ? 1 : -1;
    if (on) ++waitCursorShown;
}

std::vector<std::string> TestHost::messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

void TestHost::clear() {
    messages.clear();
    fileRequests.clear();
    modalTemplates.clear();
}

}  // namespace velmora::ui
