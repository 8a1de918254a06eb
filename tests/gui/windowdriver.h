// Drives velmora's real widgets as a user would: the main window on an in-process simulated
// printer, the tools its menu opens, and the message boxes and file dialogs they bring up,
// answered as they come. Widgets are found by the control id the renderer gives them.
#pragma once

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/toolcontext.h"
#include "gui/qthost.h"
#include "gui/qtrenderer.h"
#include "shell/velmoradlg.h"
#include "sim/server.h"
#include "support/fakespooler.h"
#include "support/simdevice.h"

namespace velmora::testing {

// The widget of control `id` in `window` or its pages, a shown one first; null when none.
QWidget* controlWidget(QWidget* window, int id);
template <class W>
W* controlAs(QWidget* window, int id) {
    return qobject_cast<W*>(controlWidget(window, id));
}
// What a control's widget shows (UTF-8): a label's, button's, edit's or list's text.
std::string shownText(QWidget* window, int id);

// What a user does to a control's widget. Each fails the test when the widget is not there.
void press(QWidget* window, int id);                          // a mouse click
void typeInto(QWidget* window, int id, const QString& text);  // focus, select all, type; "" deletes
void chooseItem(QWidget* window, int id, int index);          // with the arrow keys
// Keys to whichever widget has the focus, as typing goes on while the focus moves.
void typeAtFocus(const QString& text);

// Modal windows, each answered when it comes up: queue the answer, then do what opens the window.
// Answers are taken in the order they were queued; one whose window does not come within a few
// seconds fails the test and closes whatever modal window is up, so a broken flow never hangs.
void whenToolOpens(std::function<void(QWidget*)> use);  // closed after `use` when still open
void answerMessage(std::string* text = nullptr, QMessageBox::StandardButton button = QMessageBox::Ok);
void answerFile(const std::string& path);  // typed into the file dialog's name box, then Open or Save
// Waits for every queued answer to have been given; false (and a failure) when one was not.
bool allAnswered();

// The main window on a simulated printer, connected over `interface` (the panel's radio id): the
// printer in process as a device, or (Over::Tcp, Ethernet only) behind a real TCP socket, as
// velmora --simulate has it.
class MainWindowOnSim {
  public:
    enum class Over { Device, Tcp };
    explicit MainWindowOnSim(int interface, Over over = Over::Device);
    ~MainWindowOnSim();

    QWidget* window() const { return renderer_->widget()->window(); }
    shell::CVelmoraDlg& dialog() { return *dlg_; }
    // Presses a menu button; `use` runs in the tool's window, which is closed after it.
    void openTool(int menuButton, std::function<void(QWidget*)> use);
    // The bytes the printer received since the last call.
    std::string received();

    SimLink link;
    gui::QtHost host;

  private:
    std::unique_ptr<sim::Server> server_;
    std::unique_ptr<link::CComm> tcpComm_;

  public:
    app::ToolContext ctx;

  private:
    FakeSpooler spooler_;
    std::unique_ptr<shell::CVelmoraDlg> dlg_;
    std::unique_ptr<gui::QtRenderer> renderer_;
    std::uint64_t seen_ = 0;
};

// Bytes compared, shown shortened when they differ (a wrong count of copies can be megabytes).
::testing::AssertionResult sameBytes(const std::string& got, const std::string& want);

// A file in the test's temporary folder with `bytes`; its path.
std::string tempFile(const std::string& name, const std::string& bytes);

}  // namespace velmora::testing
