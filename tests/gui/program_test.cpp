// The window program as a user starts it: --help and --version answer without a display, since
// they are handled before Qt needs one.
#include <gtest/gtest.h>

#include <string>

#include "support/processes.h"

namespace velmora {
namespace {

TEST(VelmoraProgram, HelpAndVersionNeedNoDisplay) {
    const struct {
        const char* args;
        const char* expected;
    } cases[] = {
        {"--help", "Usage: velmora "},
        {"-h", "--menu-mode 0|1"},
        {"--menu-mode 0 --version", "velmora 1.0.0\n"},
    };
    for (const auto& c : cases) {
        const testing::ProcessResult r =
            testing::runProgram("velmora", c.args, "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
        EXPECT_EQ(r.status, 0) << c.args << ": " << r.output;
        EXPECT_NE(r.output.find(c.expected), std::string::npos) << c.args << ": " << r.output;
    }
}

}  // namespace
}  // namespace velmora
