// velmora-cli profile save, diff and apply against the in-process simulated printer, in both menu
// modes: the round trip, the refusals that write nothing, identity, and an apply cut off midway.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/zii.h"
#include "support/clirun.h"
#include "zii/usersetting_zii_basictab.h"

namespace velmora::testing {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// Replaces the line that starts with `prefix` by `line`.
std::string withLine(std::string text, const std::string& prefix, const std::string& line) {
    const auto at = text.find("\n" + prefix);
    EXPECT_NE(at, std::string::npos) << prefix;
    const auto end = text.find('\n', at + 1);
    return text.replace(at + 1, end - at - 1, line);
}

class ProfileCli : public CliRun {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("velmora-profile-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        file = (dir / "p.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    int profile(const std::string& mode, std::vector<std::string> words) {
        std::vector<std::string> args = {"--menu-mode", mode, "profile"};
        args.insert(args.end(), words.begin(), words.end());
        return run(args);
    }
    std::filesystem::path dir;
    std::string file;
};

struct ModeCase {
    const char* mode;
    std::function<void(sim::Printer&)> change;
    const char* changedLine;  // what diff prints for the change
    const char* appliedLine;
};

TEST_F(ProfileCli, SaveDiffChangeApplyInBothMenuModes) {
    const ModeCase cases[] = {
        {"1", [](sim::Printer& p) { p.editZii([](sim::ZiiState& s) { sim::runZiiCommand(s, "~SD22"); }); },
         "zii.basic.darkness: printer=22 profile=15\n", "zii.basic.darkness: applied\n"},
        {"0", [](sim::Printer& p) { p.editNative([](sim::NativeState& s) { s.values.density = 12; }); },
         "native.page.density: printer=12 profile=8\n", "native.page.density: applied\n"},
        // The encoder's settings are a page too; its counters are not.
        {"1", [](sim::Printer& p) { p.editRfid([](sim::RfidState& s) { s.settings.power = 20; ++s.valid; }); },
         "rfid.power: printer=20 profile=1\n", "rfid.power: applied\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_EQ(profile(c.mode, {"save", file}), 0) << err.str();
        ASSERT_EQ(profile(c.mode, {"diff", file}), 0) << out.str() << err.str();
        EXPECT_EQ(out.str(), "");
        c.change(printer);
        EXPECT_EQ(profile(c.mode, {"diff", file}), 1);
        EXPECT_EQ(out.str(), c.changedLine);
        ASSERT_EQ(profile(c.mode, {"apply", file}), 0) << out.str() << err.str();
        EXPECT_NE(out.str().find(c.appliedLine), std::string::npos) << out.str();
        EXPECT_EQ(out.str().find(": failed"), std::string::npos) << out.str();
        EXPECT_EQ(profile(c.mode, {"diff", file}), 0) << out.str();
    }
}

TEST_F(ProfileCli, AProfileThatDoesNotFitIsRefusedBeforeAnythingIsWritten) {
    ASSERT_EQ(profile("1", {"save", file}), 0) << err.str();
    const std::string saved = slurp(file);
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {withLine(saved, "model=", "model=OTHER 200"), "is for model \"OTHER 200\""},
        {withLine(saved, "menu-mode=", "menu-mode=native"), "line 5: the profile is for the native menu mode"},
        {withLine(saved, "darkness=", "darkness=31"), "line 12: [zii.basic] has no setting darkness"},
        {withLine(saved, "darkness=", "brightness=3"), "line 12: [zii.basic] has no setting brightness"},
        {saved + "[encoder]\npower=20\n", "no settings page [encoder]"},
        {withLine(saved, "darkness=", "darkness 3"), "line 12: expected KEY=VALUE"},
    };
    // Each refused profile also asks for a change the printer would otherwise get.
    printer.editZii([](sim::ZiiState& s) { sim::runZiiCommand(s, "~SD22"); });
    const sim::ZiiState before = printer.zii();
    for (const auto& c : cases) {
        spit(file, c.text);
        EXPECT_EQ(profile("1", {"apply", file}), 1);
        EXPECT_NE(err.str().find(c.reason), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("nothing was written"), std::string::npos);
        EXPECT_EQ(out.str(), "");
        EXPECT_TRUE(printer.zii() == before);
    }
}

TEST_F(ProfileCli, AnApplyKeepsTheLocksItFound) {
    printer.editZii([](sim::ZiiState& s) { s.setLock(sim::kLockSpeed, true); });
    ASSERT_EQ(profile("1", {"save", file}), 0) << err.str();
    spit(file, withLine(slurp(file), "speed=", "speed=6"));
    ASSERT_EQ(profile("1", {"apply", file}), 0) << out.str() << err.str();
    EXPECT_NE(out.str().find("zii.basic.speed: applied"), std::string::npos);
    EXPECT_EQ(printer.zii().current.printSpeed, 6);
    EXPECT_TRUE(printer.zii().locked(sim::kLockSpeed));
}

TEST_F(ProfileCli, IdentityIsAppliedOnlyWhenAskedFor) {
    ASSERT_EQ(profile("0", {"save", file}), 0) << err.str();
    spit(file, withLine(slurp(file), "serial=", "serial=VS0000000099"));
    ASSERT_EQ(profile("0", {"apply", file}), 0) << err.str();
    EXPECT_NE(out.str().find("identity.serial: skipped (identity"), std::string::npos) << out.str();
    EXPECT_EQ(printer.native().identity[1], "VS0000000001");
    ASSERT_EQ(profile("0", {"apply", file, "--include-identity"}), 0) << err.str();
    EXPECT_NE(out.str().find("identity.serial: applied"), std::string::npos) << out.str();
    EXPECT_EQ(printer.native().identity[1], "VS0000000099");
}

// The printer falls silent as the basic settings are saved: the report says the page's keys
// could not be verified and the later pages were not written, and the lock the page removed to
// write is back on.
TEST_F(ProfileCli, AnApplyCutOffMidwayReportsWhatItWrote) {
    printer.editZii([](sim::ZiiState& s) { s.setLock(sim::kLockDarkness, true); });
    ASSERT_EQ(profile("1", {"save", file}), 0) << err.str();
    std::string text = withLine(slurp(file), "darkness=", "darkness=25");
    text = withLine(text, "ics=", "ics=France");
    spit(file, text);
    clock.onSleep = [this](unsigned ms) {
        if (ms == zii::CUserSetting_ZII_BasicTab::kAfterSetMs) printer.setSilent(true);
    };
    EXPECT_EQ(profile("1", {"apply", file}), 1);
    EXPECT_NE(out.str().find("zii.basic.darkness: failed (not verified"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("codepage.ics: failed (not written"), std::string::npos) << out.str();
    EXPECT_EQ(printer.zii().current.darkness, 25);  // written before the silence
    EXPECT_TRUE(printer.zii().locked(sim::kLockDarkness));
}

}  // namespace
}  // namespace velmora::testing

namespace velmora::testing {
namespace {

// A printer that answers nonsense of the right length: no profile is written from it, whether the
// nonsense starts with its model or only with its pages.
TEST_F(ProfileCli, SaveRefusesAPrinterThatAnswersGarbage) {
    sim::Faults f;
    f.garbage = true;
    printer.setFaults(f);
    EXPECT_EQ(profile("0", {"save", file}), 1);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_NE(err.str().find("did not report its model and firmware: model (reply 7A 7A"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("no profile was saved"), std::string::npos) << err.str();

    // The model and firmware answered well; the garbage begins once the first page is asked
    // (its reply is made as the query comes in, so the page's first key is still sound).
    printer.setFaults({});
    clock.onSleep = [this, f](unsigned ms) {
        if (ms == 10) printer.setFaults(f);
    };
    EXPECT_EQ(profile("0", {"save", file}), 1);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_NE(err.str().find("native.page.density (reply 7A 7A"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("no profile was saved"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace velmora::testing
