// Transfers against the simulator over real transports: a 5 MiB binary file through the file
// transfer dialog over TCP and over a pseudo-terminal, and the PCX commands through velmora-cli
// against a separate velmora-sim.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "download/filetransferdlg.h"
#include "download_fixture.h"
#include "platform/clock.h"
#include "resources/templates_download.h"
#include "sim/server.h"
#include "support/processes.h"

namespace velmora::testing {
namespace {

using namespace std::chrono_literals;

// Waits (for another thread or process) until `done` holds, at most a few seconds.
template <class F>
bool eventually(F done) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class RealTransfer : public DownloadFixture {
protected:
    static constexpr std::size_t kSize = 5u << 20;
    std::string everyByte() const {
        std::string bytes(kSize, '\0');
        for (std::size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<char>((i + i / 256) & 0xFF);
        return bytes;
    }
    // Sends the file through the dialog and checks the simulator received exactly its bytes.
    void sendAndCompare(link::CComm& comm) {
        const std::string bytes = everyByte();
        const std::string path = makeFile("firmware.bin", bytes);
        ui::TestHost h;
        app::ToolContext context{comm, clock, h};
        download::CFileTransferDlg dlg(context);
        dlg.Create();
        h.fileAnswers.push_back(path);
        dlg.click(resources::IDC_FT_BROWSE);
        EXPECT_TRUE(dlg.OnDownLoad());
        EXPECT_EQ(h.messageTexts(), std::vector<std::string>{"File download is completed."});
        ASSERT_TRUE(eventually([&] { return printer.journal().totalBytes() >= kSize; })) << printer.journal().totalBytes();
        EXPECT_EQ(printer.journal().totalBytes(), kSize);
        EXPECT_TRUE(printer.journal().tail() == bytes);
    }
    sim::Printer printer{6u << 20};
    sim::Server server{printer};
    platform::RealClock clock;
    RecordingMessages messages;
};

TEST_F(RealTransfer, EveryByteArrivesOverTcp) {
    const unsigned port = server.startTcp(0);
    ASSERT_NE(port, 0u) << server.error();
    link::CComm comm(platform::systemDevices(), clock, messages);
    comm.portName = "ETHERNET";
    comm.socket.SetTarget("127.0.0.1", port);
    ASSERT_NE(comm.Open(), 0);
    sendAndCompare(comm);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RealTransfer, EveryByteArrivesOverAPseudoTerminal) {
    const std::string path = server.startPty();
    ASSERT_FALSE(path.empty()) << server.error();
    link::CComm comm(platform::systemDevices(), clock, messages);
    comm.portName = "COM3:";
    comm.portMap.set("COM3", path);
    comm.baudRate = 115200;
    comm.dataBits = 8;
    ASSERT_NE(comm.Open(), 0);
    sendAndCompare(comm);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DownloadFixture, PcxStoredListedRecalledAndDeletedThroughTheCommandLine) {
    const auto images = dir / "images";
    const auto labels = dir / "labels";
    SimProcess sim({"--images", images.string(), "--labels", labels.string()});
    ASSERT_FALSE(sim.address.empty());
    std::string pcx(3000, '\0');
    for (std::size_t i = 0; i < pcx.size(); ++i) pcx[i] = static_cast<char>(i * 13);
    const std::string file = makeFile("logo.pcx", pcx);
    const std::string tcp = "--tcp " + sim.address + " ";
    auto label = [&](int n) { return labels / ("label-000" + std::to_string(n) + ".json"); };

    auto r = runCliProcess(tcp + "pcx store " + file + " --name LOGO --raw");
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(label(1)); }));
    EXPECT_TRUE(readWhole(images / "LOGO") == pcx);
    EXPECT_NE(readWhole(label(1)).find("\"name\": \"LOGO\""), std::string::npos) << readWhole(label(1));

    ASSERT_EQ(runCliProcess(tcp + "pcx info").status, 0);
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(label(2)); }));
    EXPECT_NE(readWhole(label(2)).find("LOGO 3000"), std::string::npos) << readWhole(label(2));

    ASSERT_EQ(runCliProcess(tcp + "pcx recall LOGO --x 30 --y 40").status, 0);
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(label(3)); }));
    EXPECT_NE(readWhole(label(3)).find("\"x\": 30"), std::string::npos) << readWhole(label(3));

    ASSERT_EQ(runCliProcess(tcp + "pcx delete LOGO").status, 0);  // sends II as well
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(label(4)); }));
    EXPECT_NE(readWhole(label(4)).find("IMAGES 0"), std::string::npos) << readWhole(label(4));

    // Not on a terminal: no progress bar, only the tool's closing message.
    r = runCliProcess(tcp + "send-file " + file);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find('\r'), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("File download is completed."), std::string::npos) << r.output;
    // Bad arguments are refused before anything is sent.
    for (const char* bad : {"send-file", "pcx store", "pcx recall A --x 1", "pcx recall A --x 1 --x 2", "pcx info X"})
        EXPECT_EQ(runCliProcess(tcp + bad).status, 2) << bad;
    EXPECT_EQ(runCliProcess(tcp + "send-file " + dir.string()).status, 1);
    // Names that would end the command are refused before anything is sent.
    r = runCliProcess(tcp + "pcx recall \"A'B\" --x 1 --y 2");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("Please, type image name!"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace velmora::testing
