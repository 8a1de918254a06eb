// The ZII menu view's buttons and the tools they open.
#include "app/main_ziimenuview.h"

#include "resources/templates_shell.h"

namespace velmora::app {

namespace {
using namespace resources;
constexpr MenuButton kButtons[] = {
    // Building the setting pages takes a while, hence the wait cursor.
    {IDC_MENU_USER_SETTING, kToolUserSettings, Launch::WaitWhileBuilt},
    {IDC_ZII_PRINT_QUALITY, kToolZiiQuality, Launch::Modal},
    {IDC_MENU_CALIBRATION, kToolCalibration, Launch::NotOnEthernet},
    {IDC_MENU_PCX_DOWNLOADER, kToolPcxDownloader, Launch::Modal},
    {IDC_ZII_SEND_FILE, kToolFileTransfer, Launch::Modal},
    {IDC_ZII_PRINTER_TOOL, kToolZiiPrinterTool, Launch::Modal},
    {IDC_ZII_COMMUNICATION, kToolCommunication, Launch::Modal},
    {IDC_ZII_TAVL_TESTER, kToolTavlTester, Launch::Modal},
    {IDC_ZII_RFID_SETTING, kToolRfidSetting, Launch::Modal},
    {IDC_ZII_RFID_WRITE_READ, kToolRfidWriteRead, Launch::Modal},
};
}  // namespace

CMain_ZIIMenuView::CMain_ZIIMenuView(ToolContext& ctx)
    : MenuView(ctx, resources::ZiiMenuViewTemplate(), kButtons) {}

}  // namespace velmora::app
