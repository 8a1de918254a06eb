// The native menu view's buttons and the tools they open.
#include "shell/main_kdrmenuview.h"

#include "resources/templates_shell.h"

namespace velmora::shell {

namespace {
using namespace resources;
constexpr MenuButton kButtons[] = {
    {IDC_MENU_USER_SETTING, app::kToolUserSettings, Launch::Modal},
    {IDC_MENU_CALIBRATION, app::kToolCalibration, Launch::NotOnEthernet},
    {IDC_MENU_PCX_DOWNLOADER, app::kToolPcxDownloader, Launch::Modal},
    {IDC_KDR_FILE_TRANSFER, app::kToolFileTransfer, Launch::Modal},
    {IDC_KDR_RFID_SETTING, app::kToolRfidSetting, Launch::Modal},
    {IDC_KDR_RFID_WRITE_READ, app::kToolRfidWriteRead, Launch::Modal},
    {IDC_KDR_TAVL_TESTER, app::kToolTavlTester, Launch::Modal},
};
}  // namespace

CMain_KDRMenuView::CMain_KDRMenuView(app::ToolContext& ctx)
    : MenuView(ctx, resources::KdrMenuViewTemplate(), kButtons) {}

}  // namespace velmora::shell
