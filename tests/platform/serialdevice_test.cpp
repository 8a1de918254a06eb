// The serial device against a real pseudo-terminal: the simulator's end (PseudoTerminal) plays
// the printer, the device opens the slave path as a client opens a serial port.
#include "platform/serialdevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/server.h"

namespace velmora::platform {
namespace {

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::string text(const std::uint8_t* p, long n) { return n > 0 ? std::string(p, p + n) : std::string(); }

class SerialOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty_.open());
        ASSERT_FALSE(pty_.slavePath().empty());
        ASSERT_TRUE(device_.open(pty_.slavePath()));
        ASSERT_TRUE(device_.configure(SerialSettings{9600, 8, 0, 0}));
    }

    // Bytes written on the master side reach the slave through the kernel's work queue, so they
    // may show up a moment later; every read itself must return at once.
    std::string readFromDevice(std::size_t want) {
        std::string got;
        const auto start = Clock::now();
        while (got.size() < want && msSince(start) < 2000) {
            std::uint8_t buf[256];
            const auto before = Clock::now();
            const long n = device_.read(buf, sizeof buf);
            EXPECT_LT(msSince(before), 50) << "read blocked";
            if (n < 0) break;
            got += text(buf, n);
            if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return got;
    }

    std::string readFromPty(std::size_t want) {
        std::string got;
        std::uint8_t buf[4096];
        while (got.size() < want) {
            const long n = pty_.read(buf, sizeof buf, 2000);
            if (n <= 0) break;
            got += text(buf, n);
        }
        return got;
    }

    PseudoTerminal pty_;
    SerialDevice device_;
};

TEST(SerialWriteTimeout, IsMillisecondsPerByteAtTheBaudRate) {
    const struct {
        unsigned baud;
        unsigned ms;
    } cases[] = {{0, 0}, {1200, 16}, {2400, 8}, {4800, 4}, {9600, 2}, {19200, 1}, {38400, 0}, {57600, 0}, {115200, 0}};
    for (const auto& c : cases) EXPECT_EQ(writeTimeoutMsPerByte(c.baud), c.ms) << c.baud;
}

TEST_F(SerialOverPty, AcceptsTheSettingsThePortObjectUses) {
    for (unsigned baud : {1200u, 2400u, 4800u, 9600u, 19200u, 38400u, 57600u, 115200u, 230400u}) {
        EXPECT_TRUE(device_.configure(SerialSettings{baud, 8, 0, 0})) << baud;
    }
    for (int parity : {0, 1, 2}) {
        for (int dataBits : {7, 8}) {
            for (int stopBits : {0, 1, 2}) {
                EXPECT_TRUE(device_.configure(SerialSettings{19200, dataBits, parity, stopBits}))
                    << dataBits << ' ' << parity << ' ' << stopBits;
            }
        }
    }
}

TEST_F(SerialOverPty, RefusesSettingsTermiosCannotDo) {
    EXPECT_FALSE(device_.configure(SerialSettings{12345, 8, 0, 0}));
    EXPECT_FALSE(device_.configure(SerialSettings{14400, 8, 0, 0}));
    EXPECT_FALSE(device_.configure(SerialSettings{0, 8, 0, 0}));
    EXPECT_FALSE(device_.configure(SerialSettings{9600, 9, 0, 0}));
    EXPECT_FALSE(device_.configure(SerialSettings{9600, 8, 5, 0}));
    EXPECT_FALSE(device_.configure(SerialSettings{9600, 8, 0, 3}));
}

TEST_F(SerialOverPty, PseudoTerminalCannotReportModemLines) {
    const ModemLines lines = device_.modemLines();
    EXPECT_FALSE(lines.known);
}

