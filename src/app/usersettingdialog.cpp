// The user-setting manager, its tab sets by menu mode, and its entry in the dialog catalog.
#include "app/usersettingdialog.h"

#include "app/dialogcatalog.h"
#include "app/menumode.h"
#include "app/menuview.h"
#include "resources/templates_shell.h"
#include "settings/hardwareinfosetting.h"
#include "settings/languagesetting.h"
#include "settings/printerinfo.h"
#include "settings/printerpagesetting.h"
#include "settings/serialsetting.h"
#include "zii/usersetting_zii_advancedtab.h"
#include "zii/usersetting_zii_basictab.h"
#include "zii/usersetting_zii_serialtab.h"
#include "zii/usersetting_zii_timetab.h"

namespace velmora::app {

namespace {

// Makes the real page of a tab; every setting page is built from a ToolContext.
template <class Page>
std::unique_ptr<ui::Dialog> page(ToolContext& ctx) {
    return std::make_unique<Page>(ctx);
}

// The tab sets, in tab order: a title and a page maker per tab.
constexpr TabPage kNativeTabs[] = {
    {240, page<settings::CSerialSetting>},        // Interface
    {241, page<settings::CLanguageSetting>},      // Language
    {242, page<settings::CPrinterPageSetting>},   // Print && Page
    {243, page<settings::CHardwareInfoSetting>},  // Hardware Info
    {244, page<settings::CPrinterInfo>},          // Printer Info
};

constexpr TabPage kZiiTabs[] = {
    {240, page<zii::CUserSetting_ZII_SerialTab>},  // Interface
    {245, page<zii::CUserSetting_ZII_BasicTab>},  // Basic
    {246, page<zii::CUserSetting_ZII_AdvancedTab>},  // Advanced
    {247, page<zii::CUserSetting_ZII_TimeTab>},  // Real-Time Clock
    {241, page<settings::CLanguageSetting>},  // Language
    {271, page<settings::CPrinterInfo>},      // Others
};

}  // namespace

CUserSettingDialog::CUserSettingDialog(ToolContext& ctx)
    : ui::Dialog(ctx.host, resources::UserSettingTemplate()), tabCtrl_(ctx) {}

bool CUserSettingDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    if (MenuMode == 0)
        tabCtrl_.Attach(*this, resources::IDC_USERSETTING_TAB, kNativeTabs);
    else
        tabCtrl_.Attach(*this, resources::IDC_USERSETTING_TAB, kZiiTabs);
    on(ui::Event::TabChange, resources::IDC_USERSETTING_TAB, [this] { tabCtrl_.ShowSelectedPage(); });
    on(ui::Event::Clicked, resources::IDC_USERSETTING_CLOSE, [this] { OnOK(); });
    return true;
}

namespace {
const bool registered = registerDialog({
    kToolUserSettings,
    [](ToolContext& ctx) { return std::make_unique<CUserSettingDialog>(ctx); },
    {},
    {0, 1},
});
}  // namespace

}  // namespace velmora::app
