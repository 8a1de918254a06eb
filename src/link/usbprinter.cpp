// The USB model tables and the search for a known printer.
#include "link/usbprinter.h"

#include <algorithm>

namespace velmora::link {

namespace {

// Windows 95 family: where the system records a USB device interface's device instance.
constexpr const char* kDeviceClassesKey =
    "System\\CurrentControlSet\\Control\\DeviceClasses\\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\\##.#";
constexpr std::size_t kMaxKeyPathChars = 127;
constexpr std::size_t kMaxValueChars = 255;      // a 256-byte buffer with its terminating zero
constexpr std::size_t kMaxDevicePathChars = 254;  // the copies of the interface's path
// The device instance value: "USB\VID_xxxx&PID_xxxx\..." – the ids follow its first 4 characters.
constexpr std::size_t kInstanceIdOffset = 4;
constexpr std::size_t kDevicePathTailFrom = 4;  // the device path from its fifth character on

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return out;
}

// The Windows 95 family does not name the ids in the interface path: they are read from the
// device instance the registry records for it, and the model catalog must list the product.
bool legacyKnowsPrinter(platform::Registry& registry, const std::string& devicePath, const UsbSearch& search) {
    std::string keyPath = kDeviceClassesKey + devicePath.substr(std::min(kDevicePathTailFrom, devicePath.size()));
    keyPath.resize(std::min(keyPath.size(), kMaxKeyPathChars));
    std::string instance;
    platform::Registry::Key key{};
    if (registry.openKey("", platform::RegistryRoot::LocalMachine, keyPath, key) == platform::win_error::kSuccess) {
        if (registry.queryValue(key, "DeviceInstance", instance) != platform::win_error::kSuccess) instance.clear();
        registry.closeKey(key);
    }
    instance.resize(std::min(instance.size(), kMaxValueChars));
    if (instance.size() < kInstanceIdOffset) return false;
    const std::string ids = instance.substr(kInstanceIdOffset, kUsbIdChars);
    const bool inCatalog =
        std::any_of(search.catalogProductIds.begin(), search.catalogProductIds.end(), [&](const std::string& id) {
            return upper(std::string(kMakerVendorId) + "&pid_" + id) == ids;
        });
    return inCatalog && UsbModelCode(ids, true) >= 0;
}

}  // namespace

// Invented ids and names: they belong to no real maker or product. The maker's own vendor id
// carries the product ids of the built-in model catalog (0x0a00 + model code), so the two agree;
// three further vendor ids carry the models sold under other brands' ids.
const std::array<UsbModelEntry, 30> UsbModelTable = {{
    {"vid_6d81&pid_2100", 0},   {"vid_6d81&pid_2101", 1},   {"vid_6d81&pid_2102", 2},
    {"vid_6d81&pid_2103", 3},   {"vid_7b3f&pid_3104", 4},   {"vid_7b3f&pid_3105", 5},
    {"vid_7b3f&pid_3106", 6},   {"vid_7b3f&pid_3107", 7},   {"vid_5a2e&pid_0a08", 8},
    {"vid_5a2e&pid_0a09", 9},   {"vid_5a2e&pid_0a0a", 10},  {"vid_5a2e&pid_0a0b", 11},
    {"vid_5a2e&pid_0a0c", 12},  {"vid_5a2e&pid_0a0d", 13},  {"vid_5a2e&pid_0a0e", 14},
    {"vid_5a2e&pid_0a0f", 15},  {"vid_5a2e&pid_0a10", 16},  {"vid_5a2e&pid_0a14", 20},
    {"vid_5a2e&pid_0a15", 21},  {"vid_5a2e&pid_0a16", 22},  {"vid_5a2e&pid_0a17", 23},
    {"vid_5a2e&pid_0a18", 24},  {"vid_5a2e&pid_0a64", 100}, {"vid_5a2e&pid_0a65", 101},
    {"vid_5a2e&pid_0a6e", 110}, {"vid_5a2e&pid_0a6f", 111}, {"vid_5a2e&pid_0a70", 112},
    {"vid_8c5a&pid_417b", 123}, {"vid_5a2e&pid_0a82", 130}, {"vid_5a2e&pid_0a83", 131},
}};

