// The address scan: one thread, one poll over every connection in flight. A slot frees as soon
// as its address has an outcome, so silent addresses cost their bound and nothing more.
#include "platform/netscan.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/pollwait.h"

namespace velmora::platform {

namespace {

using Steady = std::chrono::steady_clock;

struct InFlight {
    std::size_t index = 0;  // into the results
    int fd = -1;
    bool connected = false;
    Steady::time_point started;
    Steady::time_point deadline;
};

unsigned msBetween(Steady::time_point from, Steady::time_point to) {
    return static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count());
}

AddressProbe::Outcome connectOutcome(int error) {
    if (error == ECONNREFUSED) return AddressProbe::Outcome::Refused;
    if (error == ETIMEDOUT) return AddressProbe::Outcome::Silent;
    return AddressProbe::Outcome::Unreachable;
}

}  // namespace

std::vector<AddressProbe> probeAddresses(const std::vector<std::string>& addresses, unsigned port,
                                         std::string_view request, const ProbeLimits& limits) {
    std::vector<AddressProbe> results(addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) results[i].address = addresses[i];
    const std::size_t parallel = std::max<std::size_t>(1, limits.parallel);
    std::vector<InFlight> flight;
    std::size_t next = 0;

    auto finish = [&](InFlight& f, AddressProbe::Outcome outcome, int error) {
        AddressProbe& r = results[f.index];
        r.outcome = outcome;
        r.error = error;
        r.ms = msBetween(f.started, Steady::now());
        ::close(f.fd);
        f.fd = -1;
    };
    // The connection is up: the request goes out, and the reply's bound starts.
    auto connected = [&](InFlight& f) {
        f.connected = true;
        f.deadline = Steady::now() + std::chrono::milliseconds(limits.replyMs);
        if (request.empty()) return;
        const ssize_t sent = ::send(f.fd, request.data(), request.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent != static_cast<ssize_t>(request.size())) finish(f, AddressProbe::Outcome::Closed, errno);
    };
    auto start = [&](std::size_t index) {
        InFlight f;
        f.index = index;
        f.started = Steady::now();
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(port));
        if (port == 0 || port > 65535 || inet_pton(AF_INET, addresses[index].c_str(), &addr.sin_addr) != 1) {
            results[index].error = EINVAL;
            return true;
        }
        f.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (f.fd < 0) {
            // Out of descriptors: try again once a connection in flight has finished.
            if ((errno == EMFILE || errno == ENFILE) && !flight.empty()) return false;
            results[index].error = errno;
            return true;
        }
        f.deadline = f.started + std::chrono::milliseconds(limits.connectMs);
        if (::connect(f.fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
            connected(f);
        } else if (errno != EINPROGRESS) {
            finish(f, connectOutcome(errno), errno);
        }
        if (f.fd >= 0) flight.push_back(f);
        return true;
    };

    std::vector<pollfd> fds;
    while (next < addresses.size() || !flight.empty()) {
        while (next < addresses.size() && flight.size() < parallel && start(next)) ++next;
        if (flight.empty()) continue;
        fds.clear();
        Steady::time_point soonest = flight.front().deadline;
        for (const InFlight& f : flight) {
            fds.push_back({f.fd, static_cast<short>(f.connected ? POLLIN : POLLOUT), 0});
            soonest = std::min(soonest, f.deadline);
        }
        const auto now = Steady::now();
        int waitMs = soonest > now ? static_cast<int>(msBetween(now, soonest)) + 1 : 0;
        // The window's search keeps painting while it waits.
        const bool slice = hasWaitHook();
        if (slice) waitMs = std::min(waitMs, detail::kHookSliceMs);
        const int ready = ::poll(fds.data(), fds.size(), waitMs);
        if (slice) runWaitHook();
        if (ready < 0 && errno != EINTR) {
            for (InFlight& f : flight) finish(f, AddressProbe::Outcome::Unreachable, errno);
            flight.clear();
            continue;
        }
        for (std::size_t i = 0; i < flight.size(); ++i) {
            InFlight& f = flight[i];
            const short revents = fds[i].revents;
            if (!f.connected && revents) {
                int error = 0;
                socklen_t len = sizeof error;
                if (getsockopt(f.fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0) error = errno;
                if (error == 0)
                    connected(f);
                else
                    finish(f, connectOutcome(error), error);
            } else if (f.connected && revents) {
                AddressProbe& r = results[f.index];
                char buf[64];
                const std::size_t room = std::min(sizeof buf, limits.replyBytes - r.reply.size());
                const ssize_t got = ::recv(f.fd, buf, room, MSG_DONTWAIT);
                if (got > 0) r.reply.append(buf, static_cast<std::size_t>(got));
                if (r.reply.size() >= limits.replyBytes)
                    finish(f, AddressProbe::Outcome::Replied, 0);
                else if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
                    finish(f, AddressProbe::Outcome::Closed, got < 0 ? errno : 0);
            }
            if (f.fd >= 0 && Steady::now() >= f.deadline)
                finish(f, f.connected ? AddressProbe::Outcome::NoReply : AddressProbe::Outcome::Silent,
                       f.connected ? 0 : ETIMEDOUT);
        }
        std::erase_if(flight, [](const InFlight& f) { return f.fd < 0; });
    }
    return results;
}

namespace {

// Each IPv4 interface that is up, loopback left out: "A.B.C.D/P" of its address (`network`:
// of its network), each once, in interface order.
std::vector<std::string> interfaceCidrs(bool network) {
    std::vector<std::string> out;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return out;
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || !i->ifa_netmask || i->ifa_addr->sa_family != AF_INET) continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
        const std::uint32_t address =
            ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr);
        const std::uint32_t mask =
            ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_netmask)->sin_addr.s_addr);
        const int prefix = __builtin_popcount(mask);
        in_addr shown{htonl(network ? address & mask : address)};
        char text[INET_ADDRSTRLEN];
        if (!inet_ntop(AF_INET, &shown, text, sizeof text)) continue;
        const std::string cidr = std::string(text) + "/" + std::to_string(prefix);
        if (std::find(out.begin(), out.end(), cidr) == out.end()) out.push_back(cidr);
    }
    freeifaddrs(list);
    return out;
}

}  // namespace

std::vector<std::string> localIpv4Networks() { return interfaceCidrs(true); }

std::vector<std::string> localIpv4Addresses() { return interfaceCidrs(false); }

}  // namespace velmora::platform
