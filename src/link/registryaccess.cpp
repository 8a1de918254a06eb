// The USB print-device key grant and its option and key-path parsing.
#include "link/registryaccess.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>

#include "link/usbprinter.h"

namespace velmora::link {

namespace {

using platform::AccessMode;
using platform::RegistryRoot;
namespace win_error = platform::win_error;

constexpr const char* kUsbPrintKey = "SYSTEM\\CurrentControlSet\\Enum\\USBPRINT\\";
constexpr const char* kGrantOption = "/PG:Everyone:Fc";
constexpr std::size_t kMaxKeyPathChars = 127;
constexpr std::size_t kMaxSubkeyChars = 255;

char upperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperChar(a[i]) != upperChar(b[i])) return false;
    return true;
}

// The mode chosen by the switch's second and third characters; nothing for "P" followed by a
// letter that names no mode.
std::optional<AccessMode> modeOf(std::string_view sw) {
    if (sw.size() < 2 || upperChar(sw[1]) != 'P') return AccessMode::NotUsed;
    switch (sw.size() > 2 ? upperChar(sw[2]) : '\0') {
        case 'G': return AccessMode::Grant;
        case 'S': return AccessMode::Set;
        case 'D': return AccessMode::Deny;
        case 'R': return AccessMode::Revoke;
        default: return std::nullopt;
    }
}

std::uint32_t rightsOf(std::string_view text) {
    if (text.size() % 2 != 0) return 0;
    std::uint32_t rights = 0;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const std::string_view pair = text.substr(i, 2);
        if (equalsNoCase(pair, "FC")) rights |= platform::key_rights::kFullControl;
        else if (equalsNoCase(pair, "RD")) rights |= platform::key_rights::kRead;
        else if (equalsNoCase(pair, "WR")) rights |= platform::key_rights::kWrite;
    }
    return rights;
}

std::optional<RegistryRoot> rootOf(std::string_view name) {
    struct Name {
        const char* shortName;
        const char* longName;
        RegistryRoot root;
    };
    static constexpr Name kRoots[] = {
        {"HKLM", "HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
        {"HKU", "HKEY_USERS", RegistryRoot::Users},
        {"HKCR", "HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
        {"HKCU", "HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    };
    for (const Name& n : kRoots)
        if (equalsNoCase(name, n.shortName) || equalsNoCase(name, n.longName)) return n.root;
    return std::nullopt;
}

// The text before the first backslash, and the rest after it (empty when there is none).
std::pair<std::string_view, std::string_view> splitFirst(std::string_view text) {
    const auto at = text.find('\\');
    if (at == std::string_view::npos) return {text, {}};
    return {text.substr(0, at), text.substr(at + 1)};
}

long setAccess(platform::Registry& registry, const std::string& option, const std::string& keyPath) {
    // "/PG:Everyone:Fc": switch, trustee, rights.
    const std::string_view text(option);
    const auto firstColon = text.find(':');
    const std::string_view sw = text.substr(0, firstColon);
    std::string_view trustee;
    std::string_view rightsText;
    if (firstColon != std::string_view::npos) {
        const std::string_view rest = text.substr(firstColon + 1);
        const auto secondColon = rest.find(':');
        trustee = rest.substr(0, secondColon);
        if (secondColon != std::string_view::npos) rightsText = rest.substr(secondColon + 1);
    }

    const std::optional<AccessMode> mode = modeOf(sw);
    if (!mode || trustee.empty()) return win_error::kInvalidParameter;
    platform::AccessEntry entry{std::string(trustee), 0, *mode, true};
    if (*mode == AccessMode::Grant || *mode == AccessMode::Set || *mode == AccessMode::Deny) {
        if (rightsText.empty()) return win_error::kInvalidParameter;
        entry.rights = rightsOf(rightsText);
    }

    std::string_view path(keyPath);
    std::optional<std::string> machine;
    if (path.substr(0, 2) == "\\\\") {
        const auto [name, rest] = splitFirst(path.substr(2));
        machine = std::string(name);
        path = rest;
    }
    const auto [rootName, subkey] = splitFirst(path);
    const std::optional<RegistryRoot> root = rootOf(rootName);
    if (!root) return win_error::kInvalidParameter;
    if (machine && (*root == RegistryRoot::CurrentUser || *root == RegistryRoot::ClassesRoot))
        return win_error::kInvalidParameter;

    platform::Registry::Key key{};
    if (const long rc = registry.openKey(machine.value_or(""), *root, std::string(subkey), key);
        rc != win_error::kSuccess)
        return rc;
    const long rc = registry.mergeAccess(key, entry);
    registry.closeKey(key);
    return rc;
}

}  // namespace

long SetRegistryKeyAccess(platform::Registry& registry, const std::string& option, const std::string& keyPath) {
    try {
        return setAccess(registry, option, keyPath);
    } catch (const std::bad_alloc&) {
        return win_error::kNotEnoughMemory;
    }
}

void GrantUsbPrintKeyAccess(platform::Registry& registry, int modelCode) {
    const std::vector<std::string> names = UsbPrintNames(modelCode);
    if (names.empty()) return;
    const std::string computer = registry.computerName();
    for (const std::string& name : names) {
        const std::string base = kUsbPrintKey + name;
        if (base.size() > kMaxKeyPathChars) continue;
        platform::Registry::Key key{};
        if (registry.openKey("", RegistryRoot::LocalMachine, base, key) != win_error::kSuccess) continue;
        std::string subkey;
        for (unsigned i = 0; registry.enumSubkey(key, i, subkey) == win_error::kSuccess; ++i) {
            subkey.resize(std::min(subkey.size(), kMaxSubkeyChars));
            SetRegistryKeyAccess(registry, kGrantOption, "\\\\" + computer + "\\HKLM\\" + base + "\\" + subkey);
        }
        registry.closeKey(key);
    }
}

}  // namespace velmora::link
