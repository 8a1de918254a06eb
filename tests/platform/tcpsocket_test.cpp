// TcpSocket (the Ethernet link) against TcpListener (the simulator's end) on loopback.
#include "platform/tcpsocket.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <netdb.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/filereader.h"
#include "platform/server.h"

namespace velmora::platform {
namespace {

using Clock = std::chrono::steady_clock;
using Result = StreamSocket::ConnectResult;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

long sendText(StreamSocket& s, const std::string& text, unsigned timeoutMs = 1000) {
    return s.send(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), timeoutMs);
}

std::string receiveText(StreamSocket& s, std::size_t want, unsigned timeoutMs = 1000) {
    std::string got;
    std::uint8_t buf[4096];
    while (got.size() < want) {
        const long n = s.receive(buf, std::min(sizeof buf, want - got.size()), timeoutMs);
        if (n <= 0) break;
        got.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
    }
    return got;
}

// A connected pair: `client` as the port object holds it, `server` as the simulator accepted it.
class TcpPair : public ::testing::Test {
protected:
    void SetUp() override {
        // Without MSG_NOSIGNAL a send to a closed peer would end this process.
        std::signal(SIGPIPE, SIG_DFL);
        ASSERT_TRUE(listener_.listen("127.0.0.1", 0)) << listener_.error();
        ASSERT_GT(listener_.port(), 0u);
        ASSERT_EQ(client_.connect("127.0.0.1", listener_.port(), 2000), Result::Ok);
        server_ = listener_.accept(2000);
        ASSERT_NE(server_, nullptr);
    }
    void TearDown() override { setWaitHook(nullptr); }

