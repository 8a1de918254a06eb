// The address scan on loopback addresses only: a printer that answers, ports that take the
// connection and say nothing or close it, a host that never answers the connect, nothing at all.
#include "platform/netscan.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "platform/server.h"
#include "support/unanswering.h"

namespace velmora::platform {
namespace {

using Steady = std::chrono::steady_clock;
using Outcome = AddressProbe::Outcome;
using testing::Unanswering;

long long msSince(Steady::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
}

// A port on one loopback address that does one thing with each client, on a thread of its own.
class Peer {
  public:
    enum class Kind { Answer, Quiet, Close };
    Peer(const std::string& address, unsigned port, Kind kind) : kind_(kind) {
        ok = listener_.listen(address, port);
        thread_ = std::thread([this] {
            while (!stop_) {
                auto client = listener_.accept(20);
                if (!client) continue;
                if (kind_ == Kind::Close) continue;  // closed as it goes
                std::uint8_t buf[16];
                const long n = client->receive(buf, sizeof buf, 1000);
                {
                    const std::lock_guard lock(mutex_);
                    if (n > 0) heard.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
                }
                if (kind_ == Kind::Answer)
                    client->send(reinterpret_cast<const std::uint8_t*>("\x80\x00"), 2, 1000);
                kept_.push_back(std::move(client));  // a quiet one keeps the connection open
            }
        });
    }
    ~Peer() {
        stop_ = true;
        thread_.join();
    }
    unsigned port() const { return listener_.port(); }
    std::string heardText() {
        const std::lock_guard lock(mutex_);
        return heard;
    }
    bool ok = false;

  private:
    Kind kind_;
    TcpListener listener_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::string heard;
    std::vector<std::unique_ptr<StreamSocket>> kept_;
};

TEST(AddressScan, EachAddressGetsItsOutcomeAndOnlyPrintersThatTookTheConnectionHearTheQuery) {
    Peer printer("127.0.0.2", 0, Peer::Kind::Answer);
    ASSERT_TRUE(printer.ok);
    const unsigned port = printer.port();
    Peer quiet("127.0.0.3", port, Peer::Kind::Quiet);
    Peer closing("127.0.0.4", port, Peer::Kind::Close);
    Unanswering silent("127.0.0.5", port);
    ASSERT_TRUE(quiet.ok && closing.ok && silent.ok);

    const ProbeLimits limits{64, 300, 300, 2};
    const auto start = Steady::now();
    const auto probes =
        probeAddresses({"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5", "127.0.0.6", "printer.local"},
                       port, "^cp\r", limits);
    EXPECT_LT(msSince(start), 900);  // side by side: one bound, not one each
    ASSERT_EQ(probes.size(), 6u);
    const struct {
        Outcome outcome;
        const char* reply;
    } expected[] = {
        {Outcome::Replied, "\x80"},  // with its second byte, a zero
        {Outcome::NoReply, ""},     {Outcome::Closed, ""},      {Outcome::Silent, ""},
        {Outcome::Refused, ""},     {Outcome::Unreachable, ""},
    };
    for (std::size_t i = 0; i < probes.size(); ++i) {
        SCOPED_TRACE(probes[i].address);
        EXPECT_EQ(probes[i].outcome, expected[i].outcome);
    }
    EXPECT_EQ(probes[0].reply, std::string("\x80\x00", 2));
    EXPECT_EQ(probes[3].error, ETIMEDOUT);
    EXPECT_EQ(probes[4].error, ECONNREFUSED);
    EXPECT_EQ(printer.heardText(), "^cp\r");
    EXPECT_EQ(quiet.heardText(), "^cp\r");
}

TEST(AddressScan, AtMostTheGivenNumberAtATime) {
    Peer printer("127.0.0.7", 0, Peer::Kind::Answer);
    ASSERT_TRUE(printer.ok);
    Unanswering silent("127.0.0.8", printer.port());
    ASSERT_TRUE(silent.ok);
    const std::vector<std::string> four(4, "127.0.0.8");
    for (const auto& [parallel, least, most] : {std::tuple{4u, 280, 550}, std::tuple{2u, 580, 900}}) {
        SCOPED_TRACE(parallel);
        const auto start = Steady::now();
        const auto probes = probeAddresses(four, printer.port(), "^cp\r", {parallel, 300, 300, 2});
        const auto took = msSince(start);
        EXPECT_GE(took, least);
        EXPECT_LT(took, most);
        for (const auto& p : probes) EXPECT_EQ(p.outcome, Outcome::Silent);
    }
}

}  // namespace
}  // namespace velmora::platform
