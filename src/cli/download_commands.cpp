// velmora-cli commands for sending files and managing PCX images, over the transfer operations
// (download/transferops.h). On a terminal a transfer draws a progress bar on standard error;
// elsewhere nothing is drawn.
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "cli/outcome.h"
#include "download/transfer.h"
#include "download/transferops.h"
#include "platform/filereader.h"
#include "platform/files.h"
#include "ui/dataexchange.h"

namespace velmora::cli {

namespace {

// Redraws one status line as a transfer's steps come: percentage, bytes and rate.
class ProgressLine {
public:
    ProgressLine(platform::Clock& clock, std::ostream& err) : clock_(clock), err_(err), start_(clock.nowMs()) {}
    ~ProgressLine() {
        if (drawn_) err_ << '\n' << std::flush;
    }
    void operator()(const app::Step& step) {
        if (step.kind != app::Step::Kind::Progress || step.done == 0) return;
        const std::uint64_t now = clock_.nowMs();
        if (drawn_ && now - lastDraw_ < kRedrawMs && step.done < step.total) return;
        lastDraw_ = now;
        drawn_ = true;
        const double seconds = static_cast<double>(now - start_) / 1000.0;
        const double rate = seconds > 0 ? static_cast<double>(step.done) / seconds / (1024.0 * 1024.0) : 0.0;
        const int percent = step.total ? static_cast<int>(step.done * 100 / step.total) : 100;
        const std::string bar(static_cast<std::size_t>(percent * kWidth / 100), '#');
        char line[160];
        std::snprintf(line, sizeof line, "\r[%-30s] %3d%% %llu/%llu bytes %.1f MiB/s", bar.c_str(), percent,
                      static_cast<unsigned long long>(step.done), static_cast<unsigned long long>(step.total), rate);
        err_ << line << std::flush;
    }

private:
    static constexpr std::uint64_t kRedrawMs = 100;
    static constexpr int kWidth = 30;
    platform::Clock& clock_;
    std::ostream& err_;
    std::uint64_t start_;
    std::uint64_t lastDraw_ = 0;
    bool drawn_ = false;
};

// Runs a transfer with a progress line when standard error is a terminal.
template <typename Transfer>
int withProgress(Session& s, Transfer transfer) {
    std::optional<ProgressLine> line;
    if (platform::standardErrorIsTerminal()) line.emplace(s.clock, s.err);
    const app::Outcome outcome = transfer(line ? app::Steps(std::ref(*line)) : app::Steps{});
    line.reset();  // ends the line before the tool's message
    return reportOutcome(s, outcome);
}

int runSendFile(Session& s, const Args& args) {
    return withProgress(s, [&](const app::Steps& steps) { return download::sendFile(s.comm, args[0], steps); });
}

// FILE [--name NAME] [--raw], the options in any order after the file.
struct StoreArgs {
    std::string file;
    std::optional<std::string> name;
    bool raw = false;
};

std::optional<StoreArgs> parseStore(const Args& a) {
    if (a.empty()) return std::nullopt;
    StoreArgs p{a[0], std::nullopt, false};
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (a[i] == "--raw" && !p.raw) {
            p.raw = true;
        } else if (a[i] == "--name" && !p.name && i + 1 < a.size()) {
            p.name = a[++i];
        } else {
            return std::nullopt;
        }
    }
    return p;
}

int runPcxStore(Session& s, const Args& args) {
    const StoreArgs p = *parseStore(args);
    // No name, or an empty one, takes the file's, as the dialog's empty name box does.
    const std::string name = p.name && !p.name->empty() ? *p.name : download::ImageNameFromFile(download::BaseName(p.file));
    if (!p.raw) {
        // Judged before anything is sent: a file that is no image would be stored and printed as one.
        const auto head = platform::readFileHead(p.file, 128);
        const long long size = platform::regularFileSize(p.file);
        if (head && size >= 0)
            if (const std::string problem = download::pcxImageProblem(*head, static_cast<std::uint64_t>(size));
                !problem.empty()) {
                s.err << "velmora-cli: " << p.file << " is " << problem << "; nothing was sent (--raw sends it as it is)\n";
                return kExitUsage;
            }
    }
    return withProgress(s, [&](const app::Steps& steps) { return download::storePcx(s.comm, p.file, name, steps); });
}

int runPcxDelete(Session& s, const Args& args) {
    return reportOutcome(s, args[0] == "--all" ? download::deleteAllPcx(s.comm) : download::deletePcx(s.comm, args[0]));
}

int runPcxInfo(Session& s, const Args&) { return reportOutcome(s, download::pcxInformation(s.comm)); }

// NAME --x N --y N, the options in either order.
bool acceptsRecall(const Args& a) {
    if (a.size() != 5) return false;
    bool x = false, y = false;
    for (std::size_t i = 1; i + 1 < a.size(); i += 2) {
        if (a[i] == "--x" && !x) {
            x = true;
        } else if (a[i] == "--y" && !y) {
            y = true;
        } else {
            return false;
        }
    }
    return x && y;
}

int runPcxRecall(Session& s, const Args& args) {
    int position[2] = {0, 0};  // x, y
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
        // Whole numbers, as the dialog's position boxes take them.
        if (const std::string why = ui::integerBoxMessage(args[i + 1], 1, 0); !why.empty()) {
            s.host.message(why);
            return kExitUsage;
        }
        app::parseWhole(args[i + 1], position[args[i] == "--x" ? 0 : 1]);
    }
    return reportOutcome(s, download::recallPcx(s.comm, args[0], position[0], position[1]));
}

const bool registered = [] {
    registerCommand({"send-file", "send-file FILE         send a file to the printer exactly as stored",
                     [](const Args& a) { return a.size() == 1; }, runSendFile});
    registerCommand({"pcx store",
                     "pcx store FILE [--name NAME] [--raw]  store a PCX image (printed once as a check); a file\n"
                     "                         that is no PCX image the printer takes is refused unless --raw",
                     [](const Args& a) { return parseStore(a).has_value(); }, runPcxStore});
    registerCommand({"pcx delete", "pcx delete NAME|--all  delete one stored image or all of them",
                     [](const Args& a) { return a.size() == 1; }, runPcxDelete});
    registerCommand({"pcx info", "pcx info               have the printer print its image list",
                     [](const Args& a) { return a.empty(); }, runPcxInfo});
    registerCommand({"pcx recall", "pcx recall NAME --x N --y N  print a stored image at a position",
                     acceptsRecall, runPcxRecall});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
