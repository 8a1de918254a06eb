// The front ends over real links: a TCP client on an ephemeral loopback port and a client on the
// pseudo-terminal's slave. Every wait is bounded; a missing reply costs at most a fraction of a second.
#include "sim/server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sim/printer.h"
#include "support/simclients.h"

namespace velmora::sim {
namespace {

// The behaviour every front end shares, run over each of them.
class FrontEnd : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        printer.setStatusBytes(0x80, 0x40);
        server.setTiming({1000, 100});
        std::string why;
        client = connectClient(server, GetParam(), why);
        ASSERT_TRUE(client) << why;
    }

    Printer printer;
    Server server{printer};
    std::unique_ptr<Client> client;
};

TEST_P(FrontEnd, QueriesAreAnswered) {
    client->send("^cp\r");
    EXPECT_EQ(client->receive(2, kReplyWaitMs), "\x80\x40");
    client->send("^c");
    client->send("u\r");
    EXPECT_EQ(client->receive(1, kReplyWaitMs), "\x80");
    EXPECT_EQ(printer.journal().commands(), (std::vector<std::string>{"^cp", "^cu"}));
}

TEST_P(FrontEnd, DelayedReplyArrivesLate) {
    printer.setDelayMs(150);
    client->send("^cp\r");
    EXPECT_EQ(client->receive(2, kQuietWaitMs), "");
    EXPECT_EQ(client->receive(2, kReplyWaitMs), "\x80\x40");
}

TEST_P(FrontEnd, StopIsPromptWithClientAttached) {
    client->send("^cp\r");
    ASSERT_EQ(client->receive(2, kReplyWaitMs).size(), 2u);
    const auto start = Clock::now();
    server.stop();
    EXPECT_LT(msSince(start), 500);
}

// A header that promises image bytes which never come would leave the printer deaf for good;
// after a silence it gives the image up and answers again.
TEST_P(FrontEnd, AnImageThatNeverComesIsGivenUp) {
    client->send("IS100000,'LOGO'");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    client->send("^cp\r");
    EXPECT_EQ(client->receive(2, kReplyWaitMs), "\x80\x40");
}

INSTANTIATE_TEST_SUITE_P(Links, FrontEnd, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Tcp" : "PseudoTerminal"; });

TEST(TcpFrontEnd, ServesClientsSideBySideUpToTheLimit) {
    Printer printer;
    printer.setStatusBytes(0x00, 0x20);
    Server server(printer);
    const unsigned port = server.startTcp(0);
    ASSERT_NE(port, 0u);

    // An idle client, one with half a command sent, and a full house of idle ones.
    std::vector<std::unique_ptr<TcpClient>> clients;
    for (std::size_t i = 0; i < Server::kMaxTcpClients; ++i) {
        clients.push_back(std::make_unique<TcpClient>(port));
        ASSERT_TRUE(clients.back()->connected);
    }
    clients[0]->send("^XA\r\n^PR6,6\r\n\x1b\x1c?\x05^c");
    EXPECT_EQ(clients[0]->receive(1, kReplyWaitMs), "6");

    // The last of them is answered while the others say nothing, and shares the one printer
    // (its settings) but not the first one's open format or half command.
    TcpClient& last = *clients.back();
    last.send("^cu\r");
    EXPECT_EQ(last.receive(1, kReplyWaitMs), std::string(1, '\0'));
    last.send("^XA^PW400^XZ\r\n^PR2,2\r\n\x1b\x1c?\x01\x1b\x1c?\x05");
    EXPECT_EQ(last.receive(4, kReplyWaitMs), "4006");
    clients[0]->send("p\r^PR3,3\r\n\x1b\x1c?\x05");
    EXPECT_EQ(clients[0]->receive(3, kReplyWaitMs), std::string("\x00\x20" "3", 3));

    // One more is closed at once rather than left waiting.
    TcpClient extra(port);
    extra.send("^cp\r");
    auto start = Clock::now();
    EXPECT_EQ(extra.receive(2, kReplyWaitMs), "");
    EXPECT_LT(msSince(start), kReplyWaitMs / 2) << "closed, not silent";

    // Once a client leaves, a newcomer is served (its place frees within a wait slice or two).
    clients.pop_back();
    std::string reply;
    start = Clock::now();
    while (reply.empty() && msSince(start) < kReplyWaitMs) {
        TcpClient next(port);
        next.send("^cu\r");
        reply = next.receive(1, kReplyWaitMs / 4);
    }
    EXPECT_EQ(reply, std::string(1, '\0'));
}

TEST(TcpFrontEnd, DropAfterBytesClosesTheConnection) {
    Printer printer;
    printer.setDropAfterBytes(3);
    Server server(printer);
    const unsigned port = server.startTcp(0);
    ASSERT_NE(port, 0u);

    for (int connection = 0; connection < 2; ++connection) {
        TcpClient client(port);
        client.send("^cp\r");
        const auto start = Clock::now();
        EXPECT_EQ(client.receive(2, kReplyWaitMs), "");
        EXPECT_LT(msSince(start), kReplyWaitMs / 2) << "closed, not silent";
    }
    // Each connection counts afresh; the bytes up to the limit reached the printer.
    EXPECT_EQ(printer.journal().tail(), "^cp^cp");
}

}  // namespace
}  // namespace velmora::sim
