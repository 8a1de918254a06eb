// The native menu view's buttons and the tools they open.
#include "app/main_kdrmenuview.h"

#include "resources/templates_shell.h"

namespace velmora::app {

namespace {
using namespace resources;
constexpr MenuButton kButtons[] = {
    {IDC_MENU_USER_SETTING, kToolUserSettings, Launch::Modal},
    {IDC_MENU_CALIBRATION, kToolCalibration, Launch::NotOnEthernet},
    {IDC_MENU_PCX_DOWNLOADER, kToolPcxDownloader, Launch::Modal},
    {IDC_KDR_FILE_TRANSFER, kToolFileTransfer, Launch::Modal},
    {IDC_KDR_RFID_SETTING, kToolRfidSetting, Launch::Modal},
    {IDC_KDR_RFID_WRITE_READ, kToolRfidWriteRead, Launch::Modal},
    {IDC_KDR_TAVL_TESTER, kToolTavlTester, Launch::Modal},
};
}  // namespace

CMain_KDRMenuView::CMain_KDRMenuView(ToolContext& ctx)
    : MenuView(ctx, resources::KdrMenuViewTemplate(), kButtons) {}

}  // namespace velmora::app
