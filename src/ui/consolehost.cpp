// Console host: messages as lines on the error stream.
#include "ui/consolehost.h"

#include <ostream>

#include "ui/dialog.h"

namespace velmora::ui {

ConsoleHost::ConsoleHost(std::ostream& err) : err_(err) {}

std::string consoleLine(const std::string& caption, const std::string& text) {
    std::string line = caption + ": ";
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') continue;
        if (c == '\n') {
            // "Please, \ncheck" reads "Please, check": no doubled blank.
            if (!line.empty() && line.back() != ' ') line += ' ';
            continue;
        }
        line += c;
    }
    return line;
}

int ConsoleHost::messageBox(const std::string& text, const std::string& caption, Icon, Buttons buttons) {
    if (messageWatcher) messageWatcher(text);
    ++messageCount_;
    messages_.push_back(text);
    err_ << consoleLine(caption, text) << '\n';
    err_.flush();
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? IDYES : IDOK;
}

std::optional<std::string> ConsoleHost::fileDialog(const FileDialogRequest&) { return fileAnswer_; }

int ConsoleHost::runModal(Dialog& dialog) {
    dialog.Create();
    if (!dialog.ended()) dialog.EndDialog(IDCANCEL);
    return dialog.result();
}

}  // namespace velmora::ui
