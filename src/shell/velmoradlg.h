// The main window: the interface panel (which port, its settings, the printer's address),
// Connect and Disconnect with the handshake that proves a printer answers, the banner, and the
// menu view of the current menu mode, whose buttons open every tool.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/toolcontext.h"
#include "platform/spooler.h"
#include "shell/menuview.h"
#include "ui/dialog.h"

namespace velmora::shell {

// The address control's text as four bytes, "%d.%d.%d.%d": empty fields are 0. Nothing when a
// field is above 255: such an address is refused, never cut down to another printer's.
std::optional<std::string> formatAddress(const std::string& text);

class CVelmoraDlg : public ui::Dialog {
public:
    CVelmoraDlg(app::ToolContext& ctx, platform::PrintSpooler& spooler);
    ~CVelmoraDlg() override;

    // Builds the two menu views and their titles from the version record. Called before the
    // dialog is shown.
    void AddMenuViews();
    void UpdateConnectionState(bool connected);
    void OnConnect();
    // Runs the connection doctor on the port the panel chose and shows its report.
    void OnDiagnose();
    // Searches a network for printers and takes the chosen one's address and port.
    void OnFind();
    void OnDisconnect();
    void OnExit();
    void SwitchQueuesToFile(const std::string& portName);
    void RestoreQueuePorts();

    // The address the panel offers until the user types the printer's own.
    static constexpr const char* kDefaultAddress = "192.168.1.100";

    // Bound fields.
    int interfaceIndex = 0;  // 0 serial, 1 parallel, 2 USB, 3 Ethernet, 4 Bluetooth
    int lptIndex = 0;
    int comIndex = 0;
    int baudIndex = 4;
    int dataBitsIndex = 1;
    int parityIndex = 0;
    int stopBitsIndex = 0;
    std::string address = kDefaultAddress;
    int tcpPort = 9100;

    std::string portName;
    std::map<std::string, std::string> queueMap;  // printer name -> its former port string
    bool connected() const { return connected_; }
    MenuView* view(int index) const;  // 0 native, 1 ZII
    const std::string& viewTitle(int index) const { return titles_[index]; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    // The port string for the chosen interface, as the lists show it.
    std::string chosenPortName();
    void applySerialSettings();
    // What the bottom line names: "127.0.0.1:9100", "COM1: /dev/ttyS0"; with its kind once open
    // ("Ethernet 127.0.0.1:9100", "USB printer").
    std::string linkTarget(bool withKind) const;
    // Why the port did not open, for the bottom line.
    std::string openFailureLine() const;
    // Each COM and LPT entry's tool tip: the device the port object's map gives for it.
    void showPortDevices();
    // Sets a queue's port string; follows the change-flag rule (once a size query fails, later
    // queues are not touched). Returns false when it could not.
    bool setQueuePort(const std::string& printerName, const std::string& port, bool& changeFlag);

    app::ToolContext& ctx_;
    platform::PrintSpooler& spooler_;
    std::vector<std::unique_ptr<MenuView>> views_;
    std::string titles_[2];
    bool connected_ = false;
};

}  // namespace velmora::shell
