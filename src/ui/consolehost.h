// A host for the command-line program: every message box becomes one line on the error
// stream, prefixed by its caption; nothing is asked interactively.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "ui/host.h"

namespace velmora::ui {

class ConsoleHost : public Host {
public:
    explicit ConsoleHost(std::ostream& err);

    int messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;
    // Answers with the path set by the command line, if any.
    std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
    int runModal(Dialog& dialog) override;
    void setWaitCursor(bool) override {}
    void setClipboardText(const std::string& text) override { clipboard_ = text; }
    std::string clipboardText() override { return clipboard_; }

    void setFileAnswer(std::optional<std::string> path) { fileAnswer_ = std::move(path); }
    int messageCount() const { return messageCount_; }
    // Texts of the messages shown so far, so a command can tell what the tool reported.
    const std::vector<std::string>& messages() const { return messages_; }

private:
    std::ostream& err_;
    std::optional<std::string> fileAnswer_;
    std::string clipboard_;
    std::vector<std::string> messages_;
    int messageCount_ = 0;
};

// One line for a message: "Caption: text", line breaks turned into spaces.
std::string consoleLine(const std::string& caption, const std::string& text);

}  // namespace velmora::ui