    TcpListener listener_;
    TcpSocket client_;
    std::unique_ptr<StreamSocket> server_;
};

// A name lookup that hangs costs no more than the connect bound; one that answers connects.
TEST(TcpConnect, TheBoundCoversTheNameLookup) {
    TcpListener listener;
    ASSERT_TRUE(listener.listen("127.0.0.1", 0)) << listener.error();
    auto release = std::make_shared<std::promise<void>>();
    std::shared_future<void> released = release->get_future().share();
    TcpSocket hanging;
    hanging.setResolver([released](const std::string&, const std::string& service, addrinfo** found) {
        released.wait();  // a resolver that does not answer
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        return getaddrinfo("127.0.0.1", service.c_str(), &hints, found);
    });
    const auto start = Clock::now();
    EXPECT_EQ(hanging.connect("printer.example", listener.port(), 300), Result::ConnectFailed);
    EXPECT_LT(msSince(start), 1000);
    release->set_value();  // the abandoned lookup ends and frees its own result

    TcpSocket answered;
    answered.setResolver([](const std::string&, const std::string& service, addrinfo** found) {
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        return getaddrinfo("127.0.0.1", service.c_str(), &hints, found);
    });
    EXPECT_EQ(answered.connect("printer.example", listener.port(), 2000), Result::Ok);
}

// A reset or close by the peer shows once the send is done; a live peer does not.
TEST_F(TcpPair, PeerGoneShowsACloseAfterTheSend) {
    EXPECT_FALSE(client_.peerGone());
    EXPECT_EQ(sendText(client_, "abc"), 3);
    EXPECT_FALSE(client_.peerGone());
    server_->close();
    const auto start = Clock::now();
    while (!client_.peerGone() && msSince(start) < 1000) std::this_thread::yield();
    EXPECT_TRUE(client_.peerGone());
}

TEST_F(TcpPair, CarriesBytesBothWays) {
    EXPECT_TRUE(client_.isOpen());
    EXPECT_TRUE(server_->isOpen());
    const std::string command("^XA^HH^XZ\r\n\0\xFF", 13);
    EXPECT_EQ(sendText(client_, command), 13);
    EXPECT_EQ(receiveText(*server_, command.size()), command);
    EXPECT_EQ(sendText(*server_, "OK"), 2);
    EXPECT_EQ(receiveText(client_, 2), "OK");
}

TEST_F(TcpPair, ReceiveReturnsWhatArrivedWithoutWaitingForMore) {
    EXPECT_EQ(sendText(*server_, "AB"), 2);
    std::uint8_t buf[32];
    const auto start = Clock::now();
    EXPECT_EQ(client_.receive(buf, sizeof buf, 3000), 2);
    EXPECT_LT(msSince(start), 1000);
}

TEST_F(TcpPair, ReceiveFromASilentPeerReturnsZeroAtItsBound) {
    std::uint8_t buf[32];
    const auto start = Clock::now();
    EXPECT_EQ(client_.receive(buf, sizeof buf, 150), 0);
    const auto ms = msSince(start);
    EXPECT_GE(ms, 140);
    EXPECT_LT(ms, 1000);
    EXPECT_TRUE(client_.isOpen());
}

TEST_F(TcpPair, ReceiveAfterThePeerClosedReturnsZeroAtOnce) {
    server_->close();
    EXPECT_FALSE(server_->isOpen());
    std::uint8_t buf[32];
    const auto start = Clock::now();
    EXPECT_EQ(client_.receive(buf, sizeof buf, 3000), 0);
    EXPECT_LT(msSince(start), 1000);
}

TEST_F(TcpPair, SendToAClosedPeerFailsWithoutSigpipe) {
    server_.reset();
    const std::vector<std::uint8_t> data(64 * 1024, 'z');
    long result = 0;
    // The first send may still be taken by the kernel; the reset that answers it fails the next.
    for (int i = 0; i < 50; ++i) {
        result = client_.send(data.data(), data.size(), 500);
        if (result != static_cast<long>(data.size())) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_LT(result, static_cast<long>(data.size()));
    EXPECT_EQ(client_.send(data.data(), data.size(), 500), -1);
}

TEST_F(TcpPair, SendToAPeerThatNeverReadsEndsAtItsBound) {
    const std::vector<std::uint8_t> data(64 << 20, 'q');
    const auto start = Clock::now();
    const long sent = client_.send(data.data(), data.size(), 200);
    const auto ms = msSince(start);
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, static_cast<long>(data.size()));
    EXPECT_GE(ms, 190);
    EXPECT_LT(ms, 2000);
}

TEST_F(TcpPair, SixtyFourMegabytesCrossLoopback) {
    std::vector<std::uint8_t> data(64 << 20);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31 + (i >> 12));
    std::size_t received = 0;
    bool same = true;
    std::thread reader([&] {
        std::vector<std::uint8_t> buf(1 << 16);
        while (received < data.size()) {
            const long n = server_->receive(buf.data(), buf.size(), 5000);
            if (n <= 0) break;
            same = same && std::memcmp(buf.data(), data.data() + received, static_cast<std::size_t>(n)) == 0;
            received += static_cast<std::size_t>(n);
        }
    });
    const auto start = Clock::now();
    const long sent = client_.send(data.data(), data.size(), 30000);
    reader.join();
    EXPECT_EQ(sent, static_cast<long>(data.size()));
    EXPECT_EQ(received, data.size());
    EXPECT_TRUE(same);
    EXPECT_LT(msSince(start), 20000);
}

