// The RFID read dialog: the read command, the reply read in full, the cells filled from it.
#include "rfid/crfidread.h"

#include <vector>

#include "app/dialogcatalog.h"
#include "rfid/crfidwriteread.h"
#include "rfid/rfidcommands.h"
#include "ui/dataexchange.h"

namespace velmora::rfid {

using namespace resources;

namespace {
constexpr int kMsgBadRange = 199, kMsgReadOk = 200, kMsgReadFailed = 201;
constexpr std::size_t kReplyArea = 256;
}  // namespace

std::string readTagReply(link::CComm& comm, platform::Clock& clock, std::size_t length) {
    std::vector<std::uint8_t> area(std::min(length, kReplyArea), 0);
    const bool usb = comm.kind == link::kUsb;
    std::size_t got = 0;
    while (got < area.size()) {
        const std::size_t want = usb ? std::min(kUsbPiece, area.size() - got) : area.size() - got;
        const int n = comm.ReadBytes(area.data() + got, want);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
        if (usb && want == kUsbPiece) clock.sleepMs(kUsbPieceWaitMs);
    }
    const std::string bytes(area.begin(), area.begin() + static_cast<std::ptrdiff_t>(got));
    return bytes.substr(0, bytes.find('\0'));
}

CRFIDRead::CRFIDRead(app::ToolContext& ctx) : ui::Dialog(ctx.host, RfidReadTemplate()), ctx_(ctx) {}

bool CRFIDRead::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_RR_READ, [this] { OnRead(); });
    on(ui::Event::Clicked, IDC_RR_PRINT, [this] { OnPrint(); });
    for (int id : {IDC_RW_EPC, IDC_RW_USER})
        on(ui::Event::Clicked, id, [this] {
            UpdateData(true);
            control(IDC_RW_FORMAT).enable(memory_ == 0);
        });
    return true;
}

void CRFIDRead::DoDataExchange(ui::DataExchange& dx) {
    dx.CBIndex(IDC_RW_START, start_);
    dx.CBIndex(IDC_RW_COUNT, countPos_);
    dx.CBIndex(IDC_RW_FORMAT, format_);
    dx.Radio(IDC_RW_EPC, memory_);
    dx.Radio(IDC_RW_LABEL, tagKind_);
    for (int n = 1; n <= kRfidCells; ++n) dx.Text(IDC_RW_CELL_FIRST + n - 1, cells_[n - 1]);
}

void CRFIDRead::OnRead() {
    UpdateData(true);
    const int count = countPos_ + 2;
    if (start_ < 0 || countPos_ < 0 || tagKind_ < 0 || !CRFIDWriteRead::rangeFits(start_, count)) {
        app::ShowMessage(host(), kMsgBadRange);
        return;
    }
    ctx_.comm.BeginAction();
    const bool ascii = format_ == 1;
    const std::string command = readCommand(tagKind_ == 1, memory_ == 1 ? Memory::User : Memory::Epc,
                                            ascii ? DataFormat::Ascii : DataFormat::Hex, start_, count, 'S');
    if (!ctx_.comm.WriteText(command + "\r")) {
        app::ShowMessage(host(), kMsgReadFailed);
        return;
    }
    ctx_.clock.sleepMs(kReadReplyWaitMs);
    const std::size_t length = ascii ? count : 2 * count;
    const std::string reply = readTagReply(ctx_.comm, ctx_.clock, length);
    if (reply.empty()) {
        app::ShowMessage(host(), kMsgReadFailed);
        return;
    }
    cells_.fill("-");
    const std::size_t step = ascii ? 1 : 2;
    for (std::size_t offset = 0, n = start_ + 1; offset < length && n <= kRfidCells; offset += step, ++n)
        cells_[n - 1] = offset < reply.size() ? reply.substr(offset, step) : "";
    UpdateData(false);
    app::ShowMessage(host(), kMsgReadOk);
}

void CRFIDRead::OnPrint() {
    UpdateData(true);
    // The print form's numbers are the read's shifted (start + 4, count - 1), as printers take it.
    const DataFormat format = format_ == 1 ? DataFormat::Ascii : DataFormat::Hex;
    ctx_.comm.WriteText(readCommand(false, Memory::Epc, format, start_ + 4, countPos_ + 1, 'P') + "\r");
}

namespace {
const bool registered = app::registerDialog({
    "rfid-read",
    [](app::ToolContext& ctx) { return std::make_unique<CRFIDRead>(ctx); },
    {{"after-read", [](ui::Dialog& d) { d.click(IDC_RR_READ); }}},
    {},
});
}  // namespace

}  // namespace velmora::rfid
