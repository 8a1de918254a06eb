// The ZII serial interface settings: their table, the page's Get and Set, and the page as the
// command line and profiles read and write it.
#include "zii/ziiserialops.h"

#include <algorithm>
#include <memory>

#include "app/settingspage.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "zii/ziiprotocol.h"

namespace velmora::zii {

const std::array<SerialKey, kSerialFieldCount>& serialKeys() {
    static const std::array<SerialKey, kSerialFieldCount> keys = {{
        {"baud",
         true,
         {"9600", "14400", "19200", "28800", "38400", "57600", "115200"},
         {"9600", "14400", "19200", "28800", "38400", "57600", "115200"}},
        {"data-bits", true, {"8", "7"}, {"8", "7"}},
        {"parity", false, {"N", "E", "O"}, {"none", "even", "odd"}},
        {"stop-bits", true, {"1", "2"}, {"1", "2"}},
        {"protocol", false, {"X", "D"}, {"software", "hardware"}},
    }};
    return keys;
}

namespace {

int entryOf(const SerialKey& key, std::string_view field) {
    for (std::size_t i = 0; i < key.values.size(); ++i) {
        const bool same = key.numeric ? decimalValue(field) == decimalValue(key.values[i]) : field == key.values[i];
        if (same) return static_cast<int>(i);
    }
    return -1;
}

int entryOfWord(const SerialKey& key, std::string_view word) {
    const auto it = std::find(key.words.begin(), key.words.end(), word);
    return it == key.words.end() ? -1 : static_cast<int>(it - key.words.begin());
}

std::string wordList(const SerialKey& key) {
    std::string out;
    for (const auto& w : key.values) out += (out.empty() ? "" : ", ") + w;
    return out;
}

// Reads the settings (the caller begins the action).
app::Outcome readSerial(link::CComm& comm, platform::Clock& clock) {
    app::Outcome out;
    ReplyArea area;
    const int got = querySetting(comm, clock, area, kSerialQuery, kSerialReplyWaitMs);
    if (got < 0) return out.fail(0, kLinkStep);
    const auto entries = got > 0 ? parseSerialReply(area.text()) : std::array<int, kSerialFieldCount>{-1, -1, -1, -1, -1};
    for (std::size_t i = 0; i < kSerialFieldCount; ++i) {
        const SerialKey& key = serialKeys()[i];
        const int e = entries[i];
        out.values.push_back(settingValue(key.name, got, area,
                                          e < 0 ? std::nullopt : std::optional<std::string>(key.words[static_cast<std::size_t>(e)]),
                                          "one of " + wordList(key), false));
    }
    clock.sleepMs(kSerialAfterReadMs);
    for (const auto& v : out.values)
        if (!v.valid) return out.fail(0, v.key);
    return out.finish(0);
}

}  // namespace

std::array<int, kSerialFieldCount> parseSerialReply(std::string_view reply) {
    std::array<int, kSerialFieldCount> out{-1, -1, -1, -1, -1};
    const auto firstDigit = reply.find_first_of("0123456789");
    if (firstDigit == std::string_view::npos) return out;
    std::string_view rest = reply.substr(firstDigit);
    for (std::size_t field = 0; field < kSerialFieldCount;) {
        const auto comma = rest.find(',');
        const std::string_view text = rest.substr(0, comma);
        if (!text.empty()) {
            out[field] = entryOf(serialKeys()[field], text);
            ++field;
        }
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return out;
}

std::string serialSetCommand(const std::array<int, kSerialFieldCount>& entries) {
    std::string text = "^XA^SC";
    for (std::size_t i = 0; i < kSerialFieldCount; ++i)
        text += serialKeys()[i].values[static_cast<std::size_t>(entries[i])] + ",";
    return text + "N^JUS^XZ\r\n";
}

app::Outcome getSerialSettings(link::CComm& comm, platform::Clock& clock) {
    comm.BeginAction();
    return readSerial(comm, clock);
}

app::Outcome setSerialSettings(link::CComm& comm, const std::array<int, kSerialFieldCount>& entries) {
    app::Outcome out;
    // A parameter without an entry has no value to send; sending a guess could leave the printer
    // unreachable after its restart, so the Set is refused instead.
    for (std::size_t i = 0; i < kSerialFieldCount; ++i) {
        const SerialKey& key = serialKeys()[i];
        if (entries[i] < 0 || entries[i] >= static_cast<int>(key.values.size()))
            return out.refuse(msg::kSelectSerialField[i], {}, key.name);
    }
    if (!comm.WriteText(serialSetCommand(entries))) return out.fail(msg::kSerialSetFailed, kLinkStep);
    for (std::size_t i = 0; i < kSerialFieldCount; ++i)
        out.written.emplace_back(serialKeys()[i].name, serialKeys()[i].words[static_cast<std::size_t>(entries[i])]);
    out.finish(msg::kSerialSetOk);
    // The new parameters take effect only when the printer is switched off and on.
    out.result.message = resources::LoadString(msg::kRestartPrinter);
    return out;
}

namespace {

// The page for the command line and profiles. "^SC" sends all five parameters, so a write reads
// them first and sends the printer's own for those it does not name; one the printer did not
// report validly is not guessed, and nothing is sent.
class SerialPage final : public app::SettingsPage {
public:
    std::string section() const override { return "zii.serial"; }
    bool forMenuMode(int menuMode) const override { return menuMode == 1; }
    std::vector<std::string> keys() const override {
        std::vector<std::string> out;
        for (const auto& k : serialKeys()) out.push_back(k.name);
        return out;
    }

    app::Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& names) const override {
        app::Outcome got = getSerialSettings(comm, clock);
        if (stoppedAtFailedWrite(got)) return got;
        return app::selectValues(std::move(got), names);
    }

    std::string check(const std::string& name, const std::string& value) const override {
        const SerialKey* key = find(name);
        if (!key) return "no setting " + name;
        if (entryOfWord(*key, value) >= 0) return {};
        std::string words;
        for (const auto& w : key->words) words += (words.empty() ? "" : ", ") + w;
        return name + " takes " + words;
    }

    app::Outcome write(link::CComm& comm, platform::Clock& clock, const app::KeyValues& changes) const override {
        app::Outcome out;
        for (const auto& [name, value] : changes)
            if (const std::string why = check(name, value); !why.empty()) return out.refuse(0, why, name);
        comm.BeginAction();
        const app::Outcome got = readSerial(comm, clock);
        if (stoppedAtFailedWrite(got)) return got;
        std::array<int, kSerialFieldCount> entries{};
        for (std::size_t i = 0; i < kSerialFieldCount; ++i) {
            const SerialKey& key = serialKeys()[i];
            const auto named = std::find_if(changes.begin(), changes.end(), [&](const auto& c) { return c.first == key.name; });
            const app::ReadValue& read = got.values[i];
            if (named != changes.end())
                entries[i] = entryOfWord(key, named->second);
            else if (read.valid)
                entries[i] = entryOfWord(key, read.text);
            else
                return out.fail(msg::kSelectSerialField[i], key.name);
        }
        return setSerialSettings(comm, entries);
    }

private:
    static const SerialKey* find(std::string_view name) {
        for (const auto& k : serialKeys())
            if (name == k.name) return &k;
        return nullptr;
    }
};

const bool registered = app::registerSettingsPage(70, std::make_unique<SerialPage>());

}  // namespace

}  // namespace velmora::zii
