// The session trace as both programs keep and write it for --trace.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "link/sessiontrace.h"
#include "platform/clock.h"

namespace velmora::frontend {

// A trace timed by the clock's own time when it is a test clock, else in real microseconds.
std::unique_ptr<link::SessionTrace> makeSessionTrace(platform::Clock& clock);
// Writes a session trace to `path` as text or JSON lines; false (with a line on err, prefixed
// by the program's name) on failure.
bool writeTrace(const link::SessionTrace& trace, const std::string& path, bool jsonl, std::ostream& err,
                const std::string& program = "velmora-cli");

}  // namespace velmora::frontend
