// The file transfer dialog over the transfer operation, and its entry in the dialog catalog.
#include "download/filetransferdlg.h"

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "download/transfer.h"
#include "download/transferops.h"
#include "resources/messages.h"
#include "resources/templates_download.h"
#include "ui/dataexchange.h"

namespace velmora::download {

using namespace resources;

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
        app::ShowMessage(host(), msg::kSelectFile);
        return false;
    }
    if (!UpdateData(true)) return false;
    ui::Control& bar = control(IDC_FT_PROGRESS);
    RepaintPacer repaint(ctx_.clock);
    const app::Outcome outcome = sendFile(ctx_.comm, path, progressBarSteps(bar, repaint));
    bar.setPos(0);
    app::ShowMessage(host(), outcome.result.messageId);
    return outcome.done();
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
