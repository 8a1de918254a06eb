// IPv4 subnets as a user writes them ("192.168.1.0/24"), and the host addresses they hold, for
// the network scan. Only numbers: a scan never looks a name up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::fleet {

struct Ipv4Subnet {
    std::uint32_t network = 0;  // host bits cleared
    int prefix = 32;

    std::string text() const;  // "192.168.1.0/24"
    // The addresses a host may have: all but the network and broadcast addresses, which a /31
    // and a /32 do not have.
    std::vector<std::string> hosts() const;
    std::uint64_t size() const { return std::uint64_t{1} << (32 - prefix); }
};

// The widest subnet a scan takes: a /22, 1024 addresses.
inline constexpr int kWidestPrefix = 22;

// "A.B.C.D/P" or "A.B.C.D" (a /32). Host bits set are cleared ("192.168.1.7/24" is
// 192.168.1.0/24). Nothing, with `error` set, for anything else or a prefix below kWidestPrefix.
std::optional<Ipv4Subnet> parseSubnet(std::string_view text, std::string& error);

// The subnets a search proposes for this computer's addresses ("192.168.1.7/24"): each
// address's network, or the /24 around the address where the network is wider than a scan
// takes; each once.
std::vector<Ipv4Subnet> proposedSubnets(const std::vector<std::string>& addresses);

// "A.B.C.D" as a number; nothing when it is not four decimal bytes.
std::optional<std::uint32_t> parseIpv4(std::string_view text);
std::string ipv4Text(std::uint32_t address);

}  // namespace velmora::fleet
