// The window program's host: real message boxes, file dialogs, modal dialog windows, the wait
// cursor and the clipboard, all through Qt. The window program makes one QApplication, one
// QtHost, calls installPaintingWaitHook(), and opens its main dialog with DoModal().
#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <string>

#include "ui/host.h"

namespace velmora::gui {

class QtHost final : public ui::Host {
  public:
    int messageBox(const std::string& text, const std::string& caption, ui::Icon icon,
                   ui::Buttons buttons) override;
    std::optional<std::string> fileDialog(const ui::FileDialogRequest& request) override;
    // Shows the dialog in a modal window until it ends; closing the window presses Cancel.
    int runModal(ui::Dialog& dialog) override;
    // Nests: the cursor comes back after as many "off" as there were "on".
    void setWaitCursor(bool on) override;
    // A bar at the foot of the window the user works in fills with the time the action has spent
    // against its expected total, while the waits repaint.
    void beginAction(unsigned expectedMs) override;
    void endAction() override;
    void setClipboardText(const std::string& text) override;
    std::string clipboardText() override;
    // The label preview window (labelpreviewwindow.h), over the active window.
    bool showLabelPreview(const std::string& text) override;
    // A modeless window over the active one: "Find what:", "Replace with:" and the buttons "Find
    // Next", "Replace", "Replace All" and "Cancel". One at a time.
    bool openFindReplace(ui::FindReplaceClient& client) override;
    void closeFindReplace(ui::FindReplaceClient& client) override;
    // Unattended runs (measurements, demos): message boxes go to the error stream as
    // "Caption: text" and are answered with OK (or Yes) instead of waiting for a person.
    void setUnattended(bool on) { unattended_ = on; }

  private:
    int waitDepth_ = 0;
    bool unattended_ = false;
    QPointer<QDialog> findDialog_;
    ui::FindReplaceClient* findClient_ = nullptr;
};

// Qt name filters for a dialog filter string: "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"
// gives "Text Files (*.txt)" and "All Files (*)".
QStringList nameFilters(const std::string& filter);
// A dialog's default extension as an extension to append: none for a pattern ("*.*").
std::string fileExtension(const std::string& defaultExt);
// `path` with ".ext" appended when its file name has no extension of its own (and ext is given).
std::string withDefaultExtension(const std::string& path, const std::string& ext);

// Lets the windows repaint, and holds user input back, while a tool sleeps or waits on the link;
// shows the busy cursor from the first wait until the program is idle again.
void installPaintingWaitHook();

}  // namespace velmora::gui
