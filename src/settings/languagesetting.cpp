// The code page and ICS page: two switch reads and the lock status in, the lock sequence around
// two switch writes out.
#include "settings/languagesetting.h"

#include "app/dialogcatalog.h"
#include "resources/templates_settings.h"
#include "settings/languageops.h"
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

void CLanguageSetting::OnGet() {
    ui::WaitCursor wait(host());
    codePage = -1;
    ics = -1;
    for (int id : {IDC_LANG_CODEPAGE, IDC_LANG_ICS, IDC_LANG_SET}) control(id).enable();
    const app::Outcome got = getLanguageSetting(ctx_.comm, ctx_.clock);
    // The page takes the first byte of each switch reply as it came, and the lock from any reply.
    if (const app::ReadValue* v = got.find("codepage"); v && v->replied)
        codePage = static_cast<unsigned char>(v->raw[0]);
    if (const app::ReadValue* v = got.find("ics"); v && v->replied) ics = static_cast<unsigned char>(v->raw[0]);
    if (const app::ReadValue* v = got.find("lock"); v && v->replied)
        control(IDC_LANG_LOCK).setCheck(languageLocked(v->raw) ? 1 : 0);
    UpdateData(false);  // a value outside a list shows no selection
}

void CLanguageSetting::OnSet() {
    UpdateData(true);
    // A list without a choice sends no byte; the other list is still written, and the lock is
    // put back as the box says.
    setLanguageSetting(ctx_.comm, {codePage, ics, control(IDC_LANG_LOCK).checked()});
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
