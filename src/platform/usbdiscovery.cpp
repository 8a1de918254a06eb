// Enumerating usblp printers through sysfs. A printer's directory under class/usbmisc points at
// its USB interface ("device"); the USB device above that interface holds idVendor, idProduct
// and, when the printer has one, serial.
#include "platform/usbdiscovery.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace velmora::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";

// The first line of a small sysfs attribute, without its line end; empty when unreadable.
std::string readAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ')) line.pop_back();
    return line;
}

// A USB id as four lower-case hexadecimal digits; empty when the text is no id.
std::string normalId(std::string id) {
    for (char& c : id) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (id.empty() || id.size() > 4 || id.find_first_not_of(kHexDigits) != std::string::npos) return {};
    return std::string(4 - id.size(), '0') + id;
}

// N of "lpN" (digits only), or -1.
long lpNumber(const std::string& name) {
    if (name.size() < 3 || name.compare(0, 2, "lp") != 0) return -1;
    const std::string digits = name.substr(2);
    if (digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stol(digits);
}

std::string withoutTrailingSlash(std::string root) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root == "/" ? std::string() : root;
}

}  // namespace

std::string systemRoot() {
    const char* root = std::getenv("VELMORA_SYSROOT");
    return root && *root ? std::string(root) : std::string("/");
}

std::string usbInterfacePath(const std::string& vendorId, const std::string& productId, const std::string& serial,
                             const std::string& fallbackSerial) {
    return "\\\\?\\usb#vid_" + normalId(vendorId) + "&pid_" + normalId(productId) + "#" +
           (serial.empty() ? fallbackSerial : serial) + "#" + kUsbPrinterInterfaceClass;
}

std::vector<UsbPrinterInterface> enumerateUsbPrinters(const std::string& root) {
    const std::string base = withoutTrailingSlash(root);
    const fs::path classDir = base + "/sys/class/usbmisc";
    std::vector<std::pair<long, std::string>> names;
    std::error_code ec;
    for (fs::directory_iterator it(classDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (const long n = lpNumber(name); n >= 0) names.emplace_back(n, name);
    }
    std::sort(names.begin(), names.end());

    std::vector<UsbPrinterInterface> found;
    for (const auto& [number, name] : names) {
        // "device/.." resolves through the interface link to the USB device above it.
        const fs::path usbDevice = classDir / name / "device" / "..";
        const std::string vendor = normalId(readAttribute(usbDevice / "idVendor"));
        const std::string product = normalId(readAttribute(usbDevice / "idProduct"));
        if (vendor.empty() || product.empty()) continue;
        const fs::path resolved = fs::canonical(usbDevice, ec);
        const std::string kernelName = ec ? name : resolved.filename().string();
        found.push_back({usbInterfacePath(vendor, product, readAttribute(usbDevice / "serial"), kernelName),
                         base + "/dev/usb/" + name});
    }
    return found;
}

std::vector<UsbPrinterFunction> listUsbPrinterFunctions(const std::string& root) {
    const std::string base = withoutTrailingSlash(root);
    std::vector<UsbPrinterFunction> found;
    std::error_code ec;
    for (fs::directory_iterator it(base + "/sys/bus/usb/devices", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.find(':') == std::string::npos) continue;  // a device, not one of its interfaces
        if (normalId(readAttribute(it->path() / "bInterfaceClass")) != "0007") continue;
        UsbPrinterFunction f;
        f.kernelName = name;
        const fs::path device = it->path() / "..";
        f.vendorId = normalId(readAttribute(device / "idVendor"));
        f.productId = normalId(readAttribute(device / "idProduct"));
        f.product = readAttribute(device / "product");
        std::error_code linkEc;
        const fs::path driver = fs::read_symlink(it->path() / "driver", linkEc);
        if (!linkEc) f.driver = driver.filename().string();
        std::error_code miscEc;
        for (fs::directory_iterator lp(it->path() / "usbmisc", miscEc), lpEnd; !miscEc && lp != lpEnd;
             lp.increment(miscEc)) {
            const std::string lpName = lp->path().filename().string();
            if (lpNumber(lpName) >= 0) f.node = base + "/dev/usb/" + lpName;
        }
        found.push_back(std::move(f));
    }
    std::sort(found.begin(), found.end(),
              [](const UsbPrinterFunction& a, const UsbPrinterFunction& b) { return a.kernelName < b.kernelName; });
    return found;
}

}  // namespace velmora::platform
