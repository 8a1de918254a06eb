// The RFID security builder and its entry in the dialog catalog.
#include "tester/tavlrfidsecuritycommand.h"

#include "app/dialogcatalog.h"
#include "resources/templates_rfid.h"
#include "resources/templates_tester.h"
#include "rfid/rfidcommands.h"

namespace velmora::tester {

using namespace resources;

namespace {
int bitId(int bit) { return kSecurityPayloadIds[19 - bit]; }
}  // namespace

CTAVLRfidSecurityCommand::CTAVLRfidSecurityCommand(app::ToolContext& ctx)
    : TesterBuilder(ctx, RfidSecurityCommandTemplate()) {}

bool CTAVLRfidSecurityCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    on(ui::Event::Clicked, IDC_RB_PAYLOAD_MODE, [this] {
        UpdateData(true);
        payloadMode();
    });
    on(ui::Event::Clicked, IDC_RB_AUTO_MODE, [this] {
        UpdateData(true);
        autoMode();
    });
    for (int id : {IDC_RB_LOCK, IDC_RB_UNLOCK_CHOICE, IDC_RB_UNLOCK})
        on(ui::Event::Clicked, id, [this] { UpdateData(true); });
    if (!restored_) {
        bits_.fill(false);
        unlock_ = false;
        insertRequested_ = false;
        payloadMode();
    } else if (mode_ == 0) {
        payloadMode();
    } else {
        autoMode();
    }
    return true;
}

void CTAVLRfidSecurityCommand::DoDataExchange(ui::DataExchange& dx) {
    dx.Radio(IDC_RB_PAYLOAD_MODE, mode_);
    dx.Check(IDC_RB_UNLOCK, unlock_);
    dx.Radio(IDC_RB_LOCK, choice_);
    for (int bit = 0; bit < 20; ++bit) dx.Check(bitId(bit), bits_[bit]);
}

void CTAVLRfidSecurityCommand::payloadMode() {
    mode_ = 0;
    control(IDC_RB_UNLOCK).enable();
    for (int bit = 0; bit < 20; ++bit) control(bitId(bit)).enable();
    choice_ = -1;
    control(IDC_RB_LOCK).enable(false);
    control(IDC_RB_UNLOCK_CHOICE).enable(false);
    push();
}

void CTAVLRfidSecurityCommand::autoMode() {
    mode_ = 1;
    choice_ = 0;
    control(IDC_RB_LOCK).enable();
    control(IDC_RB_UNLOCK_CHOICE).enable();
    control(IDC_RB_UNLOCK).enable(false);
    for (int bit = 0; bit < 20; ++bit) control(bitId(bit)).enable(false);
    push();
}

std::uint32_t CTAVLRfidSecurityCommand::payload() const {
    std::uint32_t p = 0;
    for (int bit = 0; bit < 20; ++bit)
        if (bits_[bit]) p |= 1u << bit;
    return p;
}

std::string CTAVLRfidSecurityCommand::InsertText() const {
    if (mode_ == 1) return std::string(choice_ == 1 ? rfid::kUnlock : rfid::kLock) + "\r\n";
    return rfid::lockPayloadCommand(unlock_, payload()) + "\r\n";
}

namespace {
const bool registered = app::registerDialog({
    "tavl-rfid-security",
    [](app::ToolContext& ctx) { return std::make_unique<CTAVLRfidSecurityCommand>(ctx); },
    {{"auto", [](ui::Dialog& d) { d.click(IDC_RB_AUTO_MODE); }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
