// Port names of the program ("COM3:", "LPT1:") to Linux device paths, with the user's own
// mappings from the settings file taking precedence over the defaults.
#include "platform/portmap.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "platform/inifile.h"

namespace velmora::platform {

namespace {

constexpr std::string_view kBlanks = " \t";

// "com3:" → "COM3": the form the map is keyed by.
std::string normalName(const std::string& portName) {
    std::string_view name(portName);
    const auto first = name.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    name = name.substr(first, name.find_last_not_of(kBlanks) - first + 1);
    if (name.back() == ':') name.remove_suffix(1);
    std::string key(name);
    for (char& c : key) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return key;
}

// The number n of "COMn" for prefix "COM" (n >= 1, digits only), or 0.
unsigned portNumber(std::string_view key, std::string_view prefix) {
    if (key.substr(0, prefix.size()) != prefix) return 0;
    const std::string_view digits = key.substr(prefix.size());
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return 0;
    unsigned n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size()) return 0;
    return n;
}

std::string nonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : std::string();
}

}  // namespace

std::string PortMap::devicePath(const std::string& portName) const {
    const std::string key = normalName(portName);
    if (key.empty()) return {};
    if (auto it = map_.find(key); it != map_.end()) return it->second;
    if (const unsigned n = portNumber(key, "COM")) return "/dev/ttyS" + std::to_string(n - 1);
    if (const unsigned n = portNumber(key, "LPT")) return "/dev/lp" + std::to_string(n - 1);
    return {};
}

void PortMap::set(const std::string& portName, const std::string& device) {
    const std::string key = normalName(portName);
    if (!key.empty()) map_[key] = device;
}

bool PortMap::isMapped(const std::string& portName) const { return map_.count(normalName(portName)) != 0; }

// Adds the file's mappings to those already held; a key with an empty value maps nothing.
void PortMap::loadFrom(const std::string& iniPath) {
    IniFile ini;
    if (!ini.load(iniPath, &note_)) return;
    for (const std::string& key : ini.keys("Ports")) {
        const std::string device = ini.value("Ports", key, "");
        if (!device.empty()) set(key, device);
    }
}

std::string PortMap::settingsFilePath() {
    // The XDG rules: a relative XDG_CONFIG_HOME is to be ignored.
    std::string base = nonEmptyEnv("XDG_CONFIG_HOME");
    if (base.empty() || base.front() != '/') {
        std::string home = nonEmptyEnv("HOME");
        if (home.empty()) {
            if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) home = pw->pw_dir;
        }
        if (home.empty()) return {};
        base = home + "/.config";
    }
    return base + "/velmora/velmora.ini";
}

PortMap PortMap::fromSettings() {
    PortMap map;
    const std::string path = settingsFilePath();
    if (!path.empty()) map.loadFrom(path);
    return map;
}

}  // namespace velmora::platform
