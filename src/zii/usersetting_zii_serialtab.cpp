// ZII serial interface page: query 11 in, "^SC" out, and the restart reminder, through the
// operations of ziiserialops.h.
#include "zii/usersetting_zii_serialtab.h"

#include <algorithm>
#include <cctype>

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/messages.h"
#include "resources/templates_zii_pages.h"
#include "ui/dataexchange.h"

namespace velmora::zii {

using namespace resources;

namespace {

// "Default Setting": the entry each list gets, compared in upper case.
constexpr std::array<const char*, kSerialFieldCount> kDefaults = {"115200", "8", "NONE", "1", "HARDWARE"};

std::string upper(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

const std::array<int, kSerialFieldCount> CUserSetting_ZII_SerialTab::kListIds = {
    IDC_ZSER_BAUD, IDC_ZSER_DATA_LENGTH, IDC_ZSER_PARITY, IDC_ZSER_STOP_BIT, IDC_ZSER_PROTOCOL};

CUserSetting_ZII_SerialTab::CUserSetting_ZII_SerialTab(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiSerialTabTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_SerialTab::OnInitDialog() {
    FillComboFromString(control(IDC_ZSER_BAUD), msg::kBaudItems);
    FillComboFromString(control(IDC_ZSER_PARITY), msg::kParityItems);
    FillComboFromString(control(IDC_ZSER_STOP_BIT), msg::kStopBitItems);
    FillComboFromString(control(IDC_ZSER_PROTOCOL), msg::kProtocolItems);
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_ZSER_GET, [this] { OnGet(); });
    on(ui::Event::Clicked, IDC_ZSER_SET, [this] { OnSet(); });
    on(ui::Event::Clicked, IDC_ZSER_DEFAULT, [this] { OnDefaultSetting(); });
    return true;
}

void CUserSetting_ZII_SerialTab::DoDataExchange(ui::DataExchange& dx) {
    for (int i = 0; i < kSerialFieldCount; ++i) dx.CBIndex(kListIds[i], positions[i]);
}

void CUserSetting_ZII_SerialTab::enableEditing() {
    for (int id : kListIds) control(id).enable();
    control(IDC_ZSER_SET).enable();
}

void CUserSetting_ZII_SerialTab::OnDefaultSetting() {
    ui::WaitCursor wait(host());
    enableEditing();
    for (int i = 0; i < kSerialFieldCount; ++i) {
        ui::Control& list = control(kListIds[i]);
        for (int pos = 0; pos < list.count(); ++pos) {
            if (upper(list.itemText(pos)) == kDefaults[i]) {
                list.setCurSel(pos);
                break;
            }
        }
    }
}

void CUserSetting_ZII_SerialTab::OnGet() {
    ui::WaitCursor wait(host());
    enableEditing();
    const app::Outcome got = getSerialSettings(ctx_.comm, ctx_.clock);
    if (got.values.empty() || !got.values.front().replied) return;
    // A field the reply does not name leaves its list as it was.
    UpdateData(true);
    for (std::size_t i = 0; i < kSerialFieldCount; ++i) {
        const auto& words = serialKeys()[i].words;
        const auto it = std::find(words.begin(), words.end(), got.values[i].text);
        if (it != words.end()) positions[i] = static_cast<int>(it - words.begin());
    }
    UpdateData(false);
}

void CUserSetting_ZII_SerialTab::OnSet() {
    ui::WaitCursor wait(host());
    UpdateData(true);
    const app::Outcome set = setSerialSettings(ctx_.comm, positions);
    if (set.result.messageId) app::ShowMessage(host(), set.result.messageId);
    if (!set.result.message.empty()) host().message(set.result.message);
}

namespace {
const bool registered = app::registerDialog({
    "zii-serial",
    [](app::ToolContext& ctx) { return std::make_unique<CUserSetting_ZII_SerialTab>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_ZSER_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::zii
