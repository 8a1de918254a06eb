// The command families of the simulated printer. Each family registers its handlers on a
// CommandSet in one function; standardCommands() (parser.h) is all of them together.
#pragma once

#include "sim/parser.h"

namespace velmora::sim {

// "^cp" (both status bytes) and "^cu" (byte 0).
void addStatusCommands(CommandSet& commands);

}  // namespace velmora::sim
