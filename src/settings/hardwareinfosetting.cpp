// The hardware identity page: "^MBX" reads, "^MBY" writes and resets, each store waited out.
#include "settings/hardwareinfosetting.h"

#include "app/dialogcatalog.h"
#include "platform/codepage.h"
#include "resources/stringtable.h"
#include "resources/templates_settings.h"
#include "settings/settingexchange.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

namespace {
// UTF-8 characters of `text`.
std::size_t characters(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}
// The first `count` characters of `text`.
std::string firstCharacters(const std::string& text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t seen = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == count) break;
    }
    return text.substr(0, i);
}
int editId(Identity which) { return IDC_HW_VERSION + static_cast<int>(which); }
}  // namespace

const std::array<CHardwareInfoSetting::IdentityRules, kIdentityCount> CHardwareInfoSetting::kRules = {{
    {4, "^MBX0\r\n", 100, 7, 119, 120, 121, 122, 123, 124, 137},
    {16, "^MBX1\r", 1000, 18, 125, 126, 127, 128, 129, 130, 138},
    {7, "^MBX2\r", 100, 12, 131, 132, 133, 134, 135, 136, 139},
}};

CHardwareInfoSetting::CHardwareInfoSetting(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, HardwareInfoSettingTemplate()), ctx_(ctx) {}

bool CHardwareInfoSetting::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    for (int i = 0; i < kIdentityCount; ++i) {
        const auto which = static_cast<Identity>(i);
        on(ui::Event::Clicked, IDC_HW_VERSION_GET + i, [this, which] { OnGet(which); });
        on(ui::Event::Clicked, IDC_HW_VERSION_SET + i, [this, which] { OnSet(which); });
        on(ui::Event::Clicked, IDC_HW_VERSION_INIT + i, [this, which] { OnInitialize(which); });
        on(ui::Event::EditChange, IDC_HW_VERSION + i, [this, which] { OnTextChange(which); });
    }
    return true;
}

void CHardwareInfoSetting::DoDataExchange(ui::DataExchange& dx) {
    for (int i = 0; i < kIdentityCount; ++i) dx.Text(IDC_HW_VERSION + i, texts[i]);
}

void CHardwareInfoSetting::OnGet(Identity which) {
    const IdentityRules& s = kRules[which];
    texts[which].clear();
    control(editId(which)).setText("");
    const auto reply = queryReply(ctx_.comm, ctx_.clock, s.getCommand, s.getWaitMs, s.readLimit);
    if (reply) texts[which] = trimLineEnd(*reply);
    // The serial number is reported even when empty; the others only when they hold text.
    const bool show = reply && (which == kSerialNumber || !texts[which].empty());
    if (show)
        host().messageBox(LoadString(s.prefix) + texts[which] + ".", "Information", ui::Icon::Information,
                          ui::Buttons::Ok);
    else
        app::ShowMessage(host(), s.empty);
    control(editId(which)).setText(texts[which]);
}

void CHardwareInfoSetting::OnSet(Identity which) {
    const IdentityRules& s = kRules[which];
    UpdateData(true);
    const std::string converted = platform::toCodePage(texts[which]).substr(0, 256);
    std::string command = "^MBY" + std::to_string(which) + "," + converted + "\r\n";
    // The converted bytes, not the character count, decide whether the command fits: a code page
    // with several bytes a character would otherwise overrun the printer's command area.
    if (command.size() > kCommandRoom) {
        app::ShowMessage(host(), s.tooLong);
        return;
    }
    const int written = writeRaw(ctx_.comm, command);
    ctx_.clock.sleepMs(kStoreWaitMs);
    app::ShowMessage(host(), written != 0 ? s.setOk : s.setFailed);
}

void CHardwareInfoSetting::OnInitialize(Identity which) {
    const IdentityRules& s = kRules[which];
    UpdateData(true);
    std::string command = "^MBY\x0f,";
    command += static_cast<char>('0' + which);
    command += "\r\n";
    const int written = writeRaw(ctx_.comm, command);
    ctx_.clock.sleepMs(kStoreWaitMs);
    app::ShowMessage(host(), written != 0 ? s.initOk : s.initFailed);
}

void CHardwareInfoSetting::OnTextChange(Identity which) {
    UpdateData(true);
    const auto limit = static_cast<std::size_t>(kRules[which].limit);
    if (characters(texts[which]) <= limit) return;
    texts[which] = firstCharacters(texts[which], limit);
    control(editId(which)).setText(texts[which]);
    app::ShowMessage(host(), kRules[which].tooLong);
}

namespace {
const bool registered = app::registerDialog({
    "hardware-info",
    [](app::ToolContext& ctx) { return std::make_unique<CHardwareInfoSetting>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::settings
