// The code page, character set and lock: their Get and Set, and the page as the command line and
// profiles read and write it.
#include "settings/languageops.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>
#include <vector>

#include "app/settingspage.h"
#include "resources/templates_settings.h"
#include "settings/nativereplies.h"
#include "settings/settingexchange.h"

namespace velmora::settings {

namespace {

constexpr unsigned kBeforeLockQueryMs = 20;
constexpr unsigned kAfterGetMs = 30;

bool isFlagCharacter(char c) { return (static_cast<unsigned char>(c) & 0xF0) == 0x30; }

bool allDigits(const std::string& v) {
    return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> entryOf(const std::vector<std::string>& items, const std::string& name, bool prefixes) {
    if (allDigits(name)) {
        const auto index = std::stoul(name.substr(0, 4));
        return index < items.size() ? std::optional<int>(static_cast<int>(index)) : std::nullopt;
    }
    std::optional<int> found;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == name) return static_cast<int>(i);
        if (prefixes && items[i].starts_with(name)) {
            if (found) return std::nullopt;  // more than one: ambiguous
            found = static_cast<int>(i);
        }
    }
    return found;
}

int lockWrite(link::CComm& comm, bool on) {
    const std::array<char, 5> bytes{'\x1b', '\x1c', '\x1f', static_cast<char>(on ? 1 : 0),
                                    static_cast<char>(kLanguageLockCode)};
    return writeRaw(comm, std::string_view(bytes.data(), bytes.size()));
}

// A switch read whose byte is a position in `items`.
app::ReadValue listValue(const char* key, const std::string& bytes, const std::vector<std::string>& items) {
    app::ReadValue v{key, {}, !bytes.empty(), false, bytes, {}};
    if (bytes.empty()) return v;
    const auto position = static_cast<unsigned char>(bytes[0]);
    if (position < items.size()) v.text = items[position];
    if (bytes.size() != 1)
        v.why = "not one switch byte";
    else if (position >= items.size())
        v.why = "the byte stands for no entry of the list";
    else
        v.valid = true;
    return v;
}

}  // namespace

bool isLockStatus(std::string_view reply) {
    return reply.size() >= 4 && isFlagCharacter(reply[2]) && isFlagCharacter(reply[3]) &&
           app::printable(app::withoutLineEnd(reply));
}

bool languageLocked(std::string_view reply) {
    return reply.size() >= 3 && (static_cast<unsigned char>(reply[2]) & 0x08) != 0;
}

std::optional<int> codePageEntry(const std::string& name) { return entryOf(resources::CodePageItems(), name, true); }
std::optional<int> icsEntry(const std::string& name) { return entryOf(resources::IcsItems(), name, false); }

namespace {

// The Get's exchanges and pauses (the action is the caller's).
app::Outcome readLanguage(link::CComm& comm, platform::Clock& clock) {
    app::Outcome out;
    ReplyOrder order;
    const std::pair<const char*, int> switches[] = {{"codepage", kCodePageSwitch}, {"ics", kIcsSwitch}};
    for (const auto& [key, number] : switches) {
        const auto bytes = querySwitchBytes(comm, clock, '*', number, kLanguageReplyWaitMs);
        if (!bytes) return out.fail(0, key);
        const auto& items = number == kCodePageSwitch ? resources::CodePageItems() : resources::IcsItems();
        app::ReadValue v = listValue(key, *bytes, items);
        order.take(v, bytes->size() == 1);
        out.values.push_back(std::move(v));
    }
    clock.sleepMs(kBeforeLockQueryMs);
    // The flags are bits of bytes: every byte that came counts, a NUL too.
    const auto reply = queryOnce(comm, clock, "\x1b\x1c/", kLanguageReplyWaitMs, kLockStatusLimit, false);
    if (!reply) return out.fail(0, "lock");
    app::ReadValue lock{"lock", languageLocked(*reply) ? "1" : "0", !reply->empty(), isLockStatus(*reply), *reply, {}};
    if (lock.replied && !lock.valid) lock.why = "not a lock status: the third and fourth bytes carry no lock flags";
    order.take(lock, lock.valid);
    out.values.push_back(std::move(lock));
    clock.sleepMs(kAfterGetMs);
    for (const auto& v : out.values)
        if (!v.valid) return out.fail(0, v.key);
    return out.finish(0);
}

}  // namespace

app::Outcome getLanguageSetting(link::CComm& comm, platform::Clock& clock) {
    comm.BeginAction();
    return readLanguage(comm, clock);
}

