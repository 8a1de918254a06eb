// The print and page settings as the command line and profiles read them: a reply counts only
// when it has the key's form, so garbage, a reply cut short or one that came late is named and
// never passed off as the printer's setting.
#include <gtest/gtest.h>

#include "app/settingspage.h"
#include "settings/printerpageops.h"
#include "support/clirun.h"
#include "support/linkfixture.h"

namespace velmora::testing {
namespace {

class PageRead : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
    }
    app::Outcome read(std::vector<std::string> keys) { return page.read(l.comm, l.clock, keys); }
    ScriptedLink l;
    const app::SettingsPage& page = *app::findSettingsPage("native.page");
};

TEST_F(PageRead, OnlyRepliesOfTheKeysFormAreValid) {
    struct Case {
        const char* key;
        std::vector<std::optional<std::string>> replies;
        bool valid;
        const char* text;
    };
    const Case cases[] = {
        {"density", {"12\r\n"}, true, "12"},
        {"density", {"1", "2\r\n"}, true, "12"},  // dripped in two reads
        {"density", {"zz"}, false, "zz"},
        {"density", {"21\r\n"}, false, "21"},     // beyond 0..20
        {"paper-width", {"81", ""}, false, "81"}, // the link closed before the line end
        {"paper-width", {"\r\n"}, false, "0"},
        {"gap-length", {"-5\r\n"}, true, "-5"},
        {"offset", {"-012\r\n"}, true, "-12"},
        {"offset", {"-0z2\r\n"}, false, ""},
        {"offset", {"x012\r\n"}, false, "12"},    // no sign byte
        {"strobe", {"\x40"}, true, "3"},
        {"strobe", {"\x60"}, false, ""},
    };
    for (const auto& c : cases) {
        l.script.readScript.assign(c.replies.begin(), c.replies.end());
        const app::Outcome got = read({c.key});
        ASSERT_EQ(got.values.size(), 1u);
        EXPECT_EQ(got.values[0].valid, c.valid) << c.key << " " << *c.replies[0];
        EXPECT_EQ(got.values[0].text, c.text) << c.key << " " << *c.replies[0];
        EXPECT_EQ(got.done(), c.valid) << c.key;
    }
}

TEST_F(PageRead, AReplyAfterASilentQueryIsNotTaken) {
    // The width's reply comes late, when the length is asked: it must not become the length. (A
    // serial read tries three times before it returns nothing.)
    l.script.readScript = {"", "", "", "812\r\n", "24\r\n"};
    const app::Outcome got = read({"paper-width", "paper-length", "gap-length"});
    ASSERT_EQ(got.values.size(), 3u);
    EXPECT_FALSE(got.values[0].replied);
    EXPECT_FALSE(got.values[1].valid);
    EXPECT_NE(got.values[1].why.find("late"), std::string::npos);
    EXPECT_FALSE(got.values[2].valid);
    EXPECT_EQ(got.result.status, app::Status::Failed);
}

using GarbageCli = CliRun;

TEST_F(GarbageCli, NativeGetNamesEveryKeyAndPrintsNoInventedValue) {
    sim::Faults f;
    f.garbage = true;
    printer.setFaults(f);
    EXPECT_EQ(run({"native", "get", "paper-width", "density", "offset", "strobe", "gap-detect"}), cli::kExitFailure);
    EXPECT_EQ(out.str(), "");
    for (const char* key : {"paper-width", "density", "offset", "strobe", "gap-detect"})
        EXPECT_NE(err.str().find(std::string("no valid value for ") + key), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("7A 7A"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace velmora::testing
