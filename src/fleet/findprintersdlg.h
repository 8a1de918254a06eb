// "Find..." on the main window's Ethernet panel: proposes this computer's networks, asks before
// it searches one, lists the printers that answered and gives back the chosen one's address.
#pragma once

#include <string>
#include <vector>

#include "app/toolcontext.h"
#include "fleet/discovery.h"
#include "fleet/netrange.h"
#include "ui/dialog.h"

namespace velmora::fleet {

class CFindPrintersDlg : public ui::Dialog {
public:
    // `port`: the port the panel has; the networks proposed are those of this computer.
    CFindPrintersDlg(app::ToolContext& ctx, unsigned port);

    // Searches the network and port the dialog shows, after the user agreed.
    void OnSearch();
    // Lists a search's printers (the first chosen) and says what it did.
    void showResults(const DiscoveryReport& report);

    std::vector<Ipv4Subnet> proposals;    // set before the dialog opens to propose others
    std::vector<FoundPrinter> found;      // of the last search
    std::string chosenHost;               // after Use
    unsigned chosenPort = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    app::ToolContext& ctx_;
    unsigned port_;
};

// A found printer as the list shows it: "192.168.1.20:9100   LX-12   V1.00".
std::string foundLine(const FoundPrinter& printer);

}  // namespace velmora::fleet
