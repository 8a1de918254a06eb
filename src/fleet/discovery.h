// What a search for printers found, as plain data (one record per printer), the table a user
// reads and the printer list the fleet commands take (--printers).
#pragma once

#include <string>
#include <vector>

namespace velmora::fleet {

struct FoundPrinter {
    enum class Via { Network, Usb, Serial };
    Via via = Via::Network;
    std::string connection;  // its line in a printer list: "--tcp 192.168.1.20:9100"
    std::string model;       // as the printer (or, over USB, its ids) names it; empty when unknown
    std::string firmware;    // empty when unknown
    std::string note;        // what else is known: "USB 5a2e:0a08", "no valid model reply"
    std::string host;        // on the network: its address and port
    unsigned port = 0;
};

struct DiscoveryReport {
    std::vector<FoundPrinter> printers;
    // Addresses that took a connection but did not answer the status query as a printer does,
    // each with what happened: "192.168.1.30:9100: took the connection, no answer".
    std::vector<std::string> others;
    // One line per part of the search: "192.168.1.0/24 port 9100: 254 addresses in 1.2 s, ...".
    std::vector<std::string> summary;
};

// The printers as a table (connection, model, firmware, found by), then the others and the
// summary; "No printer found." when there is none.
std::string discoveryTable(const DiscoveryReport& report);
// The printers as a printer list: a comment line `header`, then one connection per line with
// the model and firmware as its comment.
std::string printerListText(const DiscoveryReport& report, const std::string& header);

}  // namespace velmora::fleet
