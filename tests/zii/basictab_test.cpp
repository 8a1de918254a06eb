// The ZII basic settings page: start state and enable rules, the key filter, the exact bytes and
// pauses of Get and Set, reply decoding, and a round trip through the simulated printer.
#include <gtest/gtest.h>

#include <climits>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/toolcontext.h"
#include "resources/templates_zii_basic.h"
#include "support/linkfixture.h"
#include "support/simdevice.h"
#include "ui/testhost.h"
#include "zii/usersetting_zii_basictab.h"
#include "zii/ziiprotocol.h"

namespace velmora::testing {
namespace {

using namespace resources;
using zii::CUserSetting_ZII_BasicTab;

std::string query(int code) { return std::string("\x1B\x1C?", 3) + static_cast<char>(code); }
std::string lockSeq(int code, bool on) {
    return std::string("\x1B\x1C\x1F", 3) + static_cast<char>(on ? 1 : 0) + static_cast<char>(code);
}
const std::string kLockStatus("\x1B\x1C/", 3);
std::string wait(unsigned ms) { return "wait " + std::to_string(ms); }

// Lock codes in the order Set unlocks and relocks them.
constexpr int kLockOrder[] = {3, 1, 2, 7, 6, 5};

// The page on a scripted serial link. `trace` lists what went out and the page's pauses in order;
// the port object's own 1 ms read pauses are left out.
struct Page {
    Page() {
        l.comm.portName = "COM1:";
        l.comm.baudRate = 115200;
        EXPECT_EQ(l.comm.Open(), 1);
        page.Create();
        l.clock.clearPauses();  // the serial open's own settling
        l.clock.onSleep = [this](unsigned ms) {
            flushWrites();
            if (ms != 1) events.push_back(wait(ms));
        };
    }
    std::vector<std::string> trace() {
        flushWrites();
        return events;
    }
    // Scripts the replies of one Get: nullopt is a query that gets no answer.
    void replies(const std::vector<std::optional<std::string>>& answers) {
        for (const auto& a : answers) {
            if (a)
                l.script.readScript.push_back(*a);
            else
                l.script.readScript.insert(l.script.readScript.end(), {"", "", ""});  // every read attempt
        }
    }
    void tick(int useId) {
        if (!page.control(useId).checked()) page.click(useId);
    }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CUserSetting_ZII_BasicTab page{ctx};
    std::vector<std::string> events;

