// Start-up options and the application object's start and end.
#include "shell/velmoraapp.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/menumode.h"
#include "app/modelcatalog.h"

namespace velmora::shell {
namespace {

using Args = std::vector<std::string>;

TEST(StartupOptions, TakesItsOwnOptionsAndLeavesTheRest) {
    const struct {
        Args args;
        int menuMode;
        Args rest;
    } cases[] = {
        {{}, 1, {}},
        {{"-p", "USB", "--menu-mode", "0", "--ip", "192.0.2.7"}, 0, {"-p", "USB", "--ip", "192.0.2.7"}},
        {{"--menu-mode=0"}, 0, {}},
        {{"--menu-mode", "0", "--menu-mode=1"}, 1, {}},                        // the last one wins
        {{"x", "--", "--menu-mode", "0"}, 1, {"x", "--", "--menu-mode", "0"}},  // nothing past "--"
        {{"--menu-modes", "0"}, 1, {"--menu-modes", "0"}},                      // not ours
    };
    for (const auto& c : cases) {
        Args args = c.args;
        std::string error;
        const auto options = parseStartupOptions(args, error);
        ASSERT_TRUE(options) << error;
        EXPECT_EQ(options->menuMode, c.menuMode);
        EXPECT_EQ(args, c.rest);
    }
}

TEST(StartupOptions, RejectsBadMenuModesAndLeavesTheArguments) {
    const Args cases[] = {
        {"--menu-mode"},       {"--menu-mode", "2"},      {"--menu-mode", ""},
        {"--menu-mode=01"},    {"--menu-mode", "--port"},
    };
    for (const Args& c : cases) {
        Args args = c;
        std::string error;
        EXPECT_FALSE(parseStartupOptions(args, error)) << c.back();
        EXPECT_NE(error.find("--menu-mode"), std::string::npos);
        EXPECT_EQ(args, c);
    }
}

class VelmoraAppRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("velmora-app-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        app::MenuMode = 1;
        app::FreeModelCatalog();
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
};

TEST_F(VelmoraAppRun, DialogRunsWithModeCatalogAndRemainingArgumentsThenCatalogIsFreed) {
    std::ofstream(dir_ / app::kModelCatalogFileName) << "[SUPPORT]\nPRINTER_LIST=T-1\n";
    CVelmoraApp velmoraApp(dir_.string());
    Args args = {"--menu-mode", "0", "--port", "USB"};
    std::string error;
    int seenMode = -1;
    std::set<std::string> seenModels;
    Args seenArgs;
    const int status = velmoraApp.Run(args, [&] {
        seenMode = app::MenuMode;
        for (const auto& entry : app::theModelCatalog) seenModels.insert(entry.first);
        seenArgs = args;
        return 7;
    }, error);
    EXPECT_EQ(status, 7);
    EXPECT_EQ(seenMode, 0);
    EXPECT_EQ(seenModels, std::set<std::string>{"T-1"});
    EXPECT_EQ(seenArgs, (Args{"--port", "USB"}));
    EXPECT_TRUE(app::theModelCatalog.empty());
}

TEST_F(VelmoraAppRun, BadOptionEndsWithUsageStatusAndNoDialog) {
    CVelmoraApp velmoraApp(dir_.string());
    Args args = {"--menu-mode", "3"};
    std::string error;
    bool ran = false;
    EXPECT_EQ(velmoraApp.Run(args, [&] { ran = true; return 0; }, error), kExitUsage);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(app::theModelCatalog.empty());
}

}  // namespace
}  // namespace velmora::shell
