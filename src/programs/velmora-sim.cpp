// velmora-sim: the simulated printer as a program, so the tool can be tried without a printer.
// Prints where it listens, serves until SIGINT or SIGTERM, then prints what it received.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/signals.h"
#include "sim/labelfiles.h"
#include "sim/options.h"
#include "sim/printer.h"
#include "sim/server.h"
#include "sim/statefile.h"
#include "sim/statusscript.h"
#if VELMORA_WITH_PREVIEW
#include <mutex>

#include "preview/labelpng.h"
#endif

int main(int argc, char** argv) {
    using namespace velmora;

    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string error;
    const auto options = sim::parseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "velmora-sim: %s\nTry 'velmora-sim --help'.\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(sim::usage().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(sim::versionText().c_str(), stdout);
        return 0;
    }

    // Blocked before the server's threads start, so they inherit the mask and only sigwait sees
    // the signals.
    platform::blockTerminationSignals();

    sim::Printer printer;
    sim::applyOptions(*options, printer);
    sim::LabelFiles labelFiles;
    if (!options->labelsDirectory.empty()) {
        if (!labelFiles.open(options->labelsDirectory, error)) {
            std::fprintf(stderr, "velmora-sim: cannot write labels to %s\n", error.c_str());
            return 1;
        }
        // A label that cannot be written is reported and the printer goes on printing.
#if VELMORA_WITH_PREVIEW
        // Each record gets its picture beside it, label-NNNN.png; one picture at a time.
        preview::ensureGuiApplication();
        static std::mutex pictureMutex;
        printer.setLabelSink([&labelFiles, &printer](const sim::LabelRecord& record) {
            std::string why;
            const std::string json = labelFiles.write(record, why);
            if (json.empty()) {
                std::fprintf(stderr, "velmora-sim: %s\n", why.c_str());
                return;
            }
            const std::string png = json.substr(0, json.size() - 5) + ".png";
            const std::lock_guard lock(pictureMutex);
            const auto images = [&printer](const std::string& name) { return printer.images().image(name); };
            if (!preview::writeLabelPng(record, images, png, why)) std::fprintf(stderr, "velmora-sim: %s: %s\n", png.c_str(), why.c_str());
        });
#else
        printer.setLabelSink([&labelFiles](const sim::LabelRecord& record) {
            std::string why;
            if (labelFiles.write(record, why).empty()) std::fprintf(stderr, "velmora-sim: %s\n", why.c_str());
        });
#endif
    }
    if (!options->statePath.empty()) {
        // Found now, not at the first save an hour later.
        if (const std::string problem = platform::outputProblem(options->statePath); !problem.empty()) {
            std::fprintf(stderr, "velmora-sim: --state: %s\n", problem.c_str());
            return 2;
        }
        const sim::StateFile state(options->statePath);
        for (const std::string& note : state.load(printer)) std::fprintf(stderr, "velmora-sim: %s\n", note.c_str());
        printer.setSaveHook([state](const sim::Printer& saved) {
            std::string error;
            if (!state.save(saved, error)) std::fprintf(stderr, "velmora-sim: %s\n", error.c_str());
        });
    }
    if (!options->imagesDirectory.empty()) {
        const std::string directory = options->imagesDirectory;
        if (!platform::ensureDirectory(directory, error)) {
            std::fprintf(stderr, "velmora-sim: cannot write images to %s: %s\n", directory.c_str(), error.c_str());
            return 1;
        }
        printer.images().setSink([directory](const std::string& name, std::string_view bytes) {
            std::string why;
            const std::string path = directory + "/" + sim::imageFileName(name);
            if (!platform::writeOutputFile(path, bytes, why)) std::fprintf(stderr, "velmora-sim: %s: %s\n", path.c_str(), why.c_str());
        });
    }
    std::vector<sim::ScriptEvent> script;
    if (!options->statusScript.empty()) {
        constexpr std::size_t kMaxScript = 1u << 20;
        const platform::TextFileRead read = platform::readTextFile(options->statusScript, kMaxScript);
        const auto events = read.outcome == platform::TextFileRead::Outcome::Read
                                ? sim::parseStatusScript(read.text, error)
                                : std::nullopt;
        if (!events) {
            std::fprintf(stderr, "velmora-sim: --status-script %s: %s\n", options->statusScript.c_str(),
                         read.outcome == platform::TextFileRead::Outcome::Read ? error.c_str()
                                                                               : "cannot read it (a file of up to 1 MiB)");
            return 2;
        }
        script = *events;
    }
    sim::StatusScriptPlayer player(script, printer);
    sim::Server server(printer);
    if (options->tcp) {
        const std::string address = options->listenAddress;
        const unsigned port = server.startTcp(options->port, address);
        if (port == 0) {
            std::fprintf(stderr, "velmora-sim: cannot listen on %s:%u: %s\n", address.c_str(), options->port,
                         server.error().c_str());
            return 1;
        }
        std::printf("velmora-sim: listening on %s:%u\n", address.c_str(), port);
    }
    if (options->pty) {
        const std::string path = server.startPty();
        if (path.empty()) {
            std::fprintf(stderr, "velmora-sim: %s\n", server.error().c_str());
            return 1;
        }
        std::printf("velmora-sim: pseudo-terminal %s\n", path.c_str());
    }
    std::fflush(stdout);
    player.start();

    platform::waitForTerminationSignal();
    player.stop();
    server.stop();
    const sim::Journal& journal = printer.journal();
    std::printf("velmora-sim: received %llu bytes, recognised %llu commands\n",
                static_cast<unsigned long long>(journal.totalBytes()),
                static_cast<unsigned long long>(journal.totalCommands()));
    std::printf("velmora-sim: %zu images stored\n", printer.images().list().size());
    std::printf("velmora-sim: printed %llu labels\n",
                static_cast<unsigned long long>(printer.totalPrintedLabels()));
    std::printf("velmora-sim: %s\n", sim::mediaSummary(printer.media()).c_str());
    // Fields or errors after the last print command would otherwise vanish without a word.
    const sim::LabelRecord unprinted = printer.pendingLabel();
    if (!unprinted.fields.empty() || !unprinted.errors.empty()) {
        std::printf("velmora-sim: a label with %zu fields and %zu errors was never printed\n",
                    unprinted.fields.size(),
                    unprinted.errors.size() + static_cast<std::size_t>(unprinted.errorsNotKept));
    }
    std::fflush(stdout);
    return 0;
}
