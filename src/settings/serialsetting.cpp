// The interface page: switch 2 read into six lists, and written back from them.
#include "settings/serialsetting.h"

#include "app/dialogcatalog.h"
#include "resources/messages.h"
#include "resources/templates_settings.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

const std::array<int, kSerialListCount> CSerialSetting::kListIds = {
    IDC_NSER_HANDSHAKE, IDC_NSER_STOP_BIT, IDC_NSER_DATA_LENGTH, IDC_NSER_PARITY_CHECK, IDC_NSER_PARITY_SELECT,
    IDC_NSER_BAUD};

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
    choices.fill(-1);
    UpdateData(false);
    const app::Outcome got = getSerialSetting(ctx_.comm, ctx_.clock);
    if (got.values.empty() || !got.values.front().replied) {
        app::ShowMessage(host(), msg::kSerialGetFailed);
        return;
    }
    if (!control(IDC_NSER_SET).enabled()) {
        for (int id : kListIds) control(id).enable();
        control(IDC_NSER_SET).enable();
        control(IDC_NSER_DEFAULT).enable();
    }
    // The page shows the first byte that came, as it always has.
    choices = decodeSerialByte(static_cast<std::uint8_t>(got.values.front().raw[0]));
    UpdateData(false);
    app::ShowMessage(host(), msg::kSerialGetOk);
}

void CSerialSetting::OnSet() {
    UpdateData(true);
    const app::Outcome set = setSerialSetting(ctx_.comm, choices);
    if (!set.done()) {
        app::ShowMessage(host(), msg::kSerialSetFailed);
        return;
    }
    for (int id : {msg::kSerialSetOk, msg::kRestartPrinter, msg::kReconnectPrinter}) app::ShowMessage(host(), id);
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
