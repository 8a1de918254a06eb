// The hardware identity page: each group's buttons run the identity operations; a Get reports
// the value it read inside its message.
#include "settings/hardwareinfosetting.h"

#include "app/dialogcatalog.h"
#include "resources/stringtable.h"
#include "resources/templates_settings.h"
#include "settings/nativereplies.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

namespace {
// The first `count` characters of UTF-8 `text`.
std::string firstCharacters(const std::string& text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t seen = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == count) break;
    }
    return text.substr(0, i);
}
int editId(Identity which) { return IDC_HW_VERSION + static_cast<int>(which); }
}  // namespace

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

void CHardwareInfoSetting::report(const app::Outcome& outcome) {
    if (outcome.result.messageId) app::ShowMessage(host(), outcome.result.messageId);
    if (!outcome.result.message.empty()) host().message(outcome.result.message);
}

void CHardwareInfoSetting::OnGet(Identity which) {
    const IdentityKey& key = identityKeys()[which];
    texts[which].clear();
    control(editId(which)).setText("");
    const app::Outcome got = getIdentity(ctx_.comm, ctx_.clock, which);
    // The page shows whatever text came, line ends removed, even when it is no valid value.
    const app::ReadValue* v = got.values.empty() ? nullptr : &got.values.front();
    const bool replied = v && v->replied;
    if (replied) texts[which] = v->text;
    // The serial number is reported even when empty; the others only when they hold text.
    if (replied && (which == kSerialNumber || !texts[which].empty()))
        host().messageBox(LoadString(key.prefix) + texts[which] + ".", "Information", ui::Icon::Information,
                          ui::Buttons::Ok);
    else
        app::ShowMessage(host(), key.empty);
    control(editId(which)).setText(texts[which]);
}

void CHardwareInfoSetting::OnSet(Identity which) {
    UpdateData(true);
    report(setIdentity(ctx_.comm, ctx_.clock, which, texts[which]));
}

void CHardwareInfoSetting::OnInitialize(Identity which) {
    UpdateData(true);
    report(initializeIdentity(ctx_.comm, ctx_.clock, which));
}

void CHardwareInfoSetting::OnTextChange(Identity which) {
    UpdateData(true);
    const IdentityKey& key = identityKeys()[which];
    const auto limit = static_cast<std::size_t>(key.limit);
    if (characterCount(texts[which]) <= limit) return;
    texts[which] = firstCharacters(texts[which], limit);
    control(editId(which)).setText(texts[which]);
    app::ShowMessage(host(), key.tooLong);
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
