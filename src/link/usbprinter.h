// Which USB printer the port object opens: the table of known vendor and product ids with their
// model codes, the names the printers' print devices are registered under, and the search that
// takes the first known printer the system offers and opens it. The system's part (which
// printers are present, opening a device node) comes from the device factory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device.h"
#include "platform/osversion.h"
#include "platform/registry.h"

namespace velmora::link {

// "vid_xxxx&pid_xxxx": the part of an interface path that names the printer.
constexpr std::size_t kUsbIdChars = 17;
// The interface path's prefix before that part: "\\?\usb#".
constexpr std::size_t kUsbIdOffset = 8;
// The maker's own vendor id, which the model catalog's product ids belong to.
constexpr const char* kMakerVendorId = "vid_5a2e";

struct UsbModelEntry {
    const char* ids;  // "vid_xxxx&pid_xxxx", lower case
    int modelCode;    // as ModelRecord::modelType of the model catalog
};

struct UsbPrintNameEntry {
    int modelCode;
    const char* name;        // the vendor-prefixed model name
    const char* secondName;  // another prefix; null for most models
};

extern const std::array<UsbModelEntry, 30> UsbModelTable;
extern const std::array<UsbPrintNameEntry, 30> UsbPrintNameTable;

// The model code whose entry equals the 17 characters `ids` exactly (the table in lower case, or
// in upper case: "VID_" and "&PID_" with upper-case digits); -1 when none does.
int UsbModelCode(std::string_view ids, bool upperCase);
// The names the print devices of a model code are registered under (none for an unknown code).
std::vector<std::string> UsbPrintNames(int modelCode);

// CComm::legacyWindows from the packed version value: with the top bit clear (NT family) set only
// when the build (high 16 bits) is zero; with it set, set for major version 4 or more, else only
// when the build without its top bit is zero.
bool LegacyWindowsFromVersion(std::uint32_t packedVersion);
// Whether the system has USB printing at all: the Windows 95 family lacks it only in 4.0, the
// NT family needs a major version above 4, any other system has it; unknown version: no.
bool UsbSupportedByWindows(const std::optional<platform::OsVersion>& version);

// The port object's fields the search reads and sets.
struct UsbSearch {
    bool legacyWindows = false;
    // The model catalog's product ids (four hexadecimal digits each); the Windows 95 family
    // accepts a printer only when the catalog lists it.
    std::vector<std::string> catalogProductIds;
    std::string devicePath;  // the interface path of the last known printer found
    int modelIndex = -1;     // its model code (the Windows 95 family leaves it as it was)
    // The first known printer whose device would not open, and why (an errno value), so the
    // caller can tell the user about missing permissions.
    std::string refusedNode;
    int refusedError = 0;
};

// One interface: a known printer's device, opened; nullptr when the interface is no known printer
// or its device does not open.
std::unique_ptr<platform::Device> OpenMatchingInterface(platform::DeviceFactory& devices, platform::Registry& registry,
                                                        const platform::UsbPrinterInterface& iface,
                                                        UsbSearch& search);
// The first interface, in enumeration order, that OpenMatchingInterface opens; nullptr when none.
std::unique_ptr<platform::Device> FindUsbPrinter(platform::DeviceFactory& devices, platform::Registry& registry,
                                                 UsbSearch& search);

}  // namespace velmora::link
