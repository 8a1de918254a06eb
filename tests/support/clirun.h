// velmora-cli run in the test's process against an in-process simulated printer, with a test
// clock and its output captured.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/simdevice.h"

namespace velmora::testing {

class CliRun : public ::testing::Test {
protected:
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return cli::runCli(args, out, err, factory, clock);
    }
    sim::Printer printer;
    SimFactory factory{printer};
    platform::TestClock clock;
    std::ostringstream out, err;
};

}  // namespace velmora::testing
