// What a poll changes, in the words the monitor prints, and when the next poll comes.
#include "fleet/monitorstate.h"

#include <gtest/gtest.h>

namespace velmora::fleet {
namespace {

using std::chrono::milliseconds;

PollReading up(std::vector<std::pair<const char*, bool>> flags) {
    PollReading r;
    r.up = true;
    r.statusValid = true;
    for (const auto& [name, set] : flags) r.flags.push_back({name, set});
    return r;
}

PollReading down(const char* why) {
    PollReading r;
    r.why = why;
    return r;
}

std::vector<std::string> lines(PrinterWatch& watch, const PollReading& reading) {
    std::vector<std::string> out;
    for (const PrinterChange& c : watch.take(reading))
        out.push_back(c.key + ": " + c.value + (c.detail.empty() ? "" : " (" + c.detail + ")"));
    return out;
}

using Lines = std::vector<std::string>;

TEST(PrinterWatch, ReportsTheFirstStateThenOnlyChanges) {
    PrinterWatch w(3, "10.0.0.7:9100");
    PollReading first = up({{"paper-empty", false}, {"cover-open", true}});
    first.model = "LX-4";
    first.firmware = "V2.1";
    EXPECT_EQ(lines(w, first), (Lines{"up: yes", "cover-open: yes", "model: LX-4", "firmware: V2.1"}));
    EXPECT_EQ(lines(w, up({{"paper-empty", false}, {"cover-open", true}})), Lines{});
    EXPECT_EQ(lines(w, up({{"paper-empty", true}, {"cover-open", false}})),
              (Lines{"paper-empty: yes", "cover-open: no"}));
    // Down: one line, however long it stays down and whatever the reason says.
    EXPECT_EQ(lines(w, down("cannot connect: Connection refused")),
              (Lines{"up: no (cannot connect: Connection refused)"}));
    EXPECT_EQ(lines(w, down("no answer to the status query")), Lines{});
    EXPECT_EQ(w.failures(), 2u);
    // Back: compared with the last status it had, and the same model says nothing.
    PollReading back = up({{"paper-empty", false}, {"cover-open", false}});
    back.model = "LX-4";
    EXPECT_EQ(lines(w, back), (Lines{"up: yes", "paper-empty: no"}));
    EXPECT_EQ(w.failures(), 0u);
    EXPECT_EQ(w.polls(), 6u);
}

TEST(PrinterWatch, AStatusThatCannotBeReadIsNamedOnceAndNotTakenForBits) {
    PrinterWatch w(1, "p");
    lines(w, up({{"paper-empty", true}}));
    PollReading garbled;
    garbled.up = true;
    garbled.why = "it sets bits that no status has: 01 00";
    EXPECT_EQ(lines(w, garbled), (Lines{"status: unreadable (it sets bits that no status has: 01 00)"}));
    EXPECT_EQ(lines(w, garbled), Lines{});
    // The bits are compared with the last valid status, not with the unreadable one.
    EXPECT_EQ(lines(w, up({{"paper-empty", true}})), Lines{});
}

TEST(PrinterWatch, AsksModelWhenThePrinterComesUpAndCountersWhileItHasThem) {
    PrinterWatch w(1, "p");
    EXPECT_TRUE(w.wantsFacts());
    EXPECT_TRUE(w.wantsCounters());
    PollReading r = up({});
    r.countersAsked = true;
    r.countersAnswered = false;  // a printer without counters
    w.take(r);
    EXPECT_FALSE(w.wantsFacts());
    EXPECT_FALSE(w.wantsCounters());
    w.take(down("gone"));  // it may come back as another printer: ask everything again
    EXPECT_TRUE(w.wantsFacts());
    EXPECT_TRUE(w.wantsCounters());
}

TEST(PrinterWatch, ChangeLinesNamePrinterAndTime) {
    PrinterWatch w(4, "/dev/ttyUSB0");
    PollReading r = up({{"paused", true}});
    r.time = std::chrono::sys_days{std::chrono::year{2025} / 6 / 1} + std::chrono::hours{10} +
             std::chrono::seconds{5};
    const auto changes = w.take(r);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].line, 4);
    EXPECT_EQ(formatChange(changes[1]), "/dev/ttyUSB0, 2025-06-01T10:00:05Z, paused: yes");
}

TEST(PollSchedule, BacksOffWhileDownWithinAMinute) {
    const milliseconds ten{10000};
    EXPECT_EQ(nextPollDelay(ten, 0), ten);
    EXPECT_EQ(nextPollDelay(ten, 1), ten);
    EXPECT_EQ(nextPollDelay(ten, 2), milliseconds{20000});
    EXPECT_EQ(nextPollDelay(ten, 3), milliseconds{40000});
    EXPECT_EQ(nextPollDelay(ten, 4), milliseconds{60000});
    EXPECT_EQ(nextPollDelay(ten, 1000), milliseconds{60000});
    // An interval longer than the longest back-off is kept.
    EXPECT_EQ(nextPollDelay(milliseconds{300000}, 5), milliseconds{300000});
    EXPECT_EQ(nextPollDelay(milliseconds{500}, 3), milliseconds{2000});
}

}  // namespace
}  // namespace velmora::fleet