// A file sent straight from the file: its bytes arrive whole and in order, a file that shrinks
// under the send is named as changed, and a peer that closed fails the send without SIGPIPE
// (this test program does not ignore it).
TEST_F(TcpPair, SendFileCarriesTheFileAndFailsCleanly) {
    const std::string path = ::testing::TempDir() + "velmora-sendfile-" + std::to_string(::getpid());
    std::string bytes(3u << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 13 + (i >> 10));
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    FileReader file;
    ASSERT_TRUE(file.open(path));
    std::string got;
    std::thread reader([&] { got = receiveText(*server_, bytes.size() - 100, 5000); });
    EXPECT_EQ(client_.sendFile(file, 100, bytes.size() - 100, 5000), static_cast<long>(bytes.size() - 100));
    reader.join();
    EXPECT_TRUE(got == bytes.substr(100)) << "the bytes differ";
    EXPECT_FALSE(file.changed());

    ASSERT_EQ(::truncate(path.c_str(), 1000), 0);
    EXPECT_EQ(client_.sendFile(file, 0, 4096, 500), -1);
    EXPECT_TRUE(file.changed());

    FileReader again;
    ASSERT_TRUE(again.open(path));
    server_.reset();
    long result = 0;
    for (int i = 0; i < 50 && result != -1; ++i) {
        result = client_.sendFile(again, 0, 1000, 500);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(client_.sendFile(again, 0, 1000, 500), -1);  // the broken pipe itself
    EXPECT_FALSE(again.changed());
    std::remove(path.c_str());
}

TEST_F(TcpPair, WaitsRunTheWindowHookOnlyOnTheProgramSide) {
    std::atomic<int> calls{0};
    setWaitHook([&] { ++calls; });
    std::uint8_t buf[8];
    EXPECT_EQ(client_.receive(buf, sizeof buf, 100), 0);
    EXPECT_GE(calls.load(), 3);  // about every 15 ms

    calls = 0;
    EXPECT_EQ(server_->receive(buf, sizeof buf, 100), 0);
    EXPECT_EQ(calls.load(), 0);  // the simulator's side never repaints the window
}

TEST_F(TcpPair, ClosedSocketRefusesTransfers) {
    client_.close();
    EXPECT_FALSE(client_.isOpen());
    std::uint8_t buf[4] = {};
    EXPECT_EQ(client_.send(buf, sizeof buf, 100), -1);
    EXPECT_EQ(client_.receive(buf, sizeof buf, 100), -1);
}

TEST(TcpSocket, ConnectToAClosedPortFailsQuickly) {
    unsigned port = 0;
    {
        TcpListener probe;
        ASSERT_TRUE(probe.listen("127.0.0.1", 0)) << probe.error();
        port = probe.port();
    }
    TcpSocket socket;
    const auto start = Clock::now();
    EXPECT_EQ(socket.connect("127.0.0.1", port, 3000), Result::ConnectFailed);
    EXPECT_LT(msSince(start), 1000);
    EXPECT_FALSE(socket.isOpen());
    EXPECT_EQ(socket.connectError(), ECONNREFUSED);  // what the window's bottom line then says
}

TEST(TcpSocket, ConnectRefusesBadPorts) {
    TcpSocket socket;
    EXPECT_EQ(socket.connect("127.0.0.1", 70000, 300), Result::ConnectFailed);
}

TEST(TcpSocket, ConnectsOverIpv6Loopback) {
    TcpListener listener;
    if (!listener.listen("::1", 0)) GTEST_SKIP() << "no IPv6 loopback here: " << listener.error();
    TcpSocket client;
    ASSERT_EQ(client.connect("::1", listener.port(), 2000), Result::Ok);
    auto server = listener.accept(2000);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(sendText(client, "v6"), 2);
    EXPECT_EQ(receiveText(*server, 2), "v6");
}

TEST(TcpListener, AcceptWithoutAClientReturnsNothingAtItsBound) {
    TcpListener listener;
    ASSERT_TRUE(listener.listen("127.0.0.1", 0)) << listener.error();
    const auto start = Clock::now();
    EXPECT_EQ(listener.accept(100), nullptr);
    const auto ms = msSince(start);
    EXPECT_GE(ms, 90);
    EXPECT_LT(ms, 1000);
}

TEST(TcpListener, SecondListenerOnATakenPortFailsWithAReason) {
    TcpListener first;
    ASSERT_TRUE(first.listen("127.0.0.1", 0)) << first.error();
    TcpListener second;
    EXPECT_FALSE(second.listen("127.0.0.1", first.port()));
    EXPECT_FALSE(second.error().empty());
    EXPECT_FALSE(second.listen("not an address", 0));
    EXPECT_FALSE(second.error().empty());
}

TEST(TcpListener, ServesClientAfterClient) {
    TcpListener listener;
    ASSERT_TRUE(listener.listen("127.0.0.1", 0)) << listener.error();
    for (int i = 0; i < 3; ++i) {
        TcpSocket client;
        ASSERT_EQ(client.connect("127.0.0.1", listener.port(), 2000), Result::Ok);
        auto server = listener.accept(2000);
        ASSERT_NE(server, nullptr);
        EXPECT_EQ(sendText(client, "^cp\r"), 4);
        EXPECT_EQ(receiveText(*server, 4), "^cp\r");
    }
    listener.close();
    EXPECT_EQ(listener.port(), 0u);
    EXPECT_EQ(listener.accept(10), nullptr);
}

TEST(SystemDevices, MakesTheRealDevices) {
    DeviceFactory& devices = systemDevices();
    EXPECT_EQ(&devices, &systemDevices());
    EXPECT_NE(devices.makeSerial(), nullptr);
    EXPECT_NE(devices.makeParallel(), nullptr);
    EXPECT_NE(devices.makeSocket(), nullptr);
    EXPECT_NE(devices.makeUsb(), nullptr);
}

}  // namespace
}  // namespace velmora::platform
