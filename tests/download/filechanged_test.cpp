// A file that shrinks or is rewritten while it is sent: the transfer stops and says so, on the
// links written in chunks and on the one long write of Ethernet, and the trace keeps what went.
#include <gtest/gtest.h>

#include <filesystem>

#include "download/transferops.h"
#include "download_fixture.h"
#include "link/sessiontrace.h"
#include "resources/messages.h"

namespace velmora::testing {
namespace {

using FileChanged = DownloadFixture;

TEST_F(FileChanged, AFileThatShrinksMidwayStopsTheTransferWithItsOwnMessage) {
    for (const std::string port : {"COM1:", "ETHERNET"}) {
        SCOPED_TRACE(port);
        l.script.writes.clear();
        connect(port);
        link::SessionTrace trace([] { return 0; });
        l.comm.observer = &trace;
        // Ethernet hands its one write over 4 MiB at a time: the file must outlast one piece.
        const std::string path = makeFile("firmware.bin", std::string(9u << 20, 'F'));
        bool shrunk = false;
        const app::Outcome out = download::sendFile(l.comm, path, [&](const app::Step& step) {
            if (step.done > 0 && !shrunk) {
                std::filesystem::resize_file(path, 100);
                shrunk = true;
            }
        });
        l.comm.observer = nullptr;
        EXPECT_TRUE(shrunk);
        EXPECT_EQ(out.result.status, app::Status::Failed);
        EXPECT_EQ(out.result.messageId, msg::kFileChanged);
        // The link did nothing wrong: no "Port error!".
        EXPECT_TRUE(l.messages.shown.empty());
        const auto entries = trace.entries();
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.back().kind, link::TraceEntry::Kind::Write);
        EXPECT_LT(l.script.written().size(), 9u << 20);
        l.comm.Close();
        l.comm.CloseTcp();
    }
}

TEST_F(FileChanged, AFileRewrittenInPlaceIsNoticedToo) {
    connect("COM1:");
    const std::string path = makeFile("labels.prn", std::string(64u << 10, 'L'));
    bool touched = false;
    const app::Outcome out = download::sendFile(l.comm, path, [&](const app::Step& step) {
        if (step.done > 0 && !touched) {
            std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
            touched = true;
        }
    });
    EXPECT_EQ(out.result.messageId, msg::kFileChanged);
}

}  // namespace
}  // namespace velmora::testing
