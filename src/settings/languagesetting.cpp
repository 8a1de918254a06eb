// The code page and ICS page: two switch reads and the lock status in, the lock sequence around
// two switch writes out.
#include "settings/languagesetting.h"

#include <array>

#include "app/dialogcatalog.h"
#include "resources/templates_settings.h"
#include "settings/settingexchange.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

CLanguageSetting::CLanguageSetting(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, LanguageSettingTemplate()), ctx_(ctx) {}

bool CLanguageSetting::OnInitDialog() {
    control(IDC_LANG_ICS_GET).show(false);
    control(IDC_LANG_ICS_SET).show(false);
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_LANG_GET, [this] { OnGet(); });
    on(ui::Event::Clicked, IDC_LANG_SET, [this] { OnSet(); });
    return true;
}

void CLanguageSetting::DoDataExchange(ui::DataExchange& dx) {
    dx.CBIndex(IDC_LANG_CODEPAGE, codePage);
    dx.CBIndex(IDC_LANG_ICS, ics);
}

void CLanguageSetting::sendLock(bool on) {
    const std::array<char, 5> bytes{'\x1b', '\x1c', '\x1f', static_cast<char>(on ? 1 : 0),
                                    static_cast<char>(kLockCode)};
    writeRaw(ctx_.comm, std::string_view(bytes.data(), bytes.size()));
}

void CLanguageSetting::OnGet() {
    ctx_.comm.BeginAction();
    ui::WaitCursor wait(host());
    codePage = -1;
    ics = -1;
    for (int id : {IDC_LANG_CODEPAGE, IDC_LANG_ICS, IDC_LANG_SET}) control(id).enable();
    if (const auto byte = readSwitch(ctx_.comm, ctx_.clock, '*', kCodePageSwitch, kReplyWaitMs)) codePage = *byte;
    if (const auto byte = readSwitch(ctx_.comm, ctx_.clock, '*', kIcsSwitch, kReplyWaitMs)) ics = *byte;
    ctx_.clock.sleepMs(20);
    writeRaw(ctx_.comm, "\x1b\x1c/");
    ctx_.clock.sleepMs(kReplyWaitMs);
    std::array<std::uint8_t, 256> reply{};
    if (ctx_.comm.ReadBytes(reply.data(), reply.size()) > 0) control(IDC_LANG_LOCK).setCheck((reply[2] & 0x08) ? 1 : 0);
    ctx_.clock.sleepMs(30);
    UpdateData(false);  // a value outside a list shows no selection
}

void CLanguageSetting::OnSet() {
    UpdateData(true);
    sendLock(false);
    // A list without a choice sends no byte (its index would go out as 0xFF); the other list is
    // still written, and the lock is put back as the box says.
    if (codePage >= 0) writeSwitch(ctx_.comm, '*', kCodePageSwitch, static_cast<std::uint8_t>(codePage), false);
    if (ics >= 0) writeSwitch(ctx_.comm, '*', kIcsSwitch, static_cast<std::uint8_t>(ics), false);
    sendLock(control(IDC_LANG_LOCK).checked());
}

namespace {
const bool registered = app::registerDialog({
    "native-language",
    [](app::ToolContext& ctx) { return std::make_unique<CLanguageSetting>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_LANG_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::settings
