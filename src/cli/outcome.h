// How velmora-cli reports what an operation returned: each valid value as a KEY=VALUE line, each
// other one named on standard error with the bytes that came, the result's message as the tool
// shows it, and the exit status.
#pragma once

#include <string>

#include "app/operation.h"
#include "app/settingspage.h"
#include "cli/commands.h"

namespace velmora::cli {

// Prints the values (unless `printValues` is false), names the invalid ones, shows the result's
// message, and returns 0 (done, every value valid), 1 (failed, or a value not valid) or 2
// (refused before anything was sent).
int reportOutcome(Session& s, const app::Outcome& outcome, bool printValues = true);
// Names the values whose reply was not valid on standard error; true when there was none.
bool nameInvalidValues(Session& s, const app::Outcome& outcome);

// Registers "WORDS get [KEY...]" and "WORDS set KEY=VALUE..." over a settings page.
void registerPageCommands(const std::string& words, const std::string& section, const std::string& getUsage,
                          const std::string& setUsage);

}  // namespace velmora::cli
