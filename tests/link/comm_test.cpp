// The port object over scripted devices: port names, opening rules, write retries, reads and
// the transfer rule of each link kind.
#include <gtest/gtest.h>

#include "support/linkfixture.h"

namespace velmora::testing {
namespace {

using link::CComm;
using platform::StreamSocket;

TEST(CommOpen, PortNameChoosesKindAndDevice) {
    struct Case {
        const char* name;
        int opened;
        int kind;
        const char* device;
    };
    const Case cases[] = {
        {"COM1:", 1, link::kSerial, "/dev/ttyS0"},
        {"COM9:", 1, link::kSerial, "/dev/ttyS8"},
        {"COM10:", 1, link::kSerial, "/dev/ttyS9"},
        {"LPT2:", 1, link::kParallel, "/dev/lp1"},
        {"USB", 1, link::kUsb, "/dev/usb/lp0"},
        {"usb", 0, -1, ""},
        {"USB1", 0, -1, ""},
        {"ETHERNET", 1, link::kEthernet, "10.0.0.9:9100"},
        {"ETHERNET anything", 1, link::kEthernet, "10.0.0.9:9100"},
        {"ETHERNE", 0, -1, ""},
        {"", 0, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedLink l;
        l.comm.kind = link::kParallel;  // names that open nothing leave the kind as it was
        l.comm.socket.SetTarget("10.0.0.9", 9100);
        l.comm.baudRate = 115200;
        l.comm.portName = c.name;
        EXPECT_EQ(l.comm.Open(), c.opened);
        EXPECT_EQ(l.comm.kind, c.kind < 0 ? link::kParallel : c.kind);
        if (c.opened) {
            ASSERT_FALSE(l.script.openedPaths.empty());
            EXPECT_EQ(l.script.openedPaths.back(), c.device);
        } else {
            EXPECT_TRUE(l.script.openedPaths.empty());
        }
    }
}

TEST(CommOpen, SerialSettlesConfiguresAndSetsWriteTimeoutByBaud) {
    const std::pair<unsigned, unsigned> bauds[] = {{9600, 2}, {19200, 1}, {38400, 0}, {115200, 0}};
    for (auto [baud, msPerByte] : bauds) {
        ScriptedLink l;
        l.comm.portName = "COM1:";
        l.comm.baudRate = baud;
        l.comm.dataBits = 7;
        l.comm.parity = 2;
        l.comm.stopBits = 2;
        ASSERT_EQ(l.comm.Open(), 1);
        EXPECT_EQ(l.clock.pauses(), (std::vector<unsigned>{100, 100}));
        ASSERT_TRUE(l.script.settings);
        EXPECT_EQ(l.script.settings->baudRate, baud);
        EXPECT_EQ(l.script.settings->dataBits, 7);
        EXPECT_EQ(l.script.settings->parity, 2);
        EXPECT_EQ(l.script.settings->stopBits, 2);
        EXPECT_EQ(l.script.writeTimeoutMsPerByte, msPerByte);
        EXPECT_EQ(l.script.purges, 1);
    }
}

TEST(CommOpen, SerialThatIsNotReadyFailsAndIsLetGoAtOnce) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    l.comm.baudRate = 9600;
    l.script.lines = {true, true, false};  // DSR low
    EXPECT_EQ(l.comm.Open(), 0);
    EXPECT_EQ(l.comm.handle(), nullptr);
    EXPECT_EQ(l.script.closes, 1);
    l.script.lines = {};
    l.script.configureFails = true;
    EXPECT_EQ(l.comm.Open(), 0);
    EXPECT_EQ(l.comm.handle(), nullptr);
    EXPECT_EQ(l.script.closes, 2);
    l.script.configureFails = false;

    // A port that cannot report its lines (a pseudo-terminal) opens.
    l.script.lines = {};
    EXPECT_EQ(l.comm.Open(), 1);
}

TEST(CommOpen, ParallelNeedsExactlyReadyStatus) {
    const std::pair<std::optional<std::uint8_t>, int> cases[] = {
        {0x80, 1}, {0x80 | 0x04, 0}, {0x40, 0}, {0x00, 0}, {std::nullopt, 0}};
    for (auto [status, opened] : cases) {
        ScriptedLink l;
        l.comm.portName = "LPT1:";
        l.script.status = status;
        EXPECT_EQ(l.comm.Open(), opened);
        EXPECT_EQ(l.comm.handle() != nullptr, opened == 1);
        EXPECT_EQ(l.script.opens - l.script.closes, opened);
    }
}

struct RetryCase {
    const char* what;
    std::vector<long> script;  // accepted per call
    int result;
    std::vector<unsigned> pauses;
    bool message111;
};

// Printed by its description, not as the bytes of the struct.
void PrintTo(const RetryCase& c, std::ostream* os) { *os << c.what; }

class CommWriteRetries : public ::testing::TestWithParam<RetryCase> {};

TEST_P(CommWriteRetries, ProgressDecides) {
    const RetryCase& c = GetParam();
    ScriptedLink l;
    l.comm.portName = "COM1:";
    l.comm.baudRate = 115200;
    ASSERT_EQ(l.comm.Open(), 1);
    l.clock.clearPauses();
    l.script.writeScript.assign(c.script.begin(), c.script.end());
    EXPECT_EQ(l.write("0123456789"), c.result);
    EXPECT_EQ(l.clock.pauses(), c.pauses);
    EXPECT_EQ(l.messages.shown, c.message111 ? std::vector<int>{111} : std::vector<int>{});
    if (c.result) {
        EXPECT_EQ(l.script.written(), "0123456789");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommWriteRetries,
    ::testing::Values(RetryCase{"whole at once", {}, 1, {}, false},
                      RetryCase{"partial progress each retry", {3, 2, 2, 3}, 1, {10, 10, 10}, false},
                      RetryCase{"error then done", {-1, 10}, 1, {10}, false},
                      RetryCase{"never any progress", {0, 0, 0, 0}, 0, {10, 10, 10}, true},
                      RetryCase{"short by one byte at the end", {5, 2, 2, 0}, 0, {10, 10, 10}, true}),
    [](const auto& info) {
        std::string n = info.param.what;
        for (auto& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(CommWrite, RetriesResumeAtTheFirstUnwrittenByte) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    l.comm.baudRate = 115200;
    ASSERT_EQ(l.comm.Open(), 1);
    l.script.writeScript = {4, 3, 3};
    EXPECT_EQ(l.write("abcdefghij"), 1);
    EXPECT_EQ(l.script.writeSizes, (std::vector<std::size_t>{10, 6, 3}));
    EXPECT_EQ(l.script.writes, (std::vector<std::string>{"abcd", "efg", "hij"}));
}

TEST(CommWrite, TextIsConvertedToTheCodePage) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    l.comm.baudRate = 115200;
    ASSERT_EQ(l.comm.Open(), 1);
    EXPECT_EQ(l.write("\xC3\xA9\xE2\x82\xAC\r"), 1);  // é € CR
    EXPECT_EQ(l.script.written(), "\xE9\x80\r");
    // An empty text writes nothing and still succeeds on a device link.
    l.script.writes.clear();
    EXPECT_EQ(l.write(""), 1);
    EXPECT_EQ(l.script.written(), "");
}

TEST(CommRead, ThreeAttemptsThenNothing) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    l.comm.baudRate = 115200;
    ASSERT_EQ(l.comm.Open(), 1);
    l.clock.clearPauses();
    EXPECT_EQ(l.read(2), "");
    EXPECT_EQ(l.script.reads, 3);
    EXPECT_EQ(l.clock.pauses(), (std::vector<unsigned>{1, 1, 1}));
    EXPECT_TRUE(l.messages.shown.empty());

    l.script.readScript = {"", "AB"};
    EXPECT_EQ(l.read(2), "AB");
    EXPECT_EQ(l.script.reads, 5);
}

TEST(CommRead, FailedSerialReadShowsMessage110ButParallelDoesNot) {
    for (const char* port : {"COM1:", "LPT1:"}) {
        ScriptedLink l;
        l.comm.portName = port;
        l.comm.baudRate = 115200;
        ASSERT_EQ(l.comm.Open(), 1);
        l.script.readScript = {std::nullopt, std::nullopt, std::nullopt};
        EXPECT_EQ(l.read(2), "");
        EXPECT_EQ(l.messages.shown, std::string(port) == "COM1:" ? std::vector<int>{110} : std::vector<int>{});
    }
}

TEST(CommUsb, EachTransferReopensUnlessKeepOpen) {
    ScriptedLink l;
    l.comm.portName = "USB";
    ASSERT_EQ(l.comm.Open(), 1);
    EXPECT_EQ(l.comm.modelIndex, 5);
    EXPECT_EQ(l.comm.devicePath, usbPathOfModel(5));
    l.script.readScript = {"R"};
    EXPECT_EQ(l.write("A"), 1);
    EXPECT_EQ(l.read(1), "R");
    EXPECT_EQ(l.script.opens, 3);  // connect, write, read
    EXPECT_EQ(l.script.closes, 3);
    EXPECT_EQ(l.comm.handle(), nullptr);

    l.comm.keepOpen = true;
    ASSERT_EQ(l.comm.Open(), 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(l.write("B"), 1);
    EXPECT_EQ(l.script.opens, 4);
    EXPECT_NE(l.comm.handle(), nullptr);
    l.comm.Close();
    l.comm.keepOpen = false;
    EXPECT_EQ(l.script.closes, 4);
}

TEST(CommUsb, UnpluggedPrinterFailsWritesWithMessageAndReadsWithNothing) {
    ScriptedLink l;
    l.comm.portName = "USB";
    ASSERT_EQ(l.comm.Open(), 1);
    l.factory.usbPresent = false;
    EXPECT_EQ(l.write("A"), 0);
    EXPECT_EQ(l.messages.shown, std::vector<int>{111});
    EXPECT_EQ(l.read(2), "");
    EXPECT_EQ(l.messages.shown, std::vector<int>{111});
}

class CommEthernet : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "ETHERNET";
        l.comm.socket.SetTarget("127.0.0.1", 9100);
    }
    ScriptedLink l;
};

TEST_F(CommEthernet, ConnectionIsMadeOnceAndReusedUntilCloseTcp) {
    ASSERT_EQ(l.comm.Open(), 1);
    EXPECT_EQ(l.write("^cp\r"), 4);
    EXPECT_EQ(l.clock.pauses(), std::vector<unsigned>{50});
    EXPECT_EQ(l.comm.Open(), 1);
    l.comm.Close();  // leaves the connection up
    EXPECT_TRUE(l.comm.socket.connected);
    EXPECT_EQ(l.factory.socketsMade, 1);

    l.comm.CloseTcp();
    EXPECT_FALSE(l.comm.socket.connected);
    EXPECT_EQ(l.comm.Open(), 1);
    EXPECT_EQ(l.factory.socketsMade, 2);
}

TEST_F(CommEthernet, ReadsAtMost32BytesPerCall) {
    l.factory.prepareSocket = [](ScriptedSocket& s) { s.receiveScript = {std::string(100, 'x'), "ab"}; };
    ASSERT_EQ(l.comm.Open(), 1);
    std::uint8_t buf[512];
    EXPECT_EQ(l.comm.ReadBytes(buf, 512), 32);
    EXPECT_EQ(l.comm.ReadBytes(buf, 2), 2);
}

TEST_F(CommEthernet, FailuresGiveTheirMessagesAndZero) {
    struct Case {
        StreamSocket::ConnectResult result;
        int message;
    };
    for (auto c : {Case{StreamSocket::ConnectResult::ConnectFailed, 150},
                   Case{StreamSocket::ConnectResult::CreateFailed, 149}}) {
        ScriptedLink f;
        f.comm.portName = "ETHERNET";
        f.factory.prepareSocket = [&](ScriptedSocket& s) { s.connectResult = c.result; };
        EXPECT_EQ(f.comm.Open(), 0);
        EXPECT_EQ(f.messages.shown, std::vector<int>{c.message});
        EXPECT_FALSE(f.comm.socket.connected);
        // A write on a link that never connected fails again, without ending anything.
        EXPECT_EQ(f.write("^cp\r"), 0);
    }
}

TEST_F(CommEthernet, ShortOrFailedSendIsAFailureAndEmptyTextSendsNothing) {
    l.factory.prepareSocket = [](ScriptedSocket& s) { s.sendScript = {3, -1}; };
    ASSERT_EQ(l.comm.Open(), 1);
    EXPECT_EQ(l.write("^cp\r"), 0);
    EXPECT_EQ(l.write("^cp\r"), 0);
    EXPECT_EQ(l.write(""), 0);
    EXPECT_EQ(l.script.writeSizes.size(), 2u);
    EXPECT_TRUE(l.clock.pauses().empty());
}

TEST_F(CommEthernet, OneWriteInPiecesIsTheSameBytesWithOnePause) {
    std::string bytes(10, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xF0 + i);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    ASSERT_EQ(l.comm.Open(), 1);
    std::vector<std::size_t> after;
    auto record = [&](std::size_t written) { after.push_back(written); };
    EXPECT_EQ(l.comm.WriteBytesInPieces(data, bytes.size(), 4, record), 10);
    EXPECT_EQ(l.script.writeSizes, (std::vector<std::size_t>{4, 4, 2}));
    EXPECT_EQ(l.script.written(), bytes);
    EXPECT_EQ(after, (std::vector<std::size_t>{4, 8, 10}));
    EXPECT_EQ(l.clock.pauses(), std::vector<unsigned>{50});

    // A piece that does not go fails the whole write: nothing more is sent, and no pause.
    ScriptedLink f;
    f.comm.portName = "ETHERNET";
    f.factory.prepareSocket = [](ScriptedSocket& s) { s.sendScript = {4, 1}; };
    ASSERT_EQ(f.comm.Open(), 1);
    after.clear();
    EXPECT_EQ(f.comm.WriteBytesInPieces(data, bytes.size(), 4, record), 0);
    EXPECT_EQ(f.script.writeSizes, (std::vector<std::size_t>{4, 4}));
    EXPECT_EQ(after, std::vector<std::size_t>{4});
    EXPECT_TRUE(f.clock.pauses().empty());
    EXPECT_EQ(f.messages.shown, std::vector<int>{111});
}

}  // namespace
}  // namespace velmora::testing
