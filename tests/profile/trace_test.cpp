// The session trace: its bound, its two written forms, and a velmora-cli session recorded whole.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/sessiontrace.h"
#include "support/clirun.h"
#include "support/simdevice.h"

namespace velmora::testing {
namespace {

using link::SessionTrace;
using link::TraceEntry;

TEST(SessionTrace, TheRingKeepsTheNewestWithinItsBounds) {
    std::uint64_t now = 0;
    const struct {
        std::size_t maxBytes, maxEntries, writes, bytesEach;
        std::size_t kept;
    } cases[] = {
        {1u << 20, 10, 25, 4, 10},   // the entry count binds
        {1000, 1000, 50, 100, 6},    // the byte budget binds (164 each with the entry's overhead)
        {1000, 1000, 1, 5000, 1},    // one entry larger than everything is kept, cut
    };
    for (const auto& c : cases) {
        SessionTrace trace([&now] { return now; }, c.maxBytes, c.maxEntries);
        for (std::size_t i = 0; i < c.writes; ++i) trace.recordMessage(std::string(c.bytesEach, 'x'));
        const auto entries = trace.entries();
        ASSERT_EQ(entries.size(), c.kept);
        EXPECT_EQ(trace.dropped(), c.writes - c.kept);
        EXPECT_EQ(entries.back().seq, c.writes);  // the newest stays
        EXPECT_LE(entries.back().data.size(), c.maxBytes);
        EXPECT_EQ(trace.entries(entries.back().seq - 1).size(), 1u);  // a live view's "what is new"
    }
}

TEST(SessionTrace, TextRowsAndJsonLines) {
    std::uint64_t now = 1000000;  // the session starts here
    SessionTrace trace([&now] { return now; });
    now += 1500;
    trace.recordPause(50);
    now += 2;
    trace.recordMessage("Port \"error\"");
    std::vector<TraceEntry> entries = trace.entries();
    entries.push_back({3, 2000000, TraceEntry::Kind::Write, "ETHERNET 10.0.0.7:9100",
                       "^XA^FO10,10^FDHello world^FS^XZ\r\n", 34, 33, {}});
    entries.push_back({4, 2000001, TraceEntry::Kind::Read, "ETHERNET 10.0.0.7:9100", "", 0, 0, {}});
    EXPECT_EQ(link::formatTraceText(entries, 2),
              "# 2 earlier entries were dropped to keep the trace bounded\n"
              "     0.001500 P 50 ms\n"
              "     0.001502 M \"Port \"error\"\"\n"
              "     2.000000 W ETHERNET 10.0.0.7:9100 5e 58 41 5e 46 4f 31 30 2c 31 30 5e 46 44 48 65 6c 6c 6f 20 "
              "^XA^FO10,10^FDHello.\n"
              "                                       77 6f 72 6c 64 5e 46 53 5e 58 5a 0d 0a                      "
              "world^FS^XZ..\n"
              "     2.000001 R ETHERNET 10.0.0.7:9100 (nothing)\n");
    EXPECT_EQ(link::formatTraceJsonl({entries[1], entries[3]}, 0),
              "{\"seq\":2,\"us\":1502,\"kind\":\"M\",\"text\":\"Port \\\"error\\\"\"}\n"
              "{\"seq\":4,\"us\":2000001,\"kind\":\"R\",\"link\":\"ETHERNET 10.0.0.7:9100\",\"hex\":\"\",\"result\":0}\n");
}

// A live view never takes a write that has begun and not ended: it would miss its bytes.
TEST(SessionTrace, AWriteUnderWayIsHeldBackUntilItEnds) {
    SimLink link("ETHERNET");
    std::uint64_t now = 0;
    SessionTrace trace([&now] { return now; });
    trace.recordMessage("before");
    trace.beforeWrite(link.comm);
    now += 50;
    trace.recordPause(50);
    ASSERT_EQ(trace.entries().size(), 1u);
    const std::uint8_t bytes[] = {'~', 'H', 'S'};
    trace.onWrite(link.comm, bytes, 3, 3);
    const auto entries = trace.entries(1);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, TraceEntry::Kind::Write);
    EXPECT_EQ(entries[0].data, "~HS");
    EXPECT_EQ(entries[0].micros, 0u);  // when it began
    EXPECT_EQ(entries[1].kind, TraceEntry::Kind::Pause);
}

// A write of any size keeps a bounded head and tail with its length: tracing a large transfer
// costs kilobytes, and says what it left out.
TEST(SessionTrace, ALongWriteKeepsItsHeadTailAndLength) {
    SimLink link("ETHERNET");
    SessionTrace trace([] { return 0; });
    std::string big(1u << 20, 'a');
    big.front() = 'H';
    big.back() = 'T';
    trace.beforeWrite(link.comm);
    trace.onWrite(link.comm, reinterpret_cast<const std::uint8_t*>(big.data()), big.size(), 1);
    const auto entries = trace.entries();
    ASSERT_EQ(entries.size(), 1u);
    const TraceEntry& e = entries[0];
    EXPECT_EQ(e.length, big.size());
    EXPECT_EQ(e.data.size(), TraceEntry::kHeadBytes);
    EXPECT_EQ(e.data.front(), 'H');
    EXPECT_EQ(e.tail.size(), TraceEntry::kTailBytes);
    EXPECT_EQ(e.tail.back(), 'T');
    const std::string text = link::formatTraceText(entries, 0);
    EXPECT_NE(text.find("... " + std::to_string(big.size() - TraceEntry::kHeadBytes - TraceEntry::kTailBytes) +
                        " bytes not kept (1048576 in all) ..."),
              std::string::npos);
    EXPECT_LT(text.size(), 100000u);
    EXPECT_NE(link::formatTraceJsonl(entries, 0).find("\"length\":1048576,\"tail\":\"6161"), std::string::npos);
}

// One velmora-cli run records the handshake's bytes, its pauses and the messages, in order.
TEST_F(CliRun, TraceOptionRecordsTheWholeSession) {
    const auto path = (std::filesystem::temp_directory_path() / ("velmora-trace-" + std::to_string(::getpid()))).string();
    printer.setSilent(true);
    EXPECT_EQ(run({"--trace", path, "--timeout", "100", "status"}), 1);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(path);
    // The write is entered as it begins, before the pause its send takes.
    EXPECT_EQ(text.str().find(" W ETHERNET 127.0.0.1:9100 5e 63 70 0d"), 13u) << text.str();
    EXPECT_NE(text.str().find(" R ETHERNET 127.0.0.1:9100 (nothing)"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find(" P 50 ms"), std::string::npos);
    EXPECT_NE(text.str().find(" M \""), std::string::npos) << text.str();
}

}  // namespace
}  // namespace velmora::testing

namespace velmora::testing {
namespace {

// A trace that cannot be written is named before the printer hears anything; a FIFO someone
// reads gets the trace, and stays a FIFO.
TEST_F(CliRun, ATraceThatCannotBeWrittenStopsTheCommandBeforeItStarts) {
    const auto dir = std::filesystem::temp_directory_path() / ("velmora-trace-out-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto before = printer.journal().tail();
    EXPECT_EQ(run({"--trace", (dir / "missing" / "t.txt").string(), "native", "set", "density=5"}), 1);
    EXPECT_NE(err.str().find("cannot write in"), std::string::npos) << err.str();
    EXPECT_EQ(printer.journal().tail(), before);  // not even the connect check went out

    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(run({"--trace", fifo, "connect"}), 1);  // nobody reads it
    EXPECT_NE(err.str().find("no program reads"), std::string::npos) << err.str();
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmora::testing