app::Outcome setLanguageSetting(link::CComm& comm, const LanguageRequest& request) {
    app::Outcome out;
    if (lockWrite(comm, false) == 0) return out.fail(0, "lock");
    std::string unwritten;
    const std::tuple<const char*, int, int, const std::vector<std::string>*> switches[] = {
        {"codepage", kCodePageSwitch, request.codePage, &resources::CodePageItems()},
        {"ics", kIcsSwitch, request.ics, &resources::IcsItems()}};
    for (const auto& [key, number, position, items] : switches) {
        // A list without a choice sends no byte (its position would go out as 0xFF).
        if (position < 0 || position > 0xFF) {
            unwritten += std::string(unwritten.empty() ? "" : ", ") + key;
            continue;
        }
        if (writeSwitch(comm, '*', number, static_cast<std::uint8_t>(position), false) == 0) {
            lockWrite(comm, request.lock);  // the lock the series removed goes back on
            return out.fail(0, key);
        }
        out.written.emplace_back(key, position < static_cast<int>(items->size()) ? (*items)[position]
                                                                                 : std::to_string(position));
    }
    if (lockWrite(comm, request.lock) == 0) return out.fail(0, "lock");
    out.written.emplace_back("lock", request.lock ? "1" : "0");
    if (unwritten.empty()) return out.finish(0);
    out.fail(0, unwritten);
    out.result.message = "no " + unwritten + " was chosen and the printer gave none; it was not written";
    return out;
}

namespace {

// The page for the command line and profiles: a write first reads what the page's Get reads, then
// sends the page's Set with the keys given and the rest as read. A switch whose reply was not
// valid is not written back, and without a valid lock status (and no lock given) nothing is
// written: the lock could not be put back as it was.
class LanguagePage final : public app::SettingsPage {
public:
    std::string section() const override { return "codepage"; }
    bool forMenuMode(int) const override { return true; }
    std::vector<std::string> keys() const override { return {"codepage", "ics", "lock"}; }

    app::Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& names) const override {
        app::Outcome got = getLanguageSetting(comm, clock);
        if (names.empty()) return got;
        std::erase_if(got.values, [&](const app::ReadValue& v) {
            return std::find(names.begin(), names.end(), v.key) == names.end();
        });
        // Judged by the keys asked for alone.
        for (const auto& name : names)
            if (const app::ReadValue* v = got.find(name); !v || !v->valid) return got.fail(0, name);
        return got.finish(0);
    }

    std::string check(const std::string& key, const std::string& value) const override {
        if (key == "codepage" && codePageEntry(value)) return {};
        if (key == "ics" && icsEntry(value)) return {};
        if (key == "lock" && (value == "0" || value == "1")) return {};
        if (key == "codepage") return "codepage takes a list position or a beginning of one entry's text (PC850)";
        if (key == "ics") return "ics takes a list position or an entry's text (Germany)";
        if (key == "lock") return "lock takes 0 or 1";
        return "no setting " + key;
    }

    app::Outcome write(link::CComm& comm, platform::Clock& clock, const app::KeyValues& changes) const override {
        comm.BeginAction();
        const app::Outcome got = readLanguage(comm, clock);
        if (got.values.size() < 3) return app::Outcome{}.fail(0, got.result.where);  // a query could not be written
        LanguageRequest request;
        const auto position = [&](const app::ReadValue& v, const std::vector<std::string>& items) {
            return v.valid ? static_cast<int>(std::find(items.begin(), items.end(), v.text) - items.begin()) : -1;
        };
        request.codePage = position(got.values[0], resources::CodePageItems());
        request.ics = position(got.values[1], resources::IcsItems());
        std::optional<bool> lock;
        if (got.values[2].valid) lock = got.values[2].text == "1";
        for (const auto& [key, value] : changes) {
            if (!check(key, value).empty()) return app::Outcome{}.refuse(0, check(key, value), key);
            if (key == "codepage") request.codePage = *codePageEntry(value);
            if (key == "ics") request.ics = *icsEntry(value);
            if (key == "lock") lock = value == "1";
        }
        if (!lock) {
            app::Outcome out;
            out.values.push_back(got.values[2]);
            return out.fail(0, "lock");
        }
        request.lock = *lock;
        return setLanguageSetting(comm, request);
    }
};

const bool registered = app::registerSettingsPage(40, std::make_unique<LanguagePage>());

}  // namespace

}  // namespace velmora::settings
