// Catalog names of the tools the main window's menu buttons open. Each tool registers under its
// name and the menus open it by that name; a tool that is not in the dialog catalog (not built
// yet) is simply not opened.
#pragma once

namespace velmora::app {

inline constexpr const char* kToolUserSettings = "user-settings";
inline constexpr const char* kToolCalibration = "calibration";
inline constexpr const char* kToolPcxDownloader = "pcx-downloader";
inline constexpr const char* kToolFileTransfer = "file-transfer";
inline constexpr const char* kToolRfidSetting = "rfid-setting";
inline constexpr const char* kToolRfidWriteRead = "rfid-write-read";
inline constexpr const char* kToolTavlTester = "tavl-tester";
inline constexpr const char* kToolZiiQuality = "zii-quality";
inline constexpr const char* kToolZiiPrinterTool = "zii-printer-tool";
inline constexpr const char* kToolCommunication = "communication";

}  // namespace velmora::app
