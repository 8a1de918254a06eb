// Switch 2: its bits, its words, its Get and Set, and the page as the command line and profiles
// read and write it.
#include "settings/serialops.h"

#include <algorithm>

#include "app/settingspage.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "settings/nativereplies.h"
#include "settings/settingexchange.h"

namespace velmora::settings {

SerialChoices decodeSerialByte(std::uint8_t byte) {
    SerialChoices c{};
    for (int bit = 0; bit < kBaud; ++bit) c[bit] = (byte >> bit) & 1;
    c[kBaud] = !(byte & 0x20) ? 0 : (byte & 0x40) ? 2 : 1;
    return c;
}

std::uint8_t serialByte(const SerialChoices& choices) {
    std::uint8_t byte = 0;
    for (int bit = 0; bit < kBaud; ++bit)
        if (choices[bit] != 0) byte |= static_cast<std::uint8_t>(1u << bit);
    if (choices[kBaud] == 2) byte |= 0x60;
    if (choices[kBaud] == 1) byte |= 0x20;
    return byte;
}

const std::vector<SerialKey>& serialKeys() {
    static const std::vector<SerialKey> keys = {
        {"handshake", {"hardware", "software"}, kHandshake},
        {"stop-bits", {"1", "2"}, kStopBit},
        {"data-bits", {"8", "7"}, kDataLength},
        {"parity", {"none", "even", "odd"}, -1},
        {"baud", {"dip", "38400", "57600"}, kBaud},
    };
    return keys;
}

const SerialKey* findSerialKey(const std::string& name) {
    for (const auto& k : serialKeys())
        if (name == k.name) return &k;
    return nullptr;
}

std::string serialWord(const SerialKey& key, const SerialChoices& choices) {
    if (key.list < 0) return choices[kParityCheck] == 0 ? "none" : choices[kParitySelect] == 0 ? "even" : "odd";
    const int position = choices[static_cast<std::size_t>(key.list)];
    return position >= 0 && position < static_cast<int>(key.words.size()) ? key.words[position] : std::string();
}

bool applySerialWord(const SerialKey& key, const std::string& word, SerialChoices& choices) {
    const auto it = std::find(key.words.begin(), key.words.end(), word);
    if (it == key.words.end()) return false;
    const int position = static_cast<int>(it - key.words.begin());
    if (key.list >= 0) {
        choices[static_cast<std::size_t>(key.list)] = position;
    } else {
        // "none" leaves the parity selection as the printer has it.
        choices[kParityCheck] = position == 0 ? 0 : 1;
        if (position > 0) choices[kParitySelect] = position - 1;
    }
    return true;
}

namespace {

// The switch read and a value for each key (the action is the caller's).
app::Outcome readSerialSwitch(link::CComm& comm, platform::Clock& clock) {
    app::Outcome out;
    const auto bytes = querySwitchBytes(comm, clock, '^', kSerialSwitch, kSerialReplyWaitMs);
    if (!bytes) return out.fail(msg::kSerialGetFailed, "switch 2");
    const bool valid = bytes->size() == 1;
    const SerialChoices choices = decodeSerialByte(bytes->empty() ? 0 : static_cast<std::uint8_t>((*bytes)[0]));
    for (const auto& key : serialKeys()) {
        app::ReadValue v{key.name, {}, !bytes->empty(), valid, *bytes, {}};
        if (v.replied) v.text = serialWord(key, choices);
        if (v.replied && !valid) v.why = "not one switch byte";
        out.values.push_back(std::move(v));
    }
    if (!valid) return out.fail(msg::kSerialGetFailed, "switch 2");
    return out.finish(msg::kSerialGetOk);
}

}  // namespace

app::Outcome getSerialSetting(link::CComm& comm, platform::Clock& clock) {
    comm.BeginAction();
    return readSerialSwitch(comm, clock);
}

app::Outcome setSerialSetting(link::CComm& comm, const SerialChoices& choices) {
    app::Outcome out;
    // A list without a choice has no bit to give: a guessed byte could leave the printer set up
    // for a link the user can no longer reach it over.
    if (std::ranges::any_of(choices, [](int c) { return c < 0; })) return out.fail(msg::kSerialSetFailed, "switch 2");
    if (writeSwitch(comm, '^', kSerialSwitch, serialByte(choices), false) == 0)
        return out.fail(msg::kSerialSetFailed, "switch 2");
    for (const auto& key : serialKeys()) out.written.emplace_back(key.name, serialWord(key, choices));
    return out.finish(msg::kSerialSetOk);
}

namespace {

// The interface page for the command line and profiles: a read is the page's Get, and a write
// reads the switch first and changes only the keys given, so the others keep the printer's
// values; a switch it could not read is never written back.
class SerialPage final : public app::SettingsPage {
public:
    std::string section() const override { return "native.interface"; }
    bool forMenuMode(int menuMode) const override { return menuMode == 0; }
    std::vector<std::string> keys() const override {
        std::vector<std::string> out;
        for (const auto& k : serialKeys()) out.push_back(k.name);
        return out;
    }

    app::Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& names) const override {
        app::Outcome got = getSerialSetting(comm, clock);
        if (!names.empty())
            std::erase_if(got.values, [&](const app::ReadValue& v) {
                return std::find(names.begin(), names.end(), v.key) == names.end();
            });
        return got;
    }

    std::string check(const std::string& name, const std::string& value) const override {
        const SerialKey* key = findSerialKey(name);
        if (!key) return "no setting " + name;
        SerialChoices scratch{};
        if (applySerialWord(*key, value, scratch)) return {};
        std::string words;
        for (const auto& w : key->words) words += (words.empty() ? "" : ", ") + w;
        return name + " takes " + words;
    }

    app::Outcome write(link::CComm& comm, platform::Clock& clock, const app::KeyValues& changes) const override {
        comm.BeginAction();
        app::Outcome got = readSerialSwitch(comm, clock);
        if (!got.done()) return got;  // the values say what came
        SerialChoices choices = decodeSerialByte(static_cast<std::uint8_t>(got.values.front().raw[0]));
        for (const auto& [name, word] : changes)
            if (const SerialKey* key = findSerialKey(name); !key || !applySerialWord(*key, word, choices))
                return app::Outcome{}.refuse(0, check(name, word), name);
        app::Outcome set = setSerialSetting(comm, choices);
        if (set.done())  // the new set-up takes effect when the printer restarts
            set.result.message = resources::LoadString(msg::kRestartPrinter) + "\n" +
                                 resources::LoadString(msg::kReconnectPrinter);
        return set;
    }
};

const bool registered = app::registerSettingsPage(80, std::make_unique<SerialPage>());

}  // namespace

}  // namespace velmora::settings
