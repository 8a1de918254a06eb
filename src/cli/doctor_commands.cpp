// velmora-cli doctor: the connection doctor's report for the connection given (before the
// command, as for any command, or after it), without the connect check that would fail first.
#include <ostream>

#include "app/doctor.h"
#include "cli/commands.h"
#include "platform/spooler.h"

namespace velmora::cli {

namespace {

// The words after "doctor" are connection options only; "connect" stands in for a command.
std::optional<CliOptions> doctorOptions(const Args& args, std::string& error) {
    Args words = args;
    words.push_back("connect");
    return parseCliOptions(words, error);
}

int cmdDoctor(Session& s, const Args& args) {
    if (!args.empty()) {
        std::string error;
        const auto options = doctorOptions(args, error);
        configureLink(s.comm, *options);  // checked by accepts
    }
    app::DoctorSystem system(s.comm.devices(), s.clock, platform::systemSpooler());
    const app::DoctorReport report = app::RunDoctor(app::doctorTargetOf(s.comm), system);
    s.out << report.text();
    s.out.flush();
    return report.answered ? kExitOk : kExitFailure;
}

const bool registered = registerCommand({
    "doctor",
    "doctor [CONNECTION]    why the printer does not answer, and what to do",
    [](const Args& a) {
        std::string error;
        return a.empty() || doctorOptions(a, error).has_value();
    },
    cmdDoctor,
    [](const Args&) { return true; },
});

}  // namespace

}  // namespace velmora::cli
