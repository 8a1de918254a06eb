// The interface page: switch 2 read into six lists, and written back from them.
#include "settings/serialsetting.h"

#include <algorithm>

#include "app/dialogcatalog.h"
#include "resources/templates_settings.h"
#include "settings/settingexchange.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

const std::array<int, kSerialListCount> CSerialSetting::kListIds = {
    IDC_NSER_HANDSHAKE, IDC_NSER_STOP_BIT, IDC_NSER_DATA_LENGTH, IDC_NSER_PARITY_CHECK, IDC_NSER_PARITY_SELECT,
    IDC_NSER_BAUD};

SerialChoices decodeSerialByte(std::uint8_t byte) {
    SerialChoices c{};
    for (int bit = 0; bit < kBaud; ++bit) c[bit] = (byte >> bit) & 1;
    c[kBaud] = !(byte & 0x20) ? 0 : (byte & 0x40) ? 2 : 1;
    return c;
}

std::uint8_t serialByte(const SerialChoices& choices) {
    std::uint8_t byte = 0;
    for (int bit = 0; bit < kBaud; ++bit)
        if (choices[bit] != 0) byte |= static_cast<std::uint8_t>(1u << bit);
    if (choices[kBaud] == 2) byte |= 0x60;
    if (choices[kBaud] == 1) byte |= 0x20;
    return byte;
}

CSerialSetting::CSerialSetting(app::ToolContext& ctx) : ui::Dialog(ctx.host, SerialSettingTemplate()), ctx_(ctx) {}

bool CSerialSetting::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_NSER_GET, [this] { OnGet(); });
    on(ui::Event::Clicked, IDC_NSER_SET, [this] { OnSet(); });
    on(ui::Event::Clicked, IDC_NSER_DEFAULT, [this] { OnDefaultSetting(); });
    return true;
}

void CSerialSetting::DoDataExchange(ui::DataExchange& dx) {
    for (int i = 0; i < kSerialListCount; ++i) dx.CBIndex(kListIds[i], choices[i]);
}

void CSerialSetting::OnGet() {
    ctx_.comm.BeginAction();
    choices.fill(-1);
    UpdateData(false);
    const auto byte = readSwitch(ctx_.comm, ctx_.clock, '^', kSwitch, kReplyWaitMs);
    if (!byte) {
        app::ShowMessage(host(), 221);
        return;
    }
    if (!control(IDC_NSER_SET).enabled()) {
        for (int id : kListIds) control(id).enable();
        control(IDC_NSER_SET).enable();
        control(IDC_NSER_DEFAULT).enable();
    }
    choices = decodeSerialByte(*byte);
    UpdateData(false);
    app::ShowMessage(host(), 220);
}

void CSerialSetting::OnSet() {
    UpdateData(true);
    // A list without a choice has no bit to give: a guessed byte could leave the printer set up
    // for a link the user can no longer reach it over.
    if (std::ranges::any_of(choices, [](int c) { return c < 0; })) {
        app::ShowMessage(host(), 225);
        return;
    }
    if (writeSwitch(ctx_.comm, '^', kSwitch, serialByte(choices), false) > 0) {
        for (int id : {222, 223, 224}) app::ShowMessage(host(), id);
    } else {
        app::ShowMessage(host(), 225);
    }
}

void CSerialSetting::OnDefaultSetting() {
    UpdateData(true);  // the baud list keeps what it shows
    for (int i = 0; i < kBaud; ++i) choices[i] = 0;
    UpdateData(false);
}

namespace {
const bool registered = app::registerDialog({
    "native-interface",
    [](app::ToolContext& ctx) { return std::make_unique<CSerialSetting>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_NSER_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::settings
