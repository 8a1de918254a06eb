#include "platform/paralleldevice.h"

#include <gtest/gtest.h>
#include <linux/lp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace velmora::platform {
namespace {

namespace ps = parallel_status;

TEST(ParallelStatus, MapsTheLpStatusLinesOntoTheStatusByte) {
    const struct {
        const char* what;
        int lp;
        std::uint8_t status;
    } cases[] = {
        {"ready", LP_PBUSY | LP_PSELECD | LP_PERRORP, ps::kSelected},
        {"ready, ACK pulsing", LP_PBUSY | LP_PSELECD | LP_PERRORP | LP_PACK, ps::kSelected},
        {"busy", LP_PSELECD | LP_PERRORP, ps::kSelected | ps::kBusy},
        {"paper out", LP_PBUSY | LP_PSELECD | LP_PERRORP | LP_POUTPA, ps::kSelected | ps::kPaperEmpty},
        {"error", LP_PBUSY | LP_PSELECD, ps::kSelected | ps::kOffLine},
        {"not selected", LP_PBUSY | LP_PERRORP, 0x00},
        {"all lines low", 0, ps::kBusy | ps::kOffLine},
        {"all lines high", 0xFF, ps::kSelected | ps::kPaperEmpty},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(int{parallelStatusFromLp(c.lp)}, int{c.status}) << c.what;
    }
    EXPECT_EQ(parallelStatusFromLp(LP_PBUSY | LP_PSELECD | LP_PERRORP), 0x80);
}

// A FIFO stands in for the device: it takes bytes, gives them back, and cannot tell a status.
class ParallelOverFifo : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = ::testing::TempDir() + "velmora_parallel_fifo_" + std::to_string(getpid());
        unlink(path_.c_str());
        ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
    }
    void TearDown() override { unlink(path_.c_str()); }
    std::string path_;
};

TEST_F(ParallelOverFifo, WritesReadsAndReportsNoStatus) {
    ParallelDevice device;
    ASSERT_TRUE(device.open(path_));
    EXPECT_TRUE(device.isOpen());
    const std::uint8_t data[] = {'~', 'H', 'S', '\r'};
    EXPECT_EQ(device.write(data, sizeof data), 4);
    std::uint8_t buf[16] = {};
    EXPECT_EQ(device.read(buf, sizeof buf), 4);
    EXPECT_EQ(std::string(buf, buf + 4), "~HS\r");
    EXPECT_EQ(device.read(buf, sizeof buf), 0);  // nothing buffered: at once
    EXPECT_EQ(device.parallelStatus(), std::nullopt);
    EXPECT_TRUE(device.purge());
    device.close();
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(device.write(data, sizeof data), -1);
}

TEST_F(ParallelOverFifo, WriteToAPrinterThatTakesNothingEndsAtItsBound) {
    ParallelDevice device(200);
    ASSERT_TRUE(device.open(path_));
    const std::vector<std::uint8_t> data(1 << 20, 'x');  // far more than the FIFO holds
    const auto start = std::chrono::steady_clock::now();
    const long written = device.write(data.data(), data.size());
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GT(written, 0);
    EXPECT_LT(written, static_cast<long>(data.size()));
    EXPECT_GE(ms.count(), 150);
    EXPECT_LT(ms.count(), 2000);
}

TEST(ParallelDevice, OpenFailsForAMissingDevice) {
    ParallelDevice device;
    EXPECT_FALSE(device.open("/dev/velmora-no-such-lp"));
    EXPECT_FALSE(device.isOpen());
}

}  // namespace
}  // namespace velmora::platform
