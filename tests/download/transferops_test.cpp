// The transfer operations: what they say they sent, their progress steps, a write that fails
// midway, refused image names; and the command line over them, against a printer whose link
// fails in the middle of a file.
#include <gtest/gtest.h>

#include "cli/cli.h"
#include "download/transferops.h"
#include "download_fixture.h"

namespace velmora::testing {
namespace {

class TransferOps : public DownloadFixture {
protected:
    // Progress steps of an operation as (done, total).
    app::Steps record() {
        return [this](const app::Step& s) {
            ASSERT_EQ(s.kind, app::Step::Kind::Progress);
            steps.emplace_back(s.done, s.total);
        };
    }
    std::string value(const app::Outcome& o, const std::string& key) {
        for (const auto& [k, v] : o.written)
            if (k == key) return v;
        return "(none)";
    }
    std::vector<std::pair<std::size_t, std::size_t>> steps;
};

TEST_F(TransferOps, AFileSaysWhatWentAndStepsByChunk) {
    struct Case {
        std::string port;
        std::vector<long> writeScript;  // what each write of the chunks takes
        bool done;
        int messageId;
        std::string sent;
        std::vector<std::pair<std::size_t, std::size_t>> steps;
    };
    const Case cases[] = {
        {"COM1:", {}, true, 237, "5000 bytes", {{0, 5000}, {4096, 5000}, {5000, 5000}}},
        {"ETHERNET", {}, true, 237, "5000 bytes", {{0, 5000}, {5000, 5000}}},
        // The second chunk never goes: what went is the first, and the transfer failed.
        {"COM1:", {4096, -1, -1, -1, -1}, false, 460, "4096 bytes", {{0, 5000}, {4096, 5000}}},
    };
    std::string bytes(5000, 'x');
    bytes.replace(0, 3, "ABC");
    const std::string path = makeFile("f", bytes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port + std::to_string(c.writeScript.size()));
        ScriptedLink fresh;
        fresh.comm.portName = c.port;
        fresh.comm.baudRate = 115200;
        if (c.port == "ETHERNET") fresh.comm.socket.SetTarget("127.0.0.1", 9100);
        ASSERT_NE(fresh.comm.Open(), 0);
        fresh.script.writeScript.assign(c.writeScript.begin(), c.writeScript.end());
        steps.clear();
        const app::Outcome o = download::sendFile(fresh.comm, path, record());
        EXPECT_EQ(o.done(), c.done);
        EXPECT_EQ(o.result.messageId, c.messageId);
        EXPECT_EQ(value(o, "file"), c.sent);
        EXPECT_EQ(value(o, "file.head").substr(0, 12), "41 42 43 78 ");
        EXPECT_EQ(steps, c.steps);
    }
}

TEST_F(TransferOps, AFileThatCannotBeReadFailsBeforeAnythingGoes) {
    connect("COM1:");
    l.script.writes.clear();
    const app::Outcome o = download::sendFile(l.comm, dir.string(), record());
    EXPECT_EQ(o.result.status, app::Status::Failed);
    EXPECT_EQ(o.result.messageId, 107);
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_TRUE(steps.empty());
}

TEST_F(TransferOps, ImageNamesTheCommandCannotCarryAreRefusedBeforeSending) {
    connect("COM1:");
    const std::string path = makeFile("LOGO.pcx", "pcx");
    l.script.writes.clear();
    for (const std::string name : {"", "A'B", "A\rB", "A\nB"}) {
        EXPECT_EQ(download::storePcx(l.comm, path, name).result.status, app::Status::Refused);
        EXPECT_EQ(download::deletePcx(l.comm, name).result.messageId, 148);
        EXPECT_EQ(download::recallPcx(l.comm, name, 1, 2).result.status, app::Status::Refused);
    }
    EXPECT_TRUE(l.script.writes.empty());
    const app::Outcome o = download::storePcx(l.comm, path, "LOGO");
    EXPECT_TRUE(o.done());
    EXPECT_EQ(o.written, (app::KeyValues{{"image", "LOGO"}, {"data", "3 bytes"}, {"data.head", "70 63 78"}}));
}

// velmora-cli over a serial link whose writes fail after the handshake.
class TransferCli : public DownloadFixture {
protected:
    int run(const std::vector<std::string>& command, std::deque<long> writeScript) {
        ScriptedFactory factory;
        factory.script.readScript = {std::string("\0\0", 2)};  // the connect check's reply
        factory.script.writeScript = std::move(writeScript);
        platform::TestClock clock;
        out.str("");
        err.str("");
        std::vector<std::string> args = {"--serial", "/dev/ttyS0"};
        args.insert(args.end(), command.begin(), command.end());
        const int status = cli::runCli(args, out, err, factory, clock);
        written = factory.script.written();
        return status;
    }
    std::ostringstream out, err;
    std::string written;
};

TEST_F(TransferCli, ATransferThatStoppedIsAFailureAndNothingIsSaidCompleted) {
    const std::string file = makeFile("logo.pcx", std::string(9000, 'p'));
    EXPECT_EQ(run({"send-file", file}, {4, 4096, -1, -1, -1, -1}), 1);
    EXPECT_EQ(err.str(), "Velmora: Port error! Check printer's port, please.\nVelmora: File download failed.\n");
    EXPECT_EQ(run({"pcx", "store", file, "--raw"}, {4, 10, 2048, -1, -1, -1, -1}), 1);
    EXPECT_EQ(written.find("IR100"), std::string::npos);
    EXPECT_NE(err.str().find("PCX file download failed."), std::string::npos) << err.str();
    EXPECT_EQ(run({"pcx", "info"}, {4, -1, -1, -1, -1}), 1);
    EXPECT_EQ(run({"send-file", file}, {}), 0);
    EXPECT_EQ(err.str(), "Velmora: File download is completed.\n");
}

// What is no image the printer takes is refused before anything is sent, unless --raw.
TEST_F(TransferCli, StoreTakesOnlyAPcxImageThePrinterCanKeep) {
    std::string header(128, '\0');
    header[0] = 0x0A;
    header[2] = 1;                                     // run-length encoded
    header[3] = 1;                                     // 1 bit per pixel
    header[8] = 15;                                    // x 0..15: 16 dots wide
    header[10] = 7;                                    // y 0..7
    header[65] = 1;                                    // one plane
    header[66] = 2;                                    // 2 bytes per line
    const std::string image = header + std::string(16, '\xff');
    std::string fourPlanes = image;
    fourPlanes[65] = 4;
    std::string huge = image;
    huge[8] = static_cast<char>(0xFF), huge[9] = static_cast<char>(0x7F);  // 32768 dots wide
    const struct {
        std::string bytes;
        const char* says;
    } refused[] = {
        {"", "is not a PCX image"},
        {std::string(512, 'z'), "is not a PCX image"},
        {header, "is not a PCX image"},  // a header and nothing after it
        {fourPlanes, "4 planes of 1 bits"},
        {huge, "32768 x 8 dots"},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(run({"pcx", "store", makeFile("x.pcx", c.bytes)}, {}), 2) << c.says;
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
        EXPECT_EQ(written, "^cp\r");  // only the connect check
    }
    EXPECT_EQ(run({"pcx", "store", makeFile("logo.pcx", image)}, {}), 0) << err.str();
    EXPECT_NE(written.find("IS144,'logo'"), std::string::npos);
    EXPECT_EQ(run({"pcx", "store", makeFile("x.pcx", std::string(512, 'z')), "--raw", "--name", "RAW"}, {}), 0);
}

TEST_F(TransferCli, RecallRefusesWhatTheDialogRefuses) {
    EXPECT_EQ(run({"pcx", "recall", "A", "--x", "1.5", "--y", "2"}, {}), 2);
    EXPECT_EQ(err.str(), "Velmora: Enter an integer.\n");
    EXPECT_EQ(run({"pcx", "recall", "A'B", "--x", "1", "--y", "2"}, {}), 2);
    EXPECT_EQ(err.str(), "Velmora: Please, type image name!\n");
    EXPECT_EQ(written, "^cp\r");
    EXPECT_EQ(run({"pcx", "recall", "A", "--y", "-4", "--x", "30"}, {}), 0);
    EXPECT_EQ(written, "^cp\rIR30,-4,'A'\rP1\r");
}

}  // namespace
}  // namespace velmora::testing