TEST_F(SerialOverPty, BytesWrittenReachThePrinterUnchanged) {
    // Raw mode: no CR/LF translation, no 8th-bit stripping, NUL and control bytes pass.
    const std::string command("^XA\r\n\x1B\x1C?\x01\x00\xFF\x7F\x03\x11\x13\n", 16);
    EXPECT_EQ(device_.write(reinterpret_cast<const std::uint8_t*>(command.data()), command.size()),
              static_cast<long>(command.size()));
    EXPECT_EQ(readFromPty(command.size()), command);
}

TEST_F(SerialOverPty, ReadReturnsAtOnceWithWhatIsBuffered) {
    std::uint8_t buf[64];
    const auto start = Clock::now();
    EXPECT_EQ(device_.read(buf, sizeof buf), 0);
    EXPECT_LT(msSince(start), 50);

    const std::string reply("OK\r\n\x00\xFE", 6);
    ASSERT_EQ(pty_.write(reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size(), 1000), 6);
    EXPECT_EQ(readFromDevice(reply.size()), reply);
}

TEST_F(SerialOverPty, LargeTransfersArriveWhole) {
    std::string data;
    for (int i = 0; i < 200000; ++i) data += static_cast<char>(i * 7);
    std::string received;
    std::thread reader([&] { received = readFromPty(data.size()); });
    device_.setWriteTimeout(0);
    const long written = device_.write(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    reader.join();
    EXPECT_EQ(written, static_cast<long>(data.size()));
    EXPECT_TRUE(received == data) << received.size() << " of " << data.size() << " bytes";
}

TEST_F(SerialOverPty, WriteToAStalledPortEndsAfterItsTimeOut) {
    // Nobody reads the master: the terminal's buffers fill, then a write has to wait.
    ASSERT_TRUE(device_.setWriteTimeout(1));
    const std::vector<std::uint8_t> chunk(200, 'x');  // a 200 ms time-out per write
    long last = 0;
    long long lastMs = 0;
    for (int i = 0; i < 10000; ++i) {
        const auto start = Clock::now();
        last = device_.write(chunk.data(), chunk.size());
        lastMs = msSince(start);
        if (last != static_cast<long>(chunk.size())) break;
    }
    EXPECT_GE(last, 0);
    EXPECT_LT(last, static_cast<long>(chunk.size()));
    EXPECT_GE(lastMs, 150);
    EXPECT_LT(lastMs, 1500);
}

TEST_F(SerialOverPty, WriteWithoutTimeOutIsStillBounded) {
    ASSERT_TRUE(device_.setWriteTimeout(0));  // fast baud rates: max(2000 ms, 1 ms per byte)
    const std::vector<std::uint8_t> chunk(1000, 'y');  // bound: 2000 ms
    long last = 0;
    long long lastMs = 0;
    for (int i = 0; i < 10000; ++i) {
        const auto start = Clock::now();
        last = device_.write(chunk.data(), chunk.size());
        lastMs = msSince(start);
        if (last != static_cast<long>(chunk.size())) break;
    }
    EXPECT_LT(last, static_cast<long>(chunk.size()));
    EXPECT_GE(lastMs, 1900);
    EXPECT_LT(lastMs, 3500);
}

TEST_F(SerialOverPty, TimeOutsOfATransferBoundReadsAndWrites) {
    // A read waits for all its bytes until its total time-out, then gives what came.
    ASSERT_TRUE(device_.setTimeouts({0, 1, 200, 1, 300}));
    ASSERT_EQ(pty_.write(reinterpret_cast<const std::uint8_t*>("abc"), 3, 1000), 3);
    std::uint8_t buf[8];
    auto start = Clock::now();
    EXPECT_EQ(device_.read(buf, sizeof buf), 3);
    EXPECT_GE(msSince(start), 190);
    EXPECT_LT(msSince(start), 1500);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 3), "abc");

    // Nobody reads the master: a write of 200 bytes waits 200 × 1 + 300 ms, then ends.
    const std::vector<std::uint8_t> chunk(200, 'x');
    long last = 0;
    long long lastMs = 0;
    for (int i = 0; i < 10000 && last >= 0; ++i) {
        start = Clock::now();
        last = device_.write(chunk.data(), chunk.size());
        lastMs = msSince(start);
        if (last != static_cast<long>(chunk.size())) break;
    }
    EXPECT_LT(last, static_cast<long>(chunk.size()));
    EXPECT_GE(lastMs, 450);
    EXPECT_LT(lastMs, 2500);

    // The port's own time-outs again: reads return at once.
    ASSERT_TRUE(device_.setWriteTimeout(0));
    start = Clock::now();
    EXPECT_EQ(device_.read(buf, sizeof buf), 0);
    EXPECT_LT(msSince(start), 50);
}

