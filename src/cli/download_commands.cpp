// velmora-cli commands for sending files and managing PCX images. Each drives the file transfer or
// the PCX image manager dialog, so the bytes on the link are the dialog's. On a terminal a long
// transfer draws a progress bar on standard error; elsewhere nothing is drawn.
#include <cstdio>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "download/filetransferdlg.h"
#include "download/pcxfiledownloaderdlg.h"
#include "download/transfer.h"
#include "platform/files.h"
#include "resources/templates_download.h"

namespace velmora::cli {

namespace {

using namespace resources;

// Redraws one status line from the dialog's progress bar: percentage, bytes and rate.
class ProgressLine : public ui::DialogObserver {
public:
    ProgressLine(int barId, std::uint64_t total, platform::Clock& clock, std::ostream& err)
        : barId_(barId), total_(total), clock_(clock), err_(err), start_(clock.nowMs()) {}
    ~ProgressLine() override {
        if (drawn_) err_ << '\n' << std::flush;
    }
    void controlChanged(ui::Control& c) override {
        if (c.id() != barId_ || c.pos() <= 0) return;
        const std::uint64_t now = clock_.nowMs();
        if (drawn_ && now - lastDraw_ < kRedrawMs && c.pos() < c.rangeMax()) return;
        lastDraw_ = now;
        drawn_ = true;
        const std::uint64_t sent =
            std::min<std::uint64_t>(static_cast<std::uint64_t>(c.pos()) * download::kProgressUnit, total_);
        const double seconds = static_cast<double>(now - start_) / 1000.0;
        const double rate = seconds > 0 ? static_cast<double>(sent) / seconds / (1024.0 * 1024.0) : 0.0;
        const int percent = total_ ? static_cast<int>(sent * 100 / total_) : 100;
        constexpr int kWidth = 30;
        const std::string bar(static_cast<std::size_t>(percent * kWidth / 100), '#');
        char line[160];
        std::snprintf(line, sizeof line, "\r[%-30s] %3d%% %llu/%llu bytes %.1f MiB/s", bar.c_str(), percent,
                      static_cast<unsigned long long>(sent), static_cast<unsigned long long>(total_), rate);
        err_ << line << std::flush;
    }

private:
    static constexpr std::uint64_t kRedrawMs = 100;
    int barId_;
    std::uint64_t total_;
    platform::Clock& clock_;
    std::ostream& err_;
    std::uint64_t start_;
    std::uint64_t lastDraw_ = 0;
    bool drawn_ = false;
};

// Chooses `file` in a dialog through its "..." button (a file that cannot be chosen is reported
// by the dialog).
void chooseFile(Session& s, ui::Dialog& dlg, int browseId, const std::string& file) {
    s.host.setFileAnswer(file);
    dlg.click(browseId);
    s.host.setFileAnswer(std::nullopt);
}

int runSendFile(Session& s, const Args& args) {
    download::CFileTransferDlg dlg(s.ctx);
    dlg.Create();
    chooseFile(s, dlg, IDC_FT_BROWSE, args[0]);
    if (!dlg.fileChosen()) return kExitFailure;
    std::optional<ProgressLine> progress;
    if (platform::standardErrorIsTerminal()) {
        progress.emplace(IDC_FT_PROGRESS, static_cast<std::uint64_t>(platform::regularFileSize(args[0])), s.clock,
                         s.err);
        dlg.setObserver(&*progress);
    }
    const bool ok = dlg.OnDownLoad();
    dlg.setObserver(nullptr);
    return ok ? kExitOk : kExitFailure;
}

int runPcxStore(Session& s, const Args& args) {
    download::CPcxFileDownloaderDlg dlg(s.ctx);
    dlg.Create();
    chooseFile(s, dlg, IDC_PCX_BROWSE, args[0]);
    if (!dlg.fileChosen()) return kExitFailure;
    if (args.size() == 3) dlg.typeText(IDC_PCX_STORE_NAME, args[2]);
    std::optional<ProgressLine> progress;
    if (platform::standardErrorIsTerminal()) {
        progress.emplace(IDC_PCX_PROGRESS, static_cast<std::uint64_t>(platform::regularFileSize(args[0])), s.clock,
                         s.err);
        dlg.setObserver(&*progress);
    }
    const bool ok = dlg.OnDownLoad();
    dlg.setObserver(nullptr);
    return ok ? kExitOk : kExitFailure;
}

int runPcxDelete(Session& s, const Args& args) {
    download::CPcxFileDownloaderDlg dlg(s.ctx);
    dlg.Create();
    const int before = s.host.messageCount();
    if (args[0] == "--all") {
        dlg.click(IDC_PCX_DELETE_ALL);
    } else {
        dlg.typeText(IDC_PCX_DELETE_NAME, args[0]);
        dlg.click(IDC_PCX_DELETE);
    }
    return s.host.messageCount() == before ? kExitOk : kExitFailure;
}

int runPcxInfo(Session& s, const Args&) {
    download::CPcxFileDownloaderDlg dlg(s.ctx);
    dlg.Create();
    const int before = s.host.messageCount();
    dlg.click(IDC_PCX_INFORMATION);
    return s.host.messageCount() == before ? kExitOk : kExitFailure;
}

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
    download::CPcxFileDownloaderDlg dlg(s.ctx);
    dlg.Create();
    dlg.typeText(IDC_PCX_RECALL_NAME, args[0]);
    for (std::size_t i = 1; i + 1 < args.size(); i += 2)
        dlg.typeText(args[i] == "--x" ? IDC_PCX_RECALL_X : IDC_PCX_RECALL_Y, args[i + 1]);
    const int before = s.host.messageCount();
    dlg.click(IDC_PCX_RECALL);
    return s.host.messageCount() == before ? kExitOk : kExitFailure;
}

const bool registered = [] {
    registerCommand({"send-file", "send-file FILE         send a file to the printer exactly as stored",
                     [](const Args& a) { return a.size() == 1; }, runSendFile});
    registerCommand({"pcx store", "pcx store FILE [--name NAME]  store a PCX image (printed once as a check)",
                     [](const Args& a) { return a.size() == 1 || (a.size() == 3 && a[1] == "--name"); },
                     runPcxStore});
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
