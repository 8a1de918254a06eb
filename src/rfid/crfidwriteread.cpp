// The RFID write dialog: data cells, passwords, lock payload and the write series.
#include "rfid/crfidwriteread.h"

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "resources/messages.h"
#include "rfid/crfidread.h"
#include "ui/dataexchange.h"

namespace velmora::rfid {

using namespace resources;

namespace {
constexpr int kDefaultStart = 4, kDefaultCountPos = 10;

int cellId(int number) { return IDC_RW_CELL_FIRST + number - 1; }
}  // namespace

CRFIDWriteRead::CRFIDWriteRead(app::ToolContext& ctx) : ui::Dialog(ctx.host, RfidWriteReadTemplate()), ctx_(ctx) {}

bool CRFIDWriteRead::OnInitDialog() {
    start_ = kDefaultStart;
    countPos_ = kDefaultCountPos;
    format_ = 0;
    access_ = kill_ = kDefaultDottedPassword;
    memory_ = 0;
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_RW_SET_DATA, [this] { OnSetData(); });
    on(ui::Event::Clicked, IDC_RW_RESET_DATA, [this] { OnResetData(); });
    on(ui::Event::Clicked, IDC_RW_PASSWORD, [this] { OnPassword(); });
    on(ui::Event::Clicked, IDC_RW_WRITE, [this] { OnWrite(); });
    on(ui::Event::Clicked, IDC_RW_EPC, [this] { OnMemoryChoice(); });
    on(ui::Event::Clicked, IDC_RW_USER, [this] { OnMemoryChoice(); });
    for (int id : {IDC_RW_DO_DATA, IDC_RW_DO_LOCK, IDC_RW_DO_UNLOCK})
        on(ui::Event::Clicked, id, [this] { updateWriteEnable(); });
    on(ui::Event::Clicked, IDC_RW_POPUP_READ, [this] {
        CRFIDRead read(ctx_);
        read.DoModal();
    });
    for (int n = 1; n <= kRfidCells; ++n) on(ui::Event::EditChange, cellId(n), [this, n] { OnCellChange(n); });
    return true;
}

void CRFIDWriteRead::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_RW_ACCESS, access_);
    dx.Text(IDC_RW_KILL, kill_);
    dx.Radio(IDC_RW_EPC, memory_);
    dx.Radio(IDC_RW_LABEL, tagKind_);
    dx.CBIndex(IDC_RW_START, start_);
    dx.CBIndex(IDC_RW_COUNT, countPos_);
    dx.CBIndex(IDC_RW_FORMAT, format_);
    for (int n = 1; n <= kRfidCells; ++n) dx.Text(cellId(n), cells_[n - 1]);
    dx.Check(IDC_RW_DO_DATA, doData_);
    dx.Check(IDC_RW_DO_LOCK, doLock_);
    dx.Check(IDC_RW_DO_UNLOCK, doUnlock_);
    for (int bit = 0; bit < 20; ++bit) dx.Check(IDC_RW_LOCK_BIT0 + bit, lockBits_[bit]);
}

std::uint32_t CRFIDWriteRead::lockPayload() const {
    std::uint32_t payload = 0;
    for (int bit = 0; bit < 20; ++bit)
        if (lockBits_[bit]) payload |= 1u << bit;
    return payload;
}

void CRFIDWriteRead::setCellsEnabled(int from, int to) {
    for (int n = 1; n <= kRfidCells; ++n) control(cellId(n)).enable(n >= from && n <= to);
}

bool CRFIDWriteRead::dataSet() const { return control(IDC_RW_RESET_DATA).enabled(); }

void CRFIDWriteRead::OnSetData() {
    UpdateData(true);
    // The cells end at 64: a range past them would send a byte count the cells cannot fill.
    if (start_ < 0 || countPos_ < 0 || !rangeFits(start_, count())) {
        app::ShowMessage(host(), msg::kRfidBadRange);
        return;
    }
    cellLimit_ = format_ == 1 ? 1 : 2;
    for (int n = 1; n <= kRfidCells; ++n) control(cellId(n)).setLimitText(cellLimit_);
    setCellsEnabled(start_ + 1, start_ + count());
    cells_.fill("");
    control(IDC_RW_RESET_DATA).enable();
    for (int id : {IDC_RW_SET_DATA, IDC_RW_START, IDC_RW_COUNT, IDC_RW_FORMAT}) control(id).enable(false);
    UpdateData(false);
}

