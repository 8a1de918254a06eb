// velmora-cli doctor: the connection doctor's report for the connection given (before the
// command, as for any command, or after it), without the connect check that would fail first.
#include <ostream>

#include "cli/commands.h"
#include "doctor/doctor.h"
#include "frontend/connection.h"
#include "platform/spooler.h"

namespace velmora::cli {

namespace {

// The words after "doctor" are connection options only.
std::optional<frontend::ConnectionOptions> doctorOptions(const Args& args, std::string& error) {
    return frontend::parseConnection(args, error);
}

int cmdDoctor(Session& s, const Args& args) {
    if (!args.empty()) {
        std::string error;
        const auto options = doctorOptions(args, error);
        frontend::configureLink(s.comm, *options);  // checked by accepts
    }
    doctor::DoctorSystem system(s.comm.devices(), s.clock, platform::systemSpooler());
    const doctor::DoctorReport report = doctor::RunDoctor(doctor::doctorTargetOf(s.comm), system);
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
