// The RFID read dialog: the read command, the reply read in full, the cells filled from it.
#include "rfid/crfidread.h"

#include "app/dialogcatalog.h"
#include "resources/messages.h"
#include "ui/dataexchange.h"

namespace velmora::rfid {

using namespace resources;

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
    if (start_ < 0 || countPos_ < 0 || tagKind_ < 0) {
        app::ShowMessage(host(), msg::kRfidBadRange);
        return;
    }
    const TagReadRequest request{tagKind_ == 1, memory_ == 1 ? Memory::User : Memory::Epc,
                                 format_ == 1 ? DataFormat::Ascii : DataFormat::Hex, start_, countPos_ + 2};
    app::Outcome got;
    {
        // The printer takes seconds to answer: the bottom line and the busy cursor say so.
        app::ShowStatus(host(), msg::kStatusReadingTag);
        ui::LongAction action(host(), kReadReplyWaitMs);
        got = readTag(ctx_.comm, ctx_.clock, request);
    }
    // The cells show whatever came, as far as it reaches; only nothing at all is a failed read.
    if (got.values.empty() || !got.values.front().replied) {
        app::ShowStatus(host(), msg::kStatusTagNotRead);
        app::ShowMessage(host(), got.result.messageId);
        return;
    }
    app::ShowStatus(host(), msg::kStatusTagRead);
    const std::string& reply = got.values.front().raw;
    const std::size_t length = tagReplyLength(request);
    const std::size_t step = request.format == DataFormat::Ascii ? 1 : 2;
    cells_.fill("-");
    for (std::size_t offset = 0, n = start_ + 1; offset < length && n <= kRfidCells; offset += step, ++n)
        cells_[n - 1] = offset < reply.size() ? reply.substr(offset, step) : "";
    UpdateData(false);
    app::ShowMessage(host(), msg::kRfidReadOk);
}

void CRFIDRead::OnPrint() {
    UpdateData(true);
    printTag(ctx_.comm, format_ == 1 ? DataFormat::Ascii : DataFormat::Hex, start_, countPos_ + 2);
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
