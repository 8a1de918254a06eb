// Many IPv4 addresses asked at once whether a printer listens on a TCP port: non-blocking
// connects, a bounded number at a time, a request sent only to the ports that take the
// connection, and what came back within a short bound. Also the networks this computer is on,
// so that a caller can propose them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

struct ProbeLimits {
    std::size_t parallel = 64;   // connections open at once
    unsigned connectMs = 1000;   // each connect
    unsigned replyMs = 500;      // each reply, from the send of the request
    std::size_t replyBytes = 2;  // the reply is complete with this many bytes
};

struct AddressProbe {
    enum class Outcome {
        Refused,      // nothing listens there (the host answered with a reset)
        Silent,       // no answer to the connect within its bound
        Unreachable,  // no route, not an address, or no socket could be made (`error` says)
        NoReply,      // took the connection, but not the whole reply came within its bound
        Closed,       // took the connection and closed or reset it before the whole reply
        Replied,      // the whole reply came
    };
    std::string address;  // as given
    Outcome outcome = Outcome::Unreachable;
    int error = 0;      // errno of a failed connect
    std::string reply;  // the bytes that came (at most replyBytes)
    unsigned ms = 0;    // from the start of the connect to the outcome
};

// Probes every address (IPv4 numbers, "192.168.1.20") on `port`, at most `limits.parallel` at a
// time, and returns one probe per address in the order given. `request` goes only to ports that
// took the connection. The whole run lasts at most about
// ceil(addresses / parallel) × (connectMs + replyMs).
std::vector<AddressProbe> probeAddresses(const std::vector<std::string>& addresses, unsigned port,
                                         std::string_view request, const ProbeLimits& limits);

// The IPv4 networks of this computer's interfaces that are up, loopback left out, as
// "192.168.1.0/24", each once, in interface order.
std::vector<std::string> localIpv4Networks();
// The same interfaces' own addresses with their prefix: "192.168.1.7/24".
std::vector<std::string> localIpv4Addresses();

}  // namespace velmora::platform
