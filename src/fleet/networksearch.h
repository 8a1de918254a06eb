// Finding printers on the network and asking each its name: what `velmora-cli discover` and the
// window's "Find..." share.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "fleet/discovery.h"
#include "fleet/netrange.h"
#include "link/comm.h"
#include "platform/clock.h"
#include "platform/device.h"

namespace velmora::fleet {

struct NetworkSearch {
    std::vector<Ipv4Subnet> subnets;
    unsigned port = 9100;
};

// Tries every address of the subnets on the port, at most 64 at a time with short bounds; the
// status query goes only to those that take the connection, and those that answer it as a
// printer does are asked their model and firmware. Adds the printers, the addresses that took the
// connection but did not answer as printers, and one summary line to `report`.
void searchNetwork(const NetworkSearch& search, platform::DeviceFactory& devices, platform::Clock& clock,
                   DiscoveryReport& report);

// Model and firmware over a fresh connection on the link `comm` is set up for (its bounds short);
// only valid replies count, and the note says when none came.
void identify(link::CComm& comm, platform::Clock& clock, FoundPrinter& found);

// Runs work(i) for each i below n on at most `parallel` threads.
void inParallel(std::size_t n, std::size_t parallel, const std::function<void(std::size_t)>& work);

}  // namespace velmora::fleet