  private:
    void flushWrites() {
        for (; flushed < l.script.writes.size(); ++flushed) events.push_back(l.script.writes[flushed]);
    }
    std::size_t flushed = 0;
};

const int kUseBoxes[] = {IDC_ZB_USE_WIDTH,      IDC_ZB_USE_HEIGHT,   IDC_ZB_USE_ORIENTATION,
                         IDC_ZB_USE_SPEED,      IDC_ZB_USE_DARKNESS, IDC_ZB_USE_PRINT_MODE,
                         IDC_ZB_USE_MEDIA_TYPE, IDC_ZB_USE_TEAR_OFF, IDC_ZB_USE_PRINT_OFFSET};
const int kRowControls[] = {IDC_ZB_WIDTH,      IDC_ZB_HEIGHT,   IDC_ZB_ORIENTATION,
                            IDC_ZB_SPEED,      IDC_ZB_DARKNESS, IDC_ZB_PRINT_MODE,
                            IDC_ZB_MEDIA_TYPE, IDC_ZB_TEAR_OFF, IDC_ZB_PRINT_OFFSET};

TEST(ZiiBasicTab, StartsDisabledAndEachUseBoxSwitchesItsControl) {
    Page p;
    EXPECT_FALSE(p.page.control(IDC_ZB_SET).enabled());
    EXPECT_EQ(p.page.control(IDC_ZB_MEDIA_TYPE).items(),
              (std::vector<std::string>{"Web Sensing", "Continuous", "Mark Sensing"}));
    EXPECT_EQ(p.page.control(IDC_ZB_SPEED).itemText(5), "7.0");
    EXPECT_EQ(p.page.control(IDC_ZB_DARKNESS).count(), 31);
    for (std::size_t i = 0; i < std::size(kUseBoxes); ++i) {
        EXPECT_FALSE(p.page.control(kRowControls[i]).enabled()) << i;
        p.page.click(kUseBoxes[i]);
        EXPECT_TRUE(p.page.control(kRowControls[i]).enabled()) << i;
        p.page.click(kUseBoxes[i]);
        EXPECT_FALSE(p.page.control(kRowControls[i]).enabled()) << i;
    }
    EXPECT_TRUE(p.page.control(IDC_ZB_SET).enabled());  // clearing a box enables Set too
}

TEST(ZiiBasicTab, SizeBoxesTakeOnlyTheKeysOfANumber) {
    const struct {
        int use, box;
        std::string typed, shown;
    } cases[] = {
        {IDC_ZB_USE_WIDTH, IDC_ZB_WIDTH, "812.5", "812.5"},
        {IDC_ZB_USE_WIDTH, IDC_ZB_WIDTH, "8a1\t2\r", "812"},
        {IDC_ZB_USE_HEIGHT, IDC_ZB_HEIGHT, "-12+", "12"},
        {IDC_ZB_USE_TEAR_OFF, IDC_ZB_TEAR_OFF, "-12+x", "-12+"},
        {IDC_ZB_USE_PRINT_OFFSET, IDC_ZB_PRINT_OFFSET, "ab-1", "ab-1"},  // no filter on this box
    };
    for (const auto& c : cases) {
        Page p;
        p.tick(c.use);
        p.page.typeText(c.box, c.typed);
        EXPECT_EQ(p.page.control(c.box).text(), c.shown) << c.typed;
    }
}

TEST(ZiiBasicTab, SetWithEveryRowTickedSendsOneBlockBetweenUnlockAndLock) {
    Page p;
    for (int id : kUseBoxes) p.tick(id);
    p.page.typeText(IDC_ZB_WIDTH, "812");
    p.page.typeText(IDC_ZB_HEIGHT, "1218");
    p.page.chooseItem(IDC_ZB_ORIENTATION, 0);
    p.page.chooseItem(IDC_ZB_SPEED, 2);
    p.page.chooseItem(IDC_ZB_DARKNESS, 15);
    p.page.chooseItem(IDC_ZB_PRINT_MODE, 0);
    p.page.chooseItem(IDC_ZB_MEDIA_TYPE, 0);
    p.page.click(IDC_ZB_LOCK_SPEED);
    p.page.click(IDC_ZB_LOCK_MEDIA_TYPE);
    p.page.click(IDC_ZB_SET);

    std::vector<std::string> expected;
    for (int code : kLockOrder) expected.push_back(lockSeq(code, false));
    expected.push_back(
        "~SD15\r\n~TA0\r\n^XA\r\n^PW812\r\n^LL1218\r\n^PON\r\n^PR4,4\r\n^MTT\r\n^MNY\r\n^LT0\r\n^XZ\r\n"
        "^XA^JUS^XZ\r\n");
    expected.push_back(wait(500));
    for (int code : kLockOrder) expected.push_back(lockSeq(code, code == 1 || code == 7));
    EXPECT_EQ(p.trace(), expected);
    EXPECT_EQ(p.host.waitCursorDepth, 0);
    EXPECT_EQ(p.host.waitCursorShown, 1);
    EXPECT_TRUE(p.host.messages.empty());
}

// One row ticked at a time; "#n" chooses list entry n, anything else is typed.
TEST(ZiiBasicTab, SetComposesOnlyTheTickedRows) {
    const struct {
        std::size_t row;
        std::string value, head;  // head: the text before "^XZ"
    } cases[] = {
        {4, "#5", "~SD05\r\n^XA\r\n"},
        {4, "", "^XA\r\n"},
        {3, "", "^XA\r\n"},
        {3, "#5", "^XA\r\n^PR7,7\r\n"},
        {0, "812.9", "^XA\r\n^PW812\r\n"},
        {1, ".99", "^XA\r\n^LL0\r\n"},
        {2, "#1", "^XA\r\n^POI\r\n"},
        {2, "", "^XA\r\n"},  // no orientation chosen: none is sent
        {5, "#1", "^XA\r\n^MTD\r\n"},
        {6, "#1", "^XA\r\n^MNN\r\n"},
        {7, "-12", "~TA-12\r\n^XA\r\n"},
        {8, "+7", "^XA\r\n^LT7\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + " " + c.value);
        Page p;
        p.tick(kUseBoxes[c.row]);
        if (c.value.starts_with('#'))
            p.page.chooseItem(kRowControls[c.row], std::stoi(c.value.substr(1)));
        else if (!c.value.empty())
            p.page.typeText(kRowControls[c.row], c.value);
        p.page.click(IDC_ZB_SET);
        ASSERT_EQ(p.l.script.writes.size(), 13u);
        EXPECT_EQ(p.l.script.writes[6], c.head + "^XZ\r\n^XA^JUS^XZ\r\n");
    }
}

TEST(ZiiBasicTab, SetWithNoRowTickedPutsTheLocksBack) {
    Page p;
    p.page.click(IDC_ZB_LOCK_WIDTH);
    p.page.click(IDC_ZB_LOCK_PRINT_OFFSET);
    p.page.click(IDC_ZB_USE_SPEED);  // ticked and cleared again: Set is enabled, no row is ticked
    p.page.click(IDC_ZB_USE_SPEED);
    p.page.click(IDC_ZB_SET);
    std::vector<std::string> expected;
    for (int code : kLockOrder) expected.push_back(lockSeq(code, false));
    for (int code : kLockOrder) expected.push_back(lockSeq(code, code == 3 || code == 5));
    EXPECT_EQ(p.trace(), expected);
}

TEST(ZiiBasicTab, SetWithABadNumberShowsTheMessageAndKeepsThePreviousValue) {
    Page p;
    p.tick(IDC_ZB_USE_WIDTH);
    p.page.typeText(IDC_ZB_WIDTH, "700");
    p.page.click(IDC_ZB_SET);
    p.l.script.writes.clear();
    p.page.typeText(IDC_ZB_WIDTH, "7.0.0");
    p.page.click(IDC_ZB_SET);
    EXPECT_EQ(p.host.messageTexts(), std::vector<std::string>{"Enter a number."});
    ASSERT_EQ(p.l.script.writes.size(), 13u);
    EXPECT_EQ(p.l.script.writes[6], "^XA\r\n^PW700\r\n^XZ\r\n^XA^JUS^XZ\r\n");
    EXPECT_EQ(p.page.control(IDC_ZB_WIDTH).text(), "700");
}

TEST(ZiiBasicTab, GetAsksTenQuestionsWithTheirPausesAndShowsTheAnswers) {
    Page p;
    p.replies({"812", "1218", "B", "5", "20", "D", "C", "-12", "7", std::string("0015")});
    p.page.click(IDC_ZB_GET);

    std::vector<std::string> expected;
    bool first = true;
    for (int code : {1, 2, 3, 5, 6, 7, 8, 9, 10}) {
        if (!first) expected.push_back(wait(80));
        first = false;
        expected.push_back(query(code));
        expected.push_back(wait(70));
    }
    expected.insert(expected.end(), {wait(80), kLockStatus, wait(70), wait(30)});
    EXPECT_EQ(p.trace(), expected);
    unsigned paused = 0;
    for (unsigned ms : p.l.clock.pauses())
        if (ms != 1) paused += ms;
    EXPECT_EQ(paused, 1450u);
    // The window's progress bar is told the action's length up front.
    EXPECT_EQ(p.host.actionTotals, std::vector<unsigned>{paused});

    EXPECT_EQ(p.page.repliesReceived(), 10);
    const char* shown[] = {"812", "1218", "Bottom to Top", "5.0", "20", "Direct", "Continuous", "-12", "7"};
    for (std::size_t row = 0; row < std::size(shown); ++row) {
        const ui::Control& c = p.page.control(kRowControls[row]);
        EXPECT_EQ(c.kind() == ui::ControlKind::Edit ? c.text() : c.itemText(c.curSel()), shown[row]);
        EXPECT_TRUE(c.enabled() && p.page.control(kUseBoxes[row]).checked()) << row;
    }
    EXPECT_TRUE(p.page.control(IDC_ZB_SET).enabled());
    EXPECT_EQ(p.host.waitCursorDepth, 0);
}

// Each case answers one query and leaves the others silent. Lists start on a chosen entry, so a
// reply that matches nothing must leave that entry selected.
TEST(ZiiBasicTab, RepliesChangeOnlyWhatTheyMatch) {
    const int kCodes[] = {1, 2, 3, 5, 6, 7, 8, 9, 10};
    struct Case {
        int code;
        std::string reply;
        int control;
        std::string text;  // number boxes
        int sel;           // lists
    };
    const Case cases[] = {
        {1, "812.9", IDC_ZB_WIDTH, "812", 0},
        {1, "abc", IDC_ZB_WIDTH, "0", 0},
        {1, "99999999999", IDC_ZB_WIDTH, "0", 0},  // no printer's width: left as it was
        {2, "-5", IDC_ZB_HEIGHT, "0", 0},
        {10, "2147483647", IDC_ZB_PRINT_OFFSET, "0", 0},
        {3, "T", IDC_ZB_ORIENTATION, "", 0},
        {3, "b", IDC_ZB_ORIENTATION, "", 1},
        {3, "T\r", IDC_ZB_ORIENTATION, "", 1},
        {5, "7", IDC_ZB_SPEED, "", 5},
        {5, " 4.0", IDC_ZB_SPEED, "", 2},
        {5, "8", IDC_ZB_SPEED, "", 1},
        {5, "1", IDC_ZB_SPEED, "", 1},
        {6, "30", IDC_ZB_DARKNESS, "", 30},
        {6, "31", IDC_ZB_DARKNESS, "", 1},
        {7, "X", IDC_ZB_PRINT_MODE, "", 1},
        {8, "G", IDC_ZB_MEDIA_TYPE, "", 0},
        {8, "M", IDC_ZB_MEDIA_TYPE, "", 2},
        {8, "T\r", IDC_ZB_MEDIA_TYPE, "", 1},
        {9, "-120", IDC_ZB_TEAR_OFF, "-120", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + c.reply);
        Page p;
        const bool list = c.text.empty();
        if (list) {
            p.tick(IDC_ZB_USE_WIDTH + (c.control - IDC_ZB_WIDTH));
            p.page.chooseItem(c.control, 1);
        }
        std::vector<std::optional<std::string>> answers;
        for (int code : kCodes) answers.push_back(code == c.code ? std::optional(c.reply) : std::nullopt);
        answers.push_back(std::nullopt);  // lock status
        p.replies(answers);
        p.page.click(IDC_ZB_GET);
        EXPECT_EQ(p.page.repliesReceived(), 1);
        if (list)
            EXPECT_EQ(p.page.control(c.control).curSel(), c.sel);
        else
            EXPECT_EQ(p.page.control(c.control).text(), c.text);
    }
}

TEST(ZiiBasicTab, LockStatusTicksTheLockBoxesFromTheThirdAndFourthBytes) {
    const int kBoxes[] = {IDC_ZB_LOCK_SPEED,        IDC_ZB_LOCK_DARKNESS, IDC_ZB_LOCK_WIDTH,
                          IDC_ZB_LOCK_PRINT_OFFSET, IDC_ZB_LOCK_TEAR_OFF, IDC_ZB_LOCK_MEDIA_TYPE};
    const struct {
        std::optional<std::string> reply;
        std::vector<int> ticked;  // in the order of kBoxes
    } cases[] = {
        {std::string("0015"), {1, 0, 1, 1, 0, 0}}, {std::string("\x00\x00\x1F\x0F", 4), {1, 1, 1, 1, 1, 1}},
        {std::string("AB0:"), {0, 1, 0, 0, 0, 0}},  // ':' is 0x3A: bits 1 and 3
        {std::string("001"), {1, 1, 1, 1, 1, 1}},   // too short: no flags, the boxes stay
        {std::nullopt, {1, 1, 1, 1, 1, 1}},         // no reply: the boxes stay as they were
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.value_or("(none)"));
        Page p;
        for (int id : kBoxes) p.page.click(id);
        std::vector<std::optional<std::string>> answers(9, std::nullopt);
        answers.push_back(c.reply);
        p.replies(answers);
        p.page.click(IDC_ZB_GET);
        std::vector<int> ticked;
        for (int id : kBoxes) ticked.push_back(p.page.control(id).check());
        EXPECT_EQ(ticked, c.ticked);
    }
}

// A link that dies: the action stops at its first failed write and the user hears of it once.
// A Set whose block failed still puts back the locks it had removed, quietly.
TEST(ZiiBasicTab, AFailedWriteEndsTheActionWithOneMessage) {
    const std::deque<long> kDead(200, -1);
    {
        Page p;
        p.l.script.writeScript = kDead;
        p.page.click(IDC_ZB_GET);
        EXPECT_EQ(p.l.messages.shown, std::vector<int>{111});
        EXPECT_EQ(p.page.failedWrites(), 1);
        EXPECT_EQ(p.l.script.reads, 0);
    }
    {
        Page p;
        p.page.click(IDC_ZB_LOCK_SPEED);
        p.page.click(IDC_ZB_LOCK_MEDIA_TYPE);
        p.tick(IDC_ZB_USE_PRINT_OFFSET);
        p.l.script.writeScript = {5, 5, 5, 5, 5, 5, -1, -1, -1, -1};  // six unlocks, then the block fails
        p.page.click(IDC_ZB_SET);
        EXPECT_EQ(p.l.messages.shown, std::vector<int>{111});
        EXPECT_EQ(p.page.failedWrites(), 1);
        const auto& w = p.l.script.writes;
        ASSERT_GE(w.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(w.end() - 2, w.end()),
                  (std::vector<std::string>{lockSeq(1, true), lockSeq(7, true)}));
    }
}

TEST(ZiiProtocol, ReplyTextEndsAtTheFirstZeroOrTheAreaEnd) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    ASSERT_EQ(l.comm.Open(), 1);
    zii::ReplyArea area;
    l.script.readScript = {std::string{'1', '2', '\0', '3', '4'}, std::string(300, 'x')};
    EXPECT_EQ(area.read(l.comm), 5);
    EXPECT_EQ(area.text(), "12");
    EXPECT_EQ(area.read(l.comm), 256);
    EXPECT_EQ(area.text(), std::string(256, 'x'));
    // Without clearing, a shorter reply leaves the older one's tail behind.
    l.script.readScript = {std::string("9")};
    area.read(l.comm);
    EXPECT_EQ(area.text().substr(0, 3), "9xx");
}

TEST(ZiiProtocol, DecimalValueReadsLikeTheCLibrary) {
    const std::pair<const char*, int> cases[] = {
        {"  -7abc", -7}, {"+3", 3}, {"x1", 0}, {"- 5", 0}, {"-99999999999", INT_MIN}};
    for (const auto& [text, value] : cases) EXPECT_EQ(zii::decimalValue(text), value) << text;
}

// The page against the simulated printer: a fresh page's Get shows what another page set.
TEST(ZiiBasicTabOnSimulator, SetThenGetRoundTrips) {
    SimLink link;
    ASSERT_EQ(link.comm.Open(), 1);
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    CUserSetting_ZII_BasicTab setter(ctx), getter(ctx);
    setter.Create();
    getter.Create();
    for (int id : kUseBoxes) setter.click(id);
    const std::pair<int, int> choices[] = {{IDC_ZB_ORIENTATION, 1},
                                           {IDC_ZB_SPEED, 1},
                                           {IDC_ZB_DARKNESS, 22},
                                           {IDC_ZB_PRINT_MODE, 1},
                                           {IDC_ZB_MEDIA_TYPE, 2}};
    for (const auto& [id, pos] : choices) setter.chooseItem(id, pos);
    const std::pair<int, const char*> typed[] = {
        {IDC_ZB_WIDTH, "600"}, {IDC_ZB_HEIGHT, "900"}, {IDC_ZB_TEAR_OFF, "-10"}, {IDC_ZB_PRINT_OFFSET, "5"}};
    for (const auto& [id, text] : typed) setter.typeText(id, text);
    for (int id : {IDC_ZB_LOCK_SPEED, IDC_ZB_LOCK_TEAR_OFF}) setter.click(id);
    setter.click(IDC_ZB_SET);

    getter.click(IDC_ZB_GET);
    EXPECT_EQ(getter.repliesReceived(), 10);
    for (const auto& c : setter.controls()) {
        SCOPED_TRACE(c->id());
        EXPECT_EQ(getter.control(c->id()).text(), c->text());
        EXPECT_EQ(getter.control(c->id()).curSel(), c->curSel());
        EXPECT_EQ(getter.control(c->id()).check(), c->check());
    }
    EXPECT_EQ(link.printer.zii().saved, link.printer.zii().current);  // saved with ^JUS
}

}  // namespace
}  // namespace velmora::testing
