// The RFID write builder and its entry in the dialog catalog.
#include "tester/tavlrfidwritecommand.h"

#include "app/dialogcatalog.h"
#include "app/typedtext.h"
#include "resources/messages.h"
#include "resources/templates_tester.h"
#include "rfid/rfidcommands.h"
#include "rfid/rfidtagops.h"

namespace velmora::tester {

using namespace resources;

namespace {
int cellId(int position) { return IDC_RB_CELL_FIRST + position; }
}  // namespace

CTavlRfidWriteCommand::CTavlRfidWriteCommand(app::ToolContext& ctx) : TesterBuilder(ctx, RfidWriteCommandTemplate()) {}

bool CTavlRfidWriteCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    on(ui::Event::Clicked, IDC_RB_SET_DATA, [this] { OnSetData(); });
    on(ui::Event::Clicked, IDC_RB_RESET_DATA, [this] { OnResetData(); });
    for (int i = 0; i < kRfidBuilderCells; ++i) on(ui::Event::EditChange, cellId(i), [this, i] { OnCellChange(i); });
    if (restored_) {
        enableRange();
    } else {
        type_ = 0;
        start_ = 0;
        count_ = 11;
        insertRequested_ = false;
    }
    push();
    return true;
}

void CTavlRfidWriteCommand::DoDataExchange(ui::DataExchange& dx) {
    dx.CBIndex(IDC_RB_WRITE_TYPE, type_);
    dx.CBIndex(IDC_RB_WRITE_START, start_);
    dx.CBIndex(IDC_RB_WRITE_COUNT, count_);
    for (int i = 0; i < kRfidBuilderCells; ++i) dx.Text(cellId(i), cells_[i]);
}

// Cells s .. s + n - 1 take the data; the lists are fixed until "Reset Data".
void CTavlRfidWriteCommand::enableRange() {
    cellWidth_ = type_ == 1 ? 1 : 2;
    for (int i = 0; i < kRfidBuilderCells; ++i) {
        control(cellId(i)).setLimitText(cellWidth_);
        control(cellId(i)).enable(i >= start_ && i <= start_ + count_);
    }
    control(IDC_RB_RESET_DATA).enable();
    for (int id : {IDC_RB_SET_DATA, IDC_RB_WRITE_TYPE, IDC_RB_WRITE_START, IDC_RB_WRITE_COUNT}) control(id).enable(false);
}

void CTavlRfidWriteCommand::OnSetData() {
    UpdateData(true);
    if (start_ < 0 || count_ < 0 || start_ + count_ + 1 > kRfidBuilderCells) {
        app::ShowMessage(host(), msg::kRfidBadRange);
        return;
    }
    enableRange();
    cells_.fill("");
    push();
}

void CTavlRfidWriteCommand::OnResetData() {
    UpdateData(true);
    control(IDC_RB_RESET_DATA).enable(false);
    for (int id : {IDC_RB_SET_DATA, IDC_RB_WRITE_TYPE, IDC_RB_WRITE_START, IDC_RB_WRITE_COUNT}) control(id).enable();
    cells_.fill("");
    count_ = 11;
    start_ = 0;
    type_ = 0;
    for (int i = 0; i < kRfidBuilderCells; ++i) control(cellId(i)).enable(false);
    push();
}

void CTavlRfidWriteCommand::OnCellChange(int position) {
    UpdateData(true);
    push();
    if (ui::characterCount(cells_[position]) == static_cast<std::size_t>(cellWidth_) &&
        position + 1 < kRfidBuilderCells && control(cellId(position + 1)).enabled())
        SetFocus(cellId(position + 1));
}

rfid::DataFormat CTavlRfidWriteCommand::format() const {
    return type_ == 1 ? rfid::DataFormat::Ascii : rfid::DataFormat::Hex;
}

bool CTavlRfidWriteCommand::PrepareInsert() {
    // Every byte of the range typed in full, each one byte of the tag as the write dialog takes
    // it: a typo would become the tag's data.
    const bool set = control(IDC_RB_RESET_DATA).enabled();
    std::string data;
    for (int i = start_; set && i <= start_ + count_; ++i) {
        if (!rfid::checkCell(format(), cells_[i]).empty()) {
            app::ShowMessage(host(), msg::kRfidCellNotOneByte);
            return false;
        }
        data += cells_[i];
    }
    if (!set) {
        app::ShowMessage(host(), msg::kRfidCellNotOneByte);
        return false;
    }
    if (rfid::dataBreaksQuotes(format(), data)) {
        app::ShowMessage(host(), msg::kQuotedFieldBreaks);
        return false;
    }
    return true;
}

std::string CTavlRfidWriteCommand::InsertText() const {
    std::string data;
    for (const auto& cell : cells_) data += cell;
    return rfid::writeCommand(false, rfid::Memory::Epc, format(), start_ + 4, count_ + 1, data) + "\r\n";
}

namespace {
const bool registered = app::registerDialog({
    "tavl-rfid-write",
    [](app::ToolContext& ctx) { return std::make_unique<CTavlRfidWriteCommand>(ctx); },
    {{"data-set",
      [](ui::Dialog& d) {
          d.click(IDC_RB_SET_DATA);
          const char* bytes[] = {"30", "08", "33", "B2", "DD", "D9", "01", "40", "00", "00", "00", "01"};
          for (int i = 0; i < kRfidBuilderCells; ++i) d.typeText(IDC_RB_CELL_FIRST + i, bytes[i]);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