const std::array<UsbPrintNameEntry, 30> UsbPrintNameTable = {{
    {0, "NorvikVL-1204", "NVK_VM1204"}, {1, "NorvikVL-1203", "NVK_VM1203"},
    {2, "NorvikVL-1304", "NVK_VM1304"}, {3, "NorvikVL-1303", "NVK_VM1303"},
    {4, "NorvikVL-1404", nullptr},      {5, "NorvikVL-1403", nullptr},
    {6, "NorvikVL-1504", nullptr},      {7, "NorvikVL-1503", nullptr},
    {8, "NorvikVL-2405", "NVK_VM2405"}, {9, "NorvikVL-2403", "NVK_VM2403"},
    {10, "NorvikVL-3405", nullptr},     {11, "NorvikVL-3403", nullptr},
    {12, "NorvikVL-3413", nullptr},     {13, "NorvikVL-2406", nullptr},
    {14, "NorvikVL-6004", nullptr},     {15, "NorvikVL-2415", nullptr},
    {16, "NorvikVL-2413", nullptr},     {20, "NorvikVL-6104", nullptr},
    {21, "NorvikVL-6204", nullptr},     {22, "NorvikVL-2506", nullptr},
    {23, "NorvikVL-2516", nullptr},     {24, "NorvikVL-2503", nullptr},
    {100, "NorvikVL-4105", nullptr},    {101, "NorvikVL-4103", nullptr},
    {110, "NorvikVL-4205", nullptr},    {111, "NorvikVL-4215", nullptr},
    {112, "NorvikVL-4203", nullptr},    {123, "NorvikVL-4303", nullptr},
    {130, "NorvikVL-8105", nullptr},    {131, "NorvikVL-8103", nullptr},
}};

int UsbModelCode(std::string_view ids, bool upperCase) {
    for (const UsbModelEntry& entry : UsbModelTable) {
        if ((upperCase ? upper(entry.ids) : std::string(entry.ids)) == ids) return entry.modelCode;
    }
    return -1;
}

std::vector<std::string> UsbPrintNames(int modelCode) {
    for (const UsbPrintNameEntry& entry : UsbPrintNameTable) {
        if (entry.modelCode != modelCode) continue;
        std::vector<std::string> names{entry.name};
        if (entry.secondName) names.emplace_back(entry.secondName);
        return names;
    }
    return {};
}

bool LegacyWindowsFromVersion(std::uint32_t packed) {
    const std::uint32_t build = packed >> 16;
    if (!(packed & 0x80000000u)) return build == 0;
    if ((packed & 0xFFu) >= 4) return true;
    return (build & 0x7FFFu) == 0;
}

bool UsbSupportedByWindows(const std::optional<platform::OsVersion>& version) {
    if (!version) return false;
    switch (version->family) {
        case platform::OsVersion::Family::Windows95: return !(version->major == 4 && version->minor == 0);
        case platform::OsVersion::Family::WindowsNt: return version->major > 4;
        case platform::OsVersion::Family::Other: return true;
    }
    return true;
}

std::unique_ptr<platform::Device> OpenMatchingInterface(platform::DeviceFactory& devices, platform::Registry& registry,
                                                        const platform::UsbPrinterInterface& iface,
                                                        UsbSearch& search) {
    const std::string path = iface.path.substr(0, kMaxDevicePathChars);
    if (search.legacyWindows) {
        if (!legacyKnowsPrinter(registry, path, search)) return nullptr;
    } else {
        const std::string ids = path.size() > kUsbIdOffset ? path.substr(kUsbIdOffset, kUsbIdChars) : std::string();
        const int code = UsbModelCode(ids, false);
        if (code < 0) return nullptr;
        search.modelIndex = code;
    }
    search.devicePath = path;

    auto device = devices.makeUsb();
    if (!device || !device->open(iface.node)) {
        // Held by another program, gone, or not ours to open: the search goes on.
        if (device && search.refusedError == 0 && device->lastError() != 0) {
            search.refusedNode = iface.node;
            search.refusedError = device->lastError();
        }
        return nullptr;
    }
    return device;
}

std::unique_ptr<platform::Device> FindUsbPrinter(platform::DeviceFactory& devices, platform::Registry& registry,
                                                 UsbSearch& search) {
    search.refusedNode.clear();
    search.refusedError = 0;
    for (const platform::UsbPrinterInterface& iface : devices.usbPrinters()) {
        if (auto device = OpenMatchingInterface(devices, registry, iface, search)) return device;
    }
    return nullptr;
}

}  // namespace velmora::link
