// The PCX image manager dialog, its command texts, and its entry in the dialog catalog.
#include "download/pcxfiledownloaderdlg.h"

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
constexpr int kPcxCompleted = 146;
constexpr int kSelectPcx = 147;
constexpr int kTypeImageName = 148;
constexpr int kEthernetBarPosition = 20;
}  // namespace

std::string PcxStoreHeader(std::size_t size, const std::string& name) {
    return "IS" + std::to_string(size) + ",'" + name + "'";
}

std::string PcxRecallTrailer(const std::string& name) { return "\r\rIR100,100,'" + name + "'\rP1\r"; }

std::string PcxDeleteCommand(const std::string& name) { return "ID'" + name + "'\r\nII\r\n"; }

std::string PcxRecallCommand(int x, int y, const std::string& name) {
    return "IR" + std::to_string(x) + "," + std::to_string(y) + ",'" + name + "'\rP1\r";
}

bool IsUsableImageName(const std::string& name) {
    return !name.empty() && name.find_first_of("'\r\n") == std::string::npos;
}

std::string ImageNameFromFile(const std::string& fileName) {
    return fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

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
    // Positions are whole numbers: anything else is refused with the framework's message.
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
        app::ShowMessage(host(), kSelectPcx);
        return false;
    }
    if (!UpdateData(true)) return false;
    TransferSource source;
    if (!source.open(path, false)) {
        app::ShowMessage(host(), kCantOpenFile);
        return false;
    }
    if (storeName.empty()) {
        storeName = ImageNameFromFile(fileName);
        control(IDC_PCX_STORE_NAME).setText(storeName);
    }
    if (!IsUsableImageName(storeName)) {
        app::ShowMessage(host(), kTypeImageName);
        return false;
    }
    bool ok = false;
    {
        UsbKeepOpen usb(ctx_.comm);
        ok = [&] {
            link::CComm& comm = ctx_.comm;
            const auto bytes = source.bytes();
            // The header announces exactly the bytes that follow, even when the path was edited
            // after the file was chosen.
            if (!comm.WriteText(PcxStoreHeader(bytes.size(), storeName))) return false;
            ui::Control& bar = control(IDC_PCX_PROGRESS);
            RepaintPacer repaint(ctx_.clock);
            bar.setRange(0, ProgressRange(bytes.size()));
            bar.setPos(0);
            bool sent = false;
            if (comm.kind == link::kEthernet) {
                bar.setPos(kEthernetBarPosition);
                platform::runWaitHook();
                // One write, whose pages are let go as its pieces leave.
                sent = SendInChunks(comm, bytes, 0, [&](std::size_t done) {
                    source.release(done);
                    repaint.tick();
                });
            } else {
                sent = SendInChunks(comm, bytes, kPcxChunk, [&](std::size_t done) {
                    bar.setPos(bar.pos() + 1);
                    source.release(done);
                    repaint.tick();
                });
            }
            bar.setPos(0);
            // No recall follows a store that did not arrive whole.
            return sent && comm.WriteText(PcxRecallTrailer(storeName)) != 0;
        }();
    }
    app::ShowMessage(host(), ok ? kPcxCompleted : kPcxDownloadFailed);
    return ok;
}

void CPcxFileDownloaderDlg::OnDeleteImage() {
    if (!UpdateData(true)) return;
    if (!IsUsableImageName(deleteName)) {
        app::ShowMessage(host(), kTypeImageName);
        return;
    }
    ctx_.comm.WriteText(PcxDeleteCommand(deleteName));
}

void CPcxFileDownloaderDlg::OnDeleteAllImages() {
    ctx_.comm.WriteBytes(reinterpret_cast<const std::uint8_t*>(kPcxDeleteAll), sizeof kPcxDeleteAll - 1);
}

void CPcxFileDownloaderDlg::OnImageInformation() {
    ctx_.comm.WriteBytes(reinterpret_cast<const std::uint8_t*>(kPcxInformation), sizeof kPcxInformation - 1);
}

void CPcxFileDownloaderDlg::OnImageRecall() {
    if (!UpdateData(true)) return;
    if (!IsUsableImageName(recallName)) {
        app::ShowMessage(host(), kTypeImageName);
        return;
    }
    ctx_.comm.WriteText(PcxRecallCommand(recallX, recallY, recallName));
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
