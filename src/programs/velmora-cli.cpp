// velmora-cli: the command-line program.
#include <iostream>

#include "cli/cli.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/signals.h"

int main(int argc, char** argv) {
    velmora::platform::ignoreBrokenPipe();  // a closed output pipe is reported, exit status 1
    std::vector<std::string> args(argv + 1, argv + argc);
    return velmora::cli::runCli(args, std::cout, std::cerr, velmora::platform::systemDevices(),
                                velmora::platform::realClock());
}