void CRFIDWriteRead::OnResetData() {
    UpdateData(true);
    control(IDC_RW_RESET_DATA).enable(false);
    for (int id : {IDC_RW_SET_DATA, IDC_RW_START, IDC_RW_COUNT}) control(id).enable();
    control(IDC_RW_FORMAT).enable(memory_ == 0);  // user memory has no format to choose
    cells_.fill("");
    start_ = kDefaultStart;
    countPos_ = kDefaultCountPos;
    format_ = 0;
    setCellsEnabled(0, -1);
    UpdateData(false);
}

void CRFIDWriteRead::OnCellChange(int number) {
    UpdateData(true);
    UpdateData(false);
    if (ui::characterCount(cells_[number - 1]) != static_cast<std::size_t>(cellLimit_)) return;
    // On to the next cell of the range, then to "Write".
    if (number < kRfidCells && control(cellId(number + 1)).enabled())
        SetFocus(cellId(number + 1));
    else
        SetFocus(IDC_RW_WRITE);
}

void CRFIDWriteRead::OnMemoryChoice() {
    UpdateData(true);
    // Once the data is set the format stays as the cells were made for.
    control(IDC_RW_FORMAT).enable(memory_ == 0 && !dataSet());
}

void CRFIDWriteRead::updateWriteEnable() {
    UpdateData(true);
    control(IDC_RW_WRITE).enable(doData_ || doLock_ || doUnlock_);
}

void CRFIDWriteRead::OnPassword() {
    UpdateData(true);
    const PasswordChange change{currentAccess, currentKill, access_, kill_};
    app::ShowMessage(host(), changePasswords(ctx_.comm, change).result.messageId);
}

TagWriteRequest CRFIDWriteRead::writeRequest() const {
    TagWriteRequest r;
    r.tagKind = tagKind_;
    r.memory = memory_ == 1 ? Memory::User : Memory::Epc;
    r.format = format_ == 1 ? DataFormat::Ascii : DataFormat::Hex;
    r.unlock = doUnlock_;
    r.data = doData_;
    r.start = start_;
    // A range past the last cell keeps its byte count, so the write refuses it.
    for (int n = start_ + 1; n <= start_ + count(); ++n) r.cells.push_back(n <= kRfidCells ? cells_[n - 1] : "");
    if (doLock_) r.lock = lockPayload();
    return r;
}

void CRFIDWriteRead::OnWrite() {
    UpdateData(true);
    // Data that was never set up has no range to send.
    if (doData_ && tagKind_ >= 0 && !dataSet()) {
        app::ShowMessage(host(), msg::kRfidDataFailed);
        return;
    }
    const app::Outcome wrote = writeTag(ctx_.comm, ctx_.clock, writeRequest());
    const std::string& where = wrote.result.where;
    const bool dataSent = doData_ && wrote.result.status != app::Status::Refused && where != "unlock";
    if (dataSent) {
        for (int id : {IDC_RW_SET_DATA, IDC_RW_START, IDC_RW_COUNT}) control(id).enable();
        control(IDC_RW_FORMAT).enable(memory_ == 0);
        if (where == "data") {
            setCellsEnabled(0, -1);
            UpdateData(false);
        }
    }
    if (wrote.result.messageId) app::ShowMessage(host(), wrote.result.messageId);
}

namespace {
const bool registered = app::registerDialog({
    app::kToolRfidWriteRead,
    [](app::ToolContext& ctx) { return std::make_unique<CRFIDWriteRead>(ctx); },
    {{"hex-data",
      [](ui::Dialog& d) {
          d.click(IDC_RW_LABEL);
          d.click(IDC_RW_SET_DATA);
          const char* bytes[] = {"30", "08", "33", "B2", "DD", "D9", "01", "40", "00", "00", "00", "01"};
          for (int i = 0; i < 12; ++i) d.typeText(IDC_RW_CELL_FIRST + 4 + i, bytes[i]);
          d.click(IDC_RW_DO_DATA);
      }},
     {"ascii-data",
      [](ui::Dialog& d) {
          d.click(IDC_RW_METAL);
          d.chooseItem(IDC_RW_START, 0);
          d.chooseItem(IDC_RW_COUNT, 62);
          d.chooseItem(IDC_RW_FORMAT, 1);
          d.click(IDC_RW_SET_DATA);
          const std::string text = "VELMORA RFID TAG DATA 0123456789 abcdefghijklmnopqrstuvwxyz ABCD";
          for (int i = 0; i < kRfidCells; ++i) d.typeText(IDC_RW_CELL_FIRST + i, text.substr(i, 1));
          d.click(IDC_RW_DO_LOCK);
          d.click(IDC_RW_LOCK_BIT0 + 15);
          d.click(IDC_RW_LOCK_BIT0 + 5);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::rfid
