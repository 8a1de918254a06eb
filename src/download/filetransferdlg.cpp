// The file transfer dialog, and its entry in the dialog catalog.
#include "download/filetransferdlg.h"

#include "app/dialogcatalog.h"
#include "app/menuview.h"
#include "download/transfer.h"
#include "platform/clock.h"
#include "platform/mappedfile.h"
#include "resources/templates_download.h"
#include "ui/dataexchange.h"

namespace velmora::download {

using namespace resources;

namespace {
constexpr int kCantOpenFile = 107;
constexpr int kDownloadCompleted = 237;
constexpr int kSelectFile = 238;
constexpr int kEthernetBarPosition = 20;
}  // namespace

CFileTransferDlg::CFileTransferDlg(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, FileTransferTemplate()), ctx_(ctx) {}

bool CFileTransferDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_FT_BROWSE, [this] { OnBrowse(); });
    on(ui::Event::Clicked, IDC_FT_DOWNLOAD, [this] { OnDownLoad(); });
    return true;
}

void CFileTransferDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_FT_PATH, path);
    dx.Text(IDC_FT_NAME, name);
    dx.Text(IDC_FT_SIZE, size);
}

void CFileTransferDlg::OnBrowse() {
    ui::FileDialogRequest request;
    request.open = true;
    request.defaultExt = "*.*";
    request.filter = "All files(*.*)|*.*|Text files(*.txt)|*.txt|Binary files(*.bin)|*.bin||";
    const FileChoice choice = ChooseFileToSend(host(), request);
    if (choice.outcome == FileChoice::Outcome::Refused) return;
    path = choice.path;
    name = choice.name;
    size = choice.sizeText;
    fileChosen_ = choice.outcome == FileChoice::Outcome::Chosen;
    UpdateData(false);
}

bool CFileTransferDlg::OnDownLoad() {
    if (!fileChosen_) {
        app::ShowMessage(host(), kSelectFile);
        return false;
    }
    if (!UpdateData(true)) return false;
    TransferSource source;
    if (!source.open(path, true)) {
        app::ShowMessage(host(), kCantOpenFile);
        return false;
    }
    link::CComm& comm = ctx_.comm;
    bool ok = false;
    {
        UsbKeepOpen usb(comm);
        TransferTimeouts timeouts(comm);
        const auto bytes = source.bytes();
        ui::Control& bar = control(IDC_FT_PROGRESS);
        RepaintPacer repaint(ctx_.clock);
        bar.setRange(0, ProgressRange(bytes.size()));
        bar.setPos(0);
        if (comm.kind == link::kEthernet) {
            bar.setPos(kEthernetBarPosition);
            platform::runWaitHook();
            // One write, whose pages are let go as its pieces leave.
            ok = SendInChunks(comm, bytes, 0, [&](std::size_t sent) {
                source.release(sent);
                repaint.tick();
            });
        } else {
            ok = SendInChunks(comm, bytes, kFileChunk, [&](std::size_t sent) {
                bar.setPos(bar.pos() + 1);
                source.release(sent);
                repaint.tick();  // the window repaints the bar between chunks
            });
        }
        bar.setPos(0);
    }
    // The port is not reopened after the transfer: reopening purges the device, and that would
    // throw away the end of the file still queued in the driver.
    app::ShowMessage(host(), ok ? kDownloadCompleted : kFileDownloadFailed);
    return ok;
}

namespace {
const bool registered = app::registerDialog({
    app::kToolFileTransfer,
    [](app::ToolContext& ctx) { return std::make_unique<CFileTransferDlg>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::download
