// The PCX image manager dialog over the image operations, and its entry in the dialog catalog.
#include "download/pcxfiledownloaderdlg.h"

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "download/transfer.h"
#include "download/transferops.h"
#include "resources/messages.h"
#include "resources/templates_download.h"
#include "ui/dataexchange.h"

namespace velmora::download {

using namespace resources;

CPcxFileDownloaderDlg::CPcxFileDownloaderDlg(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, PcxFileDownloaderTemplate()), ctx_(ctx) {}

bool CPcxFileDownloaderDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_PCX_BROWSE, [this] { OnBrowse(); });
    on(ui::Event::Clicked, IDC_PCX_DOWNLOAD, [this] { OnDownLoad(); });
    on(ui::Event::Clicked, IDC_PCX_DELETE, [this] { OnDeleteImage(); });
    on(ui::Event::Clicked, IDC_PCX_DELETE_ALL, [this] { OnDeleteAllImages(); });
    on(ui::Event::Clicked, IDC_PCX_INFORMATION, [this] { OnImageInformation(); });
    on(ui::Event::Clicked, IDC_PCX_RECALL, [this] { OnImageRecall(); });
    return true;
}

void CPcxFileDownloaderDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_PCX_PATH, path);
    dx.Text(IDC_PCX_NAME, fileName);
    dx.Text(IDC_PCX_SIZE, sizeText);
    dx.Text(IDC_PCX_STORE_NAME, storeName);
    dx.Text(IDC_PCX_DELETE_NAME, deleteName);
    dx.Text(IDC_PCX_RECALL_NAME, recallName);
    // The positions are taken as typed; Image Recall, the one button that sends them, checks them.
    dx.Text(IDC_PCX_RECALL_X, recallX);
    dx.Text(IDC_PCX_RECALL_Y, recallY);
}

void CPcxFileDownloaderDlg::OnBrowse() {
    ui::FileDialogRequest request;
    request.open = true;
    request.filter = "PCX files (*.pcx)|*.pcx||";
    const FileChoice choice = ChooseFileToSend(host(), request);
    if (choice.outcome == FileChoice::Outcome::Refused) return;
    path = choice.path;
    fileName = choice.name;
    sizeText = choice.sizeText;
    if (choice.outcome == FileChoice::Outcome::Cancelled) {
        fileChosen_ = false;
        UpdateData(false);
        return;
    }
    // The boxes may hold a position that is no number: take the texts as they are.
    storeName = deleteName = recallName = ImageNameFromFile(fileName);
    fileChosen_ = true;
    control(IDC_PCX_PATH).setText(path);
    control(IDC_PCX_NAME).setText(fileName);
    control(IDC_PCX_SIZE).setText(sizeText);
    for (int id : {IDC_PCX_STORE_NAME, IDC_PCX_DELETE_NAME, IDC_PCX_RECALL_NAME}) control(id).setText(storeName);
}

bool CPcxFileDownloaderDlg::OnDownLoad() {
    if (!fileChosen_) {
        app::ShowMessage(host(), msg::kSelectPcx);
        return false;
    }
    if (!UpdateData(true)) return false;
    const std::string name = storeName.empty() ? ImageNameFromFile(fileName) : storeName;
    ui::Control& bar = control(IDC_PCX_PROGRESS);
    RepaintPacer repaint(ctx_.clock);
    const app::Outcome outcome = storePcx(ctx_.comm, path, name, progressBarSteps(bar, repaint));
    bar.setPos(0);
    // An empty name box shows the name the file gave, once the file could be read.
    if (storeName.empty() && outcome.result.messageId != msg::kCantOpenFile) {
        storeName = name;
        control(IDC_PCX_STORE_NAME).setText(storeName);
    }
    app::ShowMessage(host(), outcome.result.messageId);
    return outcome.done();
}

void CPcxFileDownloaderDlg::OnDeleteImage() {
    if (!UpdateData(true)) return;
    // Only a name the command cannot carry has a message; the port object reports a failed write.
    if (const int id = deletePcx(ctx_.comm, deleteName).result.messageId) app::ShowMessage(host(), id);
}

void CPcxFileDownloaderDlg::OnDeleteAllImages() { deleteAllPcx(ctx_.comm); }

void CPcxFileDownloaderDlg::OnImageInformation() { pcxInformation(ctx_.comm); }

void CPcxFileDownloaderDlg::OnImageRecall() {
    if (!UpdateData(true)) return;
    // Whole numbers only, refused with the framework's message on the box that holds another.
    int x = 0, y = 0;
    ui::DataExchange positions(*this, true);
    positions.Text(IDC_PCX_RECALL_X, x);
    positions.Text(IDC_PCX_RECALL_Y, y);
    if (positions.failed()) return;
    if (const int id = recallPcx(ctx_.comm, recallName, x, y).result.messageId) app::ShowMessage(host(), id);
}

namespace {
const bool registered = app::registerDialog({
    app::kToolPcxDownloader,
    [](app::ToolContext& ctx) { return std::make_unique<CPcxFileDownloaderDlg>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::download
