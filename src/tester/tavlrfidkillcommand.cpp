// The RFID kill builder and its entry in the dialog catalog.
#include "tester/tavlrfidkillcommand.h"

#include "app/dialogcatalog.h"
#include "resources/templates_rfid.h"
#include "resources/templates_tester.h"
#include "rfid/rfidcommands.h"

namespace velmora::tester {

using namespace resources;

CTavlRfidKillCommand::CTavlRfidKillCommand(app::ToolContext& ctx) : TesterBuilder(ctx, RfidKillCommandTemplate()) {}

bool CTavlRfidKillCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    if (!restored_) insertRequested_ = false;
    push();
    return true;
}

std::string CTavlRfidKillCommand::InsertText() const { return std::string(rfid::kKill) + "\r\n"; }

namespace {
const bool registered = app::registerDialog({
    "tavl-rfid-kill",
    [](app::ToolContext& ctx) { return std::make_unique<CTavlRfidKillCommand>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::tester
