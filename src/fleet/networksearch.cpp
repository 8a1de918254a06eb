// The network search: connect, the status query, then the model and firmware of those that
// answered.
#include "fleet/networksearch.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <set>
#include <thread>

#include "link/messages.h"
#include "platform/netscan.h"
#include "settings/printerinfoops.h"
#include "status/statusops.h"

namespace velmora::fleet {

namespace {

using Steady = std::chrono::steady_clock;

constexpr std::size_t kParallel = 64;   // connections (and identifications) at a time
constexpr unsigned kConnectMs = 1000;   // a printer on the local network connects in far less
constexpr unsigned kReplyMs = 500;      // ten times the handshake's pause
constexpr unsigned kIdentifyMs = 1000;  // each wait of the model and firmware queries

}  // namespace

void inParallel(std::size_t n, std::size_t parallel, const std::function<void(std::size_t)>& work) {
    std::mutex mutex;
    std::size_t next = 0;
    auto worker = [&] {
        for (;;) {
            std::size_t i;
            {
                const std::lock_guard lock(mutex);
                if (next >= n) return;
                i = next++;
            }
            work(i);
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < std::min(n, parallel); ++t) pool.emplace_back(worker);
    worker();
    for (auto& t : pool) t.join();
}

void identify(link::CComm& comm, platform::Clock& clock, FoundPrinter& found) {
    if (!comm.Open()) {
        found.note = "did not take a second connection";
        return;
    }
    const app::Outcome facts = settings::readPrinterFacts(comm, clock);
    comm.Close();
    comm.CloseTcp();
    if (const app::ReadValue* v = facts.find("model"); v && v->valid) found.model = v->text;
    if (const app::ReadValue* v = facts.find("firmware"); v && v->valid) found.firmware = v->text;
    if (found.model.empty()) found.note = "no valid reply to the model query";
}

void searchNetwork(const NetworkSearch& search, platform::DeviceFactory& devices, platform::Clock& clock,
                   DiscoveryReport& report) {
    const auto start = Steady::now();
    std::vector<std::string> addresses;
    std::set<std::string> seen;
    std::string where;
    for (const Ipv4Subnet& subnet : search.subnets) {
        where += (where.empty() ? "" : ", ") + subnet.text();
        for (std::string& host : subnet.hosts())
            if (seen.insert(host).second) addresses.push_back(std::move(host));
    }
    const status::StatusQuery& query = status::cpQuery();
    const platform::ProbeLimits limits{kParallel, kConnectMs, kReplyMs, query.length};
    const auto probes = platform::probeAddresses(addresses, search.port, query.command, limits);

    using Outcome = platform::AddressProbe::Outcome;
    std::size_t refused = 0, silent = 0, unreachable = 0, others = 0;
    std::vector<FoundPrinter> found;
    for (const platform::AddressProbe& p : probes) {
        const std::string at = p.address + ":" + std::to_string(search.port);
        switch (p.outcome) {
            case Outcome::Refused:
                ++refused;
                break;
            case Outcome::Silent:
                ++silent;
                break;
            case Outcome::Unreachable:
                ++unreachable;
                break;
            case Outcome::NoReply:
                ++others;
                report.others.push_back(at + ": took the connection, " +
                                        (p.reply.empty() ? std::string("no answer to the status query")
                                                         : "a short answer: " + app::hexBytes(p.reply)));
                break;
            case Outcome::Closed:
                ++others;
                report.others.push_back(at + ": took the connection and closed it");
                break;
            case Outcome::Replied: {
                FoundPrinter printer;
                printer.connection = "--tcp " + at;
                printer.host = p.address;
                printer.port = search.port;
                found.push_back(printer);
                break;
            }
        }
    }
    inParallel(found.size(), kParallel, [&](std::size_t i) {
        link::SilentMessages messages;
        link::CComm comm(devices, clock, messages);
        comm.portName = "ETHERNET";
        comm.socket.SetTarget(found[i].host, found[i].port);
        comm.socket.timeouts = {kIdentifyMs, kIdentifyMs, kIdentifyMs};
        identify(comm, clock, found[i]);
    });
    report.printers.insert(report.printers.end(), found.begin(), found.end());
    char took[32];
    std::snprintf(took, sizeof took, "%.1f s", std::chrono::duration<double>(Steady::now() - start).count());
    report.summary.push_back(where + " on port " + std::to_string(search.port) + ": " +
                             std::to_string(addresses.size()) + " addresses in " + took + ": " +
                             std::to_string(found.size()) + (found.size() == 1 ? " printer, " : " printers, ") +
                             std::to_string(others) + " not answering as printers, " + std::to_string(refused) +
                             " refused, " + std::to_string(silent) + " silent" +
                             (unreachable ? ", " + std::to_string(unreachable) + " unreachable" : ""));
}

}  // namespace velmora::fleet
