// The user-setting manager, its tab sets by menu mode, and its entry in the dialog catalog.
#include "shell/usersettingdialog.h"

#include "app/dialogcatalog.h"
#include "app/menumode.h"
#include "profile/profiledifftable.h"
#include "resources/messages.h"
#include "resources/templates_profile.h"
#include "resources/templates_shell.h"
#include "settings/hardwareinfosetting.h"
#include "settings/languagesetting.h"
#include "settings/printerinfo.h"
#include "settings/printerpagesetting.h"
#include "settings/serialsetting.h"
#include "shell/menuview.h"
#include "zii/usersetting_zii_advancedtab.h"
#include "zii/usersetting_zii_basictab.h"
#include "zii/usersetting_zii_serialtab.h"
#include "zii/usersetting_zii_timetab.h"

namespace velmora::shell {

namespace {

// Makes the real page of a tab; every setting page is built from an app::ToolContext.
template <class Page>
std::unique_ptr<ui::Dialog> page(app::ToolContext& ctx) {
    return std::make_unique<Page>(ctx);
}

// The tab sets, in tab order: a title and a page maker per tab.
constexpr TabPage kNativeTabs[] = {
    {msg::kTabInterface, page<settings::CSerialSetting>},
    {msg::kTabLanguage, page<settings::CLanguageSetting>},
    {msg::kTabPrintPage, page<settings::CPrinterPageSetting>},
    {msg::kTabHardwareInfo, page<settings::CHardwareInfoSetting>},
    {msg::kTabPrinterInfo, page<settings::CPrinterInfo>},
};

constexpr TabPage kZiiTabs[] = {
    {msg::kTabInterface, page<zii::CUserSetting_ZII_SerialTab>},
    {msg::kTabBasic, page<zii::CUserSetting_ZII_BasicTab>},
    {msg::kTabAdvanced, page<zii::CUserSetting_ZII_AdvancedTab>},
    {msg::kTabClock, page<zii::CUserSetting_ZII_TimeTab>},
    {msg::kTabLanguage, page<settings::CLanguageSetting>},
    {msg::kTabOthers, page<settings::CPrinterInfo>},
};

}  // namespace

CUserSettingDialog::CUserSettingDialog(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, resources::UserSettingTemplate()), ctx_(ctx), tabCtrl_(ctx) {}

bool CUserSettingDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    if (app::MenuMode == 0)
        tabCtrl_.Attach(*this, resources::IDC_USERSETTING_TAB, kNativeTabs);
    else
        tabCtrl_.Attach(*this, resources::IDC_USERSETTING_TAB, kZiiTabs);
    on(ui::Event::TabChange, resources::IDC_USERSETTING_TAB, [this] { tabCtrl_.ShowSelectedPage(); });
    on(ui::Event::Clicked, resources::IDC_USERSETTING_CLOSE, [this] { OnOK(); });
    on(ui::Event::Clicked, resources::IDC_USERSETTING_SAVE_PROFILE, [this] { OnSaveProfile(); });
    on(ui::Event::Clicked, resources::IDC_USERSETTING_COMPARE, [this] { OnCompareProfile(); });
    on(ui::Event::Clicked, resources::IDC_USERSETTING_APPLY, [this] { OnApplyProfile(); });
    for (int id : {resources::IDC_USERSETTING_SAVE_PROFILE, resources::IDC_USERSETTING_COMPARE,
                   resources::IDC_USERSETTING_APPLY})
        control(id).enable(app::profileService() != nullptr);
    return true;
}

std::optional<std::string> CUserSettingDialog::chooseProfile(bool open) {
    ui::FileDialogRequest request;
    request.open = open;
    request.filter = "Profiles (*.ini)|*.ini|All Files (*.*)|*.*||";
    request.defaultExt = "ini";
    request.fileName = open ? "" : "printer.ini";
    request.title = open ? "Open Profile" : "Save Profile";
    return host().fileDialog(request);
}

void CUserSettingDialog::OnSaveProfile() {
    const auto path = chooseProfile(false);
    if (!path || !app::profileService()) return;
    std::string error;
    const auto summary = app::profileService()->save(ctx_, *path, error);
    host().message(summary ? *summary : error);
}

std::optional<std::vector<app::ProfileRow>> CUserSettingDialog::compareChosen(std::string& path) {
    const auto chosen = chooseProfile(true);
    if (!chosen || !app::profileService()) return std::nullopt;
    path = *chosen;
    std::string error;
    auto rows = app::profileService()->compare(ctx_, path, error);
    if (!rows) host().message(error);
    return rows;
}

int CUserSettingDialog::showRows(const std::vector<app::ProfileRow>& rows, profile::CProfileDiffTable::Mode mode) {
    profile::CProfileDiffTable table(ctx_);
    table.setRows(rows, mode);
    return host().runModal(table);
}

void CUserSettingDialog::OnCompareProfile() {
    std::string path;
    if (const auto rows = compareChosen(path))
        showRows(*rows, profile::CProfileDiffTable::Mode::Compare);
}

// The diff table comes first: nothing is written until the user has seen it and pressed Apply.
void CUserSettingDialog::OnApplyProfile() {
    using Mode = profile::CProfileDiffTable::Mode;
    std::string path;
    const auto rows = compareChosen(path);
    if (!rows) return;
    if (showRows(*rows, rows->empty() ? Mode::Compare : Mode::ConfirmApply) != ui::IDOK) return;
    std::string error;
    const auto results = app::profileService()->apply(ctx_, path, error);
    if (!results) {
        host().message(error);
        return;
    }
    showRows(*results, Mode::Results);
}

namespace {
const bool registered = app::registerDialog({
    app::kToolUserSettings,
    [](app::ToolContext& ctx) { return std::make_unique<CUserSettingDialog>(ctx); },
    {},
    {0, 1},
});
}  // namespace

}  // namespace velmora::shell
