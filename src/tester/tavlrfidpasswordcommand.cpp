// The RFID password builder and its entry in the dialog catalog.
#include "tester/tavlrfidpasswordcommand.h"

#include "app/dialogcatalog.h"
#include "resources/messages.h"
#include "resources/templates_rfid.h"
#include "resources/templates_tester.h"
#include "rfid/rfidcommands.h"

namespace velmora::tester {

using namespace resources;

namespace {
}

CTavlRfidPasswordCommand::CTavlRfidPasswordCommand(app::ToolContext& ctx)
    : TesterBuilder(ctx, RfidPasswordCommandTemplate()) {}

bool CTavlRfidPasswordCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    for (int id : {IDC_RB_ACCESS, IDC_RB_KILL}) on(ui::Event::EditChange, id, [this, id] { OnFieldChange(id); });
    if (!restored_) {
        access_ = kill_ = rfid::kDefaultDottedPassword;
        insertRequested_ = false;
    }
    push();
    return true;
}

void CTavlRfidPasswordCommand::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(IDC_RB_ACCESS, access_);
    dx.Text(IDC_RB_KILL, kill_);
}

// A dot after each pair as it is typed, so eight digits show as four dotted pairs.
void CTavlRfidPasswordCommand::OnFieldChange(int id) {
    UpdateData(true);
    std::string& text = id == IDC_RB_ACCESS ? access_ : kill_;
    if (text.size() == 2 || text.size() == 5 || text.size() == 8) {
        text += '.';
        SetFocus(id);
        ui::Control& field = control(id);
        field.setText(text);
        field.setSel(static_cast<int>(text.size()), static_cast<int>(text.size()));
    }
    push();
}

bool CTavlRfidPasswordCommand::PrepareInsert() {
    // Eight hexadecimal digits each: anything else would become a password nobody can present.
    const auto access = rfid::passwordDigits(access_);
    if (!access) {
        app::ShowMessage(host(), msg::kRfidBadAccess);
        return false;
    }
    const auto kill = rfid::passwordDigits(kill_);
    if (!kill) {
        app::ShowMessage(host(), msg::kRfidBadKill);
        return false;
    }
    accessDigits_ = *access;
    killDigits_ = *kill;
    return true;
}

std::string CTavlRfidPasswordCommand::InsertText() const {
    return rfid::passwordCommand(rfid::kDefaultPassword, rfid::kDefaultPassword, accessDigits_, killDigits_) + "\r\n";
}

namespace {
const bool registered = app::registerDialog({
    "tavl-rfid-password",
    [](app::ToolContext& ctx) { return std::make_unique<CTavlRfidPasswordCommand>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::tester