TEST_F(SerialOverPty, PurgeDropsWhatWasReceived) {
    const std::uint8_t stale[] = {'o', 'l', 'd'};
    ASSERT_EQ(pty_.write(stale, sizeof stale, 1000), 3);
    // Let the bytes reach the slave's input before dropping them.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(device_.purge());
    std::uint8_t buf[16];
    EXPECT_EQ(device_.read(buf, sizeof buf), 0);
}

TEST_F(SerialOverPty, PurgeAndCloseKeepTheLastWriteThePrinterHasNotReadYet) {
    // The port object purges when it closes, right after a program's last command.
    const std::string command("^MBA\x02\r", 6);
    ASSERT_EQ(device_.write(reinterpret_cast<const std::uint8_t*>(command.data()), command.size()), 6);
    EXPECT_TRUE(device_.purge());
    device_.close();
    EXPECT_EQ(readFromPty(command.size()), command);
}

TEST_F(SerialOverPty, ClientClosingNeverHangsUpTheSimulator) {
    device_.close();
    EXPECT_FALSE(device_.isOpen());
    std::uint8_t buf[16];
    const auto start = Clock::now();
    EXPECT_EQ(pty_.read(buf, sizeof buf, 100), 0);  // nothing came: no error, no hang-up
    EXPECT_GE(msSince(start), 80);

    // The next client gets the same terminal.
    SerialDevice again;
    ASSERT_TRUE(again.open(pty_.slavePath()));
    ASSERT_TRUE(again.configure(SerialSettings{115200, 8, 0, 0}));
    const std::uint8_t ping[] = {'^', 'c', 'p', '\r'};
    EXPECT_EQ(again.write(ping, sizeof ping), 4);
    EXPECT_EQ(readFromPty(4), "^cp\r");
    const std::uint8_t reply[] = {'O', 'K'};
    EXPECT_EQ(pty_.write(reply, sizeof reply, 1000), 2);
}

TEST_F(SerialOverPty, ClosedDeviceRefusesTransfers) {
    device_.close();
    std::uint8_t buf[4] = {};
    EXPECT_EQ(device_.write(buf, sizeof buf), -1);
    EXPECT_EQ(device_.read(buf, sizeof buf), -1);
    EXPECT_FALSE(device_.purge());
    EXPECT_FALSE(device_.modemLines().known);
}

TEST(SerialDevice, OpenFailsForMissingPathsAndForFilesThatAreNoTerminal) {
    SerialDevice device;
    EXPECT_FALSE(device.open("/dev/velmora-no-such-tty"));
    EXPECT_FALSE(device.open("/dev/null"));
    EXPECT_FALSE(device.isOpen());
}

TEST(PseudoTerminal, ReadWaitsOutItsBoundWhenNothingComes) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.open());
    std::uint8_t buf[8];
    const auto start = Clock::now();
    EXPECT_EQ(pty.read(buf, sizeof buf, 100), 0);
    const auto ms = msSince(start);
    EXPECT_GE(ms, 90);
    EXPECT_LT(ms, 1000);
    pty.close();
    EXPECT_EQ(pty.read(buf, sizeof buf, 10), -1);
    EXPECT_TRUE(pty.slavePath().empty());
}

}  // namespace
}  // namespace velmora::platform
