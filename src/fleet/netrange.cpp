// Subnet text and its addresses.
#include "fleet/netrange.h"

#include <algorithm>
#include <charconv>

namespace velmora::fleet {

std::optional<std::uint32_t> parseIpv4(std::string_view text) {
    std::uint32_t value = 0;
    for (int part = 0; part < 4; ++part) {
        const auto dot = part < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos) return std::nullopt;
        const std::string_view digits = text.substr(0, dot);
        unsigned byte = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), byte);
        if (digits.empty() || digits.size() > 3 || ec != std::errc() ||
            end != digits.data() + digits.size() || byte > 255)
            return std::nullopt;
        value = value << 8 | byte;
        text.remove_prefix(part < 3 ? dot + 1 : dot);
    }
    return text.empty() ? std::optional(value) : std::nullopt;
}

std::string ipv4Text(std::uint32_t a) {
    return std::to_string(a >> 24) + "." + std::to_string(a >> 16 & 0xFF) + "." +
           std::to_string(a >> 8 & 0xFF) + "." + std::to_string(a & 0xFF);
}

std::optional<Ipv4Subnet> parseSubnet(std::string_view text, std::string& error) {
    const auto slash = text.find('/');
    const auto address = parseIpv4(text.substr(0, slash));
    int prefix = 32;
    if (slash != std::string_view::npos) {
        const std::string_view digits = text.substr(slash + 1);
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), prefix);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || prefix < 0 ||
            prefix > 32) {
            error = std::string(text) + " is no subnet (write it as 192.168.1.0/24)";
            return std::nullopt;
        }
    }
    if (!address) {
        error = std::string(text) + " is no subnet (write it as 192.168.1.0/24)";
        return std::nullopt;
    }
    if (prefix < kWidestPrefix) {
        error = std::string(text) + " is too wide: a subnet may have at most 1024 addresses (/" +
                std::to_string(kWidestPrefix) + "); give its parts one by one";
        return std::nullopt;
    }
    const std::uint32_t mask = prefix == 0 ? 0 : ~std::uint32_t{0} << (32 - prefix);
    return Ipv4Subnet{*address & mask, prefix};
}

std::vector<Ipv4Subnet> proposedSubnets(const std::vector<std::string>& addresses) {
    std::vector<Ipv4Subnet> out;
    for (const std::string& cidr : addresses) {
        const auto slash = cidr.find('/');
        if (slash == std::string::npos) continue;
        const auto address = parseIpv4(std::string_view(cidr).substr(0, slash));
        int prefix = 0;
        const auto [end, ec] = std::from_chars(cidr.data() + slash + 1, cidr.data() + cidr.size(), prefix);
        if (!address || ec != std::errc() || end != cidr.data() + cidr.size() || prefix < 0 || prefix > 32)
            continue;
        if (prefix < kWidestPrefix) prefix = 24;
        const std::uint32_t mask = prefix == 0 ? 0 : ~std::uint32_t{0} << (32 - prefix);
        const Ipv4Subnet subnet{*address & mask, prefix};
        if (std::none_of(out.begin(), out.end(), [&](const Ipv4Subnet& s) {
                return s.network == subnet.network && s.prefix == subnet.prefix;
            }))
            out.push_back(subnet);
    }
    return out;
}

std::string Ipv4Subnet::text() const { return ipv4Text(network) + "/" + std::to_string(prefix); }

std::vector<std::string> Ipv4Subnet::hosts() const {
    std::vector<std::string> out;
    const std::uint64_t n = size();
    const std::uint64_t first = n > 2 ? 1 : 0;
    const std::uint64_t last = n > 2 ? n - 2 : n - 1;
    for (std::uint64_t i = first; i <= last; ++i)
        out.push_back(ipv4Text(network + static_cast<std::uint32_t>(i)));
    return out;
}

}  // namespace velmora::fleet
