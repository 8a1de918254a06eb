// velmora-cli entry point.
#include <iostream>

#include "cli/cli.h"
#include "platform/clock.h"
#include "platform/device.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return velmora::cli::runCli(args, std::cout, std::cerr, velmora::platform::systemDevices(),
                                velmora::platform::realClock());
}
