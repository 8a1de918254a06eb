// The INI reader on any text: every section and key it lists can be looked up again, under any
// letter case, and the reader never lists a name twice.
#include "platform/inifile.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "fuzzcheck.h"
#include "fuzztargets.h"

namespace velmora::fuzz {

namespace {
std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}
}  // namespace

int fuzzOneIniFile(const std::uint8_t* data, std::size_t size) {
    platform::IniFile ini;
    ini.parse(std::string(reinterpret_cast<const char*>(data), size));

    std::set<std::string> seenSections;
    for (const std::string& section : ini.sections()) {
        fuzzCheck(seenSections.insert(upper(section)).second, "a section listed twice");
        std::set<std::string> seenKeys;
        for (const std::string& key : ini.keys(section)) {
            fuzzCheck(!key.empty(), "an empty key listed");
            fuzzCheck(seenKeys.insert(upper(key)).second, "a key listed twice");
            const auto value = ini.value(section, key);
            fuzzCheck(value.has_value(), "a listed key has no value");
            fuzzCheck(ini.value(upper(section), upper(key)) == value, "lookup depends on letter case");
            fuzzCheck(value->find_first_of("\r\n") == std::string::npos, "a value spans lines");
        }
    }
    return 0;
}

}  // namespace velmora::fuzz
