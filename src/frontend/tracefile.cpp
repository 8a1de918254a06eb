// Trace files.
#include "frontend/tracefile.h"

#include <ostream>

#include "platform/files.h"
#include "platform/monotonic.h"

namespace velmora::frontend {

std::unique_ptr<link::SessionTrace> makeSessionTrace(platform::Clock& clock) {
    // The real clock's milliseconds are too coarse for a byte trace; a test clock's time is its own.
    if (&clock == &platform::realClock()) return std::make_unique<link::SessionTrace>(platform::monotonicMicros);
    return std::make_unique<link::SessionTrace>([&clock] { return clock.nowMs() * 1000; });
}

bool writeTrace(const link::SessionTrace& trace, const std::string& path, bool jsonl, std::ostream& err,
                const std::string& program) {
    const auto entries = trace.entries();
    const std::string text = jsonl ? link::formatTraceJsonl(entries, trace.dropped())
                                   : link::formatTraceText(entries, trace.dropped());
    std::string error;
    if (platform::writeOutputFile(path, text, error)) return true;
    err << program << ": cannot write the trace " << path << ": " << error << '\n';
    return false;
}

}  // namespace velmora::frontend
