// The model catalog read from any initialisation text: every listed model has a record whose
// values keep to the reader's limits (127 characters, 24 speeds).
#include "app/modelcatalog.h"

#include <string>

#include "fuzzcheck.h"
#include "fuzztargets.h"
#include "platform/inifile.h"

namespace velmora::fuzz {

namespace {
// Characters of UTF-8 text (bytes that do not continue a character).
std::size_t charCount(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}
}  // namespace

int fuzzOneModelCatalog(const std::uint8_t* data, std::size_t size) {
    platform::IniFile ini;
    ini.parse(std::string(reinterpret_cast<const char*>(data), size));
    const app::ModelCatalog catalog = app::modelCatalogFromIni(ini);

    for (const auto& [name, record] : catalog) {
        fuzzCheck(record != nullptr, "a catalog entry without a record");
        fuzzCheck(!name.empty() && name == record->name, "a record filed under another name");
        fuzzCheck(name.find(',') == std::string::npos, "a model name holds the list separator");
        fuzzCheck(record->shortName == app::shortNameOf(name), "short name not derived from the name");
        for (const std::string* value : {&record->id, &record->secondName, &record->speedUnit})
            fuzzCheck(charCount(*value) <= 127, "a value longer than a profile value can be");
        bool gap = false;
        for (const std::string& speed : record->speeds) {
            fuzzCheck(!(gap && !speed.empty()), "a speed after an empty slot");
            gap = gap || speed.empty();
        }
    }
    return 0;
}

}  // namespace velmora::fuzz
