// The ZII menu view's buttons and the tools they open.
#include "shell/main_ziimenuview.h"

#include "resources/templates_shell.h"

namespace velmora::shell {

namespace {
using namespace resources;
constexpr MenuButton kButtons[] = {
    // Building the setting pages takes a while, hence the wait cursor.
    {IDC_MENU_USER_SETTING, app::kToolUserSettings, Launch::WaitWhileBuilt},
    {IDC_ZII_PRINT_QUALITY, app::kToolZiiQuality, Launch::Modal},
    {IDC_MENU_CALIBRATION, app::kToolCalibration, Launch::NotOnEthernet},
    {IDC_MENU_PCX_DOWNLOADER, app::kToolPcxDownloader, Launch::Modal},
    {IDC_ZII_SEND_FILE, app::kToolFileTransfer, Launch::Modal},
    {IDC_ZII_PRINTER_TOOL, app::kToolZiiPrinterTool, Launch::Modal},
    {IDC_ZII_COMMUNICATION, app::kToolCommunication, Launch::Modal},
    {IDC_ZII_TAVL_TESTER, app::kToolTavlTester, Launch::Modal},
    {IDC_ZII_RFID_SETTING, app::kToolRfidSetting, Launch::Modal},
    {IDC_ZII_RFID_WRITE_READ, app::kToolRfidWriteRead, Launch::Modal},
};
}  // namespace

CMain_ZIIMenuView::CMain_ZIIMenuView(app::ToolContext& ctx)
    : MenuView(ctx, resources::ZiiMenuViewTemplate(), kButtons) {}

}  // namespace velmora::shell
