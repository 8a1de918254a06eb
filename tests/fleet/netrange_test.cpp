// Subnets as users write them, and the addresses a scan of one tries.
#include "fleet/netrange.h"

#include <gtest/gtest.h>

namespace velmora::fleet {
namespace {

TEST(Subnet, TextIsReadOrRefusedWithWhy) {
    const struct {
        const char* text;
        const char* subnet;  // nullptr: refused
        const char* why;     // part of the refusal
    } cases[] = {
        {"192.168.1.0/24", "192.168.1.0/24", nullptr},
        {"192.168.1.77/24", "192.168.1.0/24", nullptr},  // host bits cleared
        {"10.0.4.0/22", "10.0.4.0/22", nullptr},
        {"10.0.5.9/22", "10.0.4.0/22", nullptr},
        {"127.0.0.9", "127.0.0.9/32", nullptr},
        {"10.0.0.0/21", nullptr, "too wide"},
        {"10.0.0.0/8", nullptr, "too wide"},
        {"10.0.0.0/33", nullptr, "no subnet"},
        {"10.0.0.0/", nullptr, "no subnet"},
        {"10.0.0/24", nullptr, "no subnet"},
        {"10.0.0.256/24", nullptr, "no subnet"},
        {"10.0.0.1.2/32", nullptr, "no subnet"},
        {"printer.local/24", nullptr, "no subnet"},
        {" 10.0.0.0/24", nullptr, "no subnet"},
        {"10.0.0.0/+24", nullptr, "no subnet"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto subnet = parseSubnet(c.text, error);
        if (c.subnet) {
            ASSERT_TRUE(subnet) << error;
            EXPECT_EQ(subnet->text(), c.subnet);
        } else {
            EXPECT_FALSE(subnet);
            EXPECT_NE(error.find(c.why), std::string::npos) << error;
        }
    }
}

TEST(Subnet, HostsLeaveOutTheNetworkAndBroadcastAddresses) {
    std::string error;
    const auto c24 = parseSubnet("127.0.0.0/24", error)->hosts();
    ASSERT_EQ(c24.size(), 254u);
    EXPECT_EQ(c24.front(), "127.0.0.1");
    EXPECT_EQ(c24.back(), "127.0.0.254");
    EXPECT_EQ(parseSubnet("10.0.4.0/22", error)->hosts().size(), 1022u);
    EXPECT_EQ(parseSubnet("10.0.0.4/31", error)->hosts(), (std::vector<std::string>{"10.0.0.4", "10.0.0.5"}));
    EXPECT_EQ(parseSubnet("10.0.0.4/32", error)->hosts(), (std::vector<std::string>{"10.0.0.4"}));
    EXPECT_EQ(parseSubnet("255.255.255.252/30", error)->hosts(),
              (std::vector<std::string>{"255.255.255.253", "255.255.255.254"}));
}

// The window proposes this computer's own networks, never one wider than a search takes.
TEST(Subnet, ProposalsAreTheComputersNetworksNarrowedToTheAddresss24) {
    std::vector<std::string> texts;
    for (const Ipv4Subnet& s : proposedSubnets({"192.168.1.7/24", "10.20.30.40/8", "192.168.1.9/24", "172.16.5.1/23",
                                                "no address", "10.0.0.1/33"}))
        texts.push_back(s.text());
    EXPECT_EQ(texts, (std::vector<std::string>{"192.168.1.0/24", "10.20.30.0/24", "172.16.4.0/23"}));
}

}  // namespace
}  // namespace velmora::fleet
