// The RFID read builder and its entry in the dialog catalog.
#include "tester/tavlrfidreadcommand.h"

#include "app/dialogcatalog.h"
#include "resources/templates_rfid.h"
#include "resources/templates_tester.h"
#include "rfid/rfidcommands.h"

namespace velmora::tester {

using namespace resources;

CTavlRfidReadCommand::CTavlRfidReadCommand(app::ToolContext& ctx) : TesterBuilder(ctx, RfidReadCommandTemplate()) {}

bool CTavlRfidReadCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    if (!restored_) {
        type_ = 0;
        start_ = 0;
        count_ = 11;
        output_ = 0;
        insertRequested_ = false;
    }
    push();
    return true;
}

void CTavlRfidReadCommand::DoDataExchange(ui::DataExchange& dx) {
    dx.CBIndex(IDC_RB_READ_TYPE, type_);
    dx.CBIndex(IDC_RB_READ_START, start_);
    dx.CBIndex(IDC_RB_READ_COUNT, count_);
    dx.CBIndex(IDC_RB_READ_OUTPUT, output_);
}

std::string CTavlRfidReadCommand::InsertText() const {
    return rfid::readCommand(false, rfid::Memory::Epc, type_ == 1 ? rfid::DataFormat::Ascii : rfid::DataFormat::Hex,
                             start_ + 4, count_ + 1, output_ == 1 ? 'P' : 'S') +
           "\r\n";
}

namespace {
const bool registered = app::registerDialog({
    "tavl-rfid-read",
    [](app::ToolContext& ctx) { return std::make_unique<CTavlRfidReadCommand>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::tester
