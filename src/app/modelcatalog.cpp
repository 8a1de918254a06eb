// Reading the model catalog from its initialisation file or from the built-in table.
#include "app/modelcatalog.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace velmora::app {

namespace {

// Every value went through a 128-character buffer, so only its first 127 characters count;
// the model list too, which may cut its last name short.
constexpr std::size_t kProfileValueChars = 127;

// A catalog of a few hundred models is a few tens of kilobytes. Reading no more than this keeps
// start-up quick whatever file lies under the name (the INI reader slows down sharply with the
// number of distinct keys), and matches the profile-file limit of the older Windows family.
constexpr std::size_t kMaxCatalogFileBytes = 64 * 1024;

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

constexpr const char* kDefaultId = "0000";
constexpr const char* kDefaultSpeedText = "inch/s, 3, 4, 5, 6, 7, 8";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kWhiteSpace) - first + 1);
}

// The first `limit` characters of UTF-8 text; never splits a character's bytes.
std::string_view firstChars(std::string_view text, std::size_t limit) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && chars++ == limit) return text.substr(0, i);
    }
    return text;
}

// A profile value as the model reader sees it: cut to 127 characters, then trimmed.
std::string profileValue(const platform::IniFile& ini, const std::string& section, const std::string& key,
                         const std::string& fallback) {
    const std::string raw = ini.value(section, key, fallback);
    return std::string(trim(firstChars(raw, kProfileValueChars)));
}

// Comma-separated items, each trimmed, empty ones skipped.
std::vector<std::string_view> listItems(std::string_view text) {
    std::vector<std::string_view> items;
    while (true) {
        const auto comma = text.find(',');
        const std::string_view item = trim(text.substr(0, comma));
        if (!item.empty()) items.push_back(item);
        if (comma == std::string_view::npos) return items;
        text.remove_prefix(comma + 1);
    }
}

// One row of the built-in table. The names, second names and product ids are invented for this
// program; the model codes (shared with the USB model table) and the speed lists are fixed.
struct BuiltInModel {
    const char* name;
    const char* secondName;
    const char* id;
    int modelType;
    const char* speeds;
};

constexpr BuiltInModel kBuiltInModels[] = {
    {"VL-2405", "VM2405", "0a08", 8, "3, 4, 5, 6, 7"},
    {"VL-2403", "VM2403", "0a09", 9, "3, 4, 5"},
    {"VL-3405", "VM3405", "0a0a", 10, "3, 4, 5, 6, 7"},
    {"VL-3403", "VM3403", "0a0b", 11, "3, 4, 5"},
    {"VL-3413", "VM3413", "0a0c", 12, "3, 4, 5"},
    {"VL-2406", "VM2406", "0a0d", 13, "3, 4, 5, 6"},
    {"VL-6004", "VM6004", "0a0e", 14, "2.5, 3, 4"},
    {"VL-2415", "VM2415", "0a0f", 15, "3, 4, 5, 6, 7"},
    {"VL-2413", "VM2413", "0a10", 16, "3, 4, 5"},
    {"VL-4105", "VM4105", "0a64", 100, "3, 4, 5, 6, 7"},
    {"VL-4103", "VM4103", "0a65", 101, "3, 4, 5"},
    {"VL-4205", "VM4205", "0a6e", 110, "3, 4, 5, 6, 7"},
    {"VL-4215", "VM4215", "0a6f", 111, "3, 4, 5, 6, 7"},
    {"VL-4203", "VM4203", "0a70", 112, "3, 4, 5"},
    {"VL-6104", "VM6104", "0a14", 20, "2.5, 3, 4"},
    {"VL-6204", "VM6204", "0a15", 21, "2.5, 3, 4"},
    {"VL-2506", "VM2506", "0a16", 22, "3, 4, 5, 6"},
    {"VL-2516", "VM2516", "0a17", 23, "3, 4, 5, 6.5"},
    {"VL-2503", "VM2503", "0a18", 24, "3, 4, 5"},
    {"VL-8105", "VM8105", "0a82", 130, "3, 4, 5, 6, 7"},
    {"VL-8103", "VM8103", "0a83", 131, "3, 4, 5"},
};

constexpr const char* kBuiltInSpeedUnit = "inch/s";

}  // namespace

std::string shortNameOf(const std::string& name) {
    const auto dash = name.find('-');
    return dash == std::string::npos ? name : name.substr(dash + 1);
}

void applySpeedText(ModelRecord& record, const std::string& speedText) {
    const std::vector<std::string_view> items = listItems(speedText);
    record.speedUnit.clear();
    record.speeds.fill({});
    if (items.empty()) return;
    record.speedUnit = std::string(items.front());
    // The record has 24 slots; further speeds are dropped.
    for (std::size_t i = 1; i < items.size() && i <= kModelSpeedSlots; ++i) {
        record.speeds[i - 1] = std::string(items[i]);
    }
}

int profileInteger(const std::string& text) {
    std::string_view s = trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::uint32_t value = 0;  // unsigned so that an overlong number wraps instead of overflowing
    for (const char c : s) {
        if (c < '0' || c > '9') break;
        value = value * 10u + static_cast<std::uint32_t>(c - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

ModelCatalog modelCatalogFromIni(const platform::IniFile& ini) {
    ModelCatalog catalog;
    catalog.reserve(128);
    const std::string list = profileValue(ini, "SUPPORT", "PRINTER_LIST", "");
    for (const std::string_view item : listItems(list)) {
        auto record = std::make_unique<ModelRecord>();
        record->name = std::string(item);
        record->shortName = shortNameOf(record->name);
        record->id = profileValue(ini, record->name, "ID", kDefaultId);
        record->secondName = profileValue(ini, record->name, "SECONDNAME", "");
        applySpeedText(*record, profileValue(ini, record->name, "SPEED", kDefaultSpeedText));
        record->modelType = profileInteger(profileValue(ini, record->name, "MODELTYPE", ""));  // missing: 0
        // A name listed twice keeps the values read for its last occurrence.
        catalog[record->name] = std::move(record);
    }
    return catalog;
}

ModelCatalog builtInModelCatalog() {
    ModelCatalog catalog;
    catalog.reserve(std::size(kBuiltInModels));
    for (const BuiltInModel& row : kBuiltInModels) {
        auto record = std::make_unique<ModelRecord>();
        record->name = row.name;
        record->shortName = shortNameOf(record->name);
        record->id = row.id;
        record->secondName = row.secondName;
        applySpeedText(*record, std::string(kBuiltInSpeedUnit) + ", " + row.speeds);
        record->modelType = row.modelType;
        catalog[record->name] = std::move(record);
    }
    return catalog;
}

void LoadModelCatalog(const std::string& directory) {
    // Without a known directory there is no file to look for; "" + "/VQTLABEL.VQT" would name a
    // file in the root directory instead.
    const std::string path = directory + "/" + kModelCatalogFileName;
    if (directory.empty() || !platform::pathExists(path)) {
        theModelCatalog = builtInModelCatalog();
        return;
    }
    // A file that is present but cannot be read (a directory, no permission, not a regular file)
    // counts as an empty one: its presence says the user replaces the built-in table, and an
    // empty catalog is what the Windows reader yields for it too.
    platform::IniFile ini;
    ini.load(path, nullptr, kMaxCatalogFileBytes);
    theModelCatalog = modelCatalogFromIni(ini);
}

void FreeModelCatalog() { theModelCatalog.clear(); }

}  // namespace velmora::app
