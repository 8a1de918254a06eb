// The encoder's settings: the key table, the seven queries, the Set text, and the "rfid" page.
#include "rfid/rfidsettings.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>

#include "app/settingspage.h"
#include "platform/codepage.h"
#include "resources/messages.h"
#include "rfid/rfidcommands.h"
#include "ui/dataexchange.h"

namespace velmora::rfid {

namespace {

constexpr int kPowerEntries = 31, kRetryEntries = 11, kLabelEntries = 6;
const char* const kTagNames[] = {"GEN2", "ISO-B"};
constexpr int kTagCodes[] = {5, 2};
constexpr std::size_t kCounterDigits = kSettingReplyLimit;

// A decoded list position the list does not have is no selection, not a guess.
int listPosition(int pos, int entries) { return pos >= 0 && pos < entries ? pos : -1; }

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trimEnd(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool wholeIn(std::string_view text, int& out, int lo, int hi) {
    int v = 0;
    if (!app::parseWhole(text, v) || v < lo || v > hi) return false;
    out = v;
    return true;
}

std::string rangeText(const EncoderKey& key) {
    return "a whole number from " + std::to_string(key.min) + " to " + std::to_string(key.max);
}

// Whether the key was asked for: every key when none was named.
bool asked(const std::vector<std::string>& keys, std::string_view name) {
    return keys.empty() || std::find(keys.begin(), keys.end(), name) != keys.end();
}

}  // namespace

const std::array<EncoderKey, kSettingItems>& encoderKeys() {
    using K = EncoderKind;
    static const std::array<EncoderKey, kSettingItems> keys = {{
        {"tag-type", 1, K::TagType, 0, 1},
        {"power", 2, K::Number, 1, kPowerEntries},
        // The position goes to the encoder as typed; it bounds it, not this program.
        {"position", 3, K::Position, INT_MIN, INT_MAX},
        {"retries", 4, K::Number, 0, kRetryEntries - 1},
        {"labels", 5, K::Number, 0, kLabelEntries - 1},
        {"valid", 6, K::Counter, 0, 0},
        {"void", 7, K::Counter, 0, 0},
    }};
    return keys;
}

const EncoderKey* findEncoderKey(std::string_view name) {
    for (const auto& k : encoderKeys())
        if (name == k.name) return &k;
    return nullptr;
}

bool isCounter(std::string_view name) {
    const EncoderKey* key = findEncoderKey(name);
    return key && key->kind == EncoderKind::Counter;
}

void applyReplies(EncoderSettings& s, const SettingReplies& replies) {
    const auto reply = [&replies](int item) { return replies[item - 1].value_or(""); };
    const std::string tag = reply(1);
    if (tag.starts_with("GEN2"))
        s.tagType = 0;
    else if (tag.starts_with("I"))
        s.tagType = 1;
    s.power = listPosition(replyDecimal(reply(2)) - 1, kPowerEntries);
    s.position = trimEnd(platform::fromCodePage(reply(3)));
    s.retries = listPosition(replyDecimal(reply(4)), kRetryEntries);
    s.labels = listPosition(replyDecimal(reply(5)), kLabelEntries);
    s.valid = platform::fromCodePage(reply(6));
    s.voids = platform::fromCodePage(reply(7));
}

app::ReadValue encoderValue(const EncoderKey& key, std::optional<std::string> reply) {
    app::ReadValue v{key.name, {}, reply.has_value(), false, reply.value_or(""), {}};
    // What the dialog shows for this reply, the text of a value that is not valid.
    SettingReplies one;
    one[key.item - 1] = reply;
    EncoderSettings shown;
    applyReplies(shown, one);
    for (const auto& [name, text] : settingsKeyValues(shown))
        if (name == key.name) v.text = text;
    if (!reply) return v;

    const std::string_view body = trimmed(*reply);
    int n = 0;
    switch (key.kind) {
        case EncoderKind::TagType:
            if (body == kTagNames[0] || body == kTagNames[1]) {
                v.valid = true;
                v.text = std::string(body);
            } else {
                v.why = "not GEN2 or ISO-B";
            }
            break;
        case EncoderKind::Number:
        case EncoderKind::Position:
            if (wholeIn(body, n, key.min, key.max)) {
                v.valid = true;
                v.text = std::to_string(n);
            } else {
                v.why = "not " + rangeText(key);
            }
            break;
        case EncoderKind::Counter:
            if (!body.empty() && body.size() <= kCounterDigits &&
                std::all_of(body.begin(), body.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                v.valid = true;
                v.text = std::string(body);
            } else {
                v.why = "not a count in decimal digits";
            }
            break;
    }
    return v;
}

std::optional<app::ReadValue> queryEncoderValue(link::CComm& comm, platform::Clock& clock, const EncoderKey& key) {
    if (!comm.WriteText(settingQuery(key.item) + "\r")) return std::nullopt;
    clock.sleepMs(kSettingReplyWaitMs);
    std::array<std::uint8_t, kSettingReplyLimit> area{};
    const int got = comm.ReadBytes(area.data(), area.size());
    if (got <= 0) return encoderValue(key, std::nullopt);
    // Only the bytes read count: a reply that fills the area has no NUL after it.
    const std::string_view bytes(reinterpret_cast<const char*>(area.data()), static_cast<std::size_t>(got));
    return encoderValue(key, std::string(bytes.substr(0, bytes.find('\0'))));
}

std::string checkEncoderValue(const EncoderKey& key, const std::string& value) {
    switch (key.kind) {
        case EncoderKind::TagType:
            return value == kTagNames[0] || value == kTagNames[1] ? "" : "tag-type takes GEN2 or ISO-B";
        case EncoderKind::Number:
            return ui::integerBoxMessage(value, key.min, key.max);
        case EncoderKind::Position: {
            // The position goes out as typed: only what the encoder reads as its number.
            std::string why = ui::integerBoxMessage(value, key.min, key.max);
            if (why.empty() && !validPosition(value)) why = ui::ddx_text::kEnterInteger;
            return why;
        }
        case EncoderKind::Counter:
            return std::string(key.name) + " is a counter: it is read, not set";
    }
    return {};
}

bool validPosition(std::string_view text) {
    int v = 0;
    return app::parseWhole(text, v);
}

std::optional<std::string> settingsText(const EncoderSettings& s) {
    if (listPosition(s.tagType, 2) < 0 || listPosition(s.power, kPowerEntries) < 0 ||
        listPosition(s.retries, kRetryEntries) < 0 || listPosition(s.labels, kLabelEntries) < 0 ||
        !validPosition(s.position))
        return std::nullopt;
    return settingsCommand(kTagCodes[s.tagType], s.retries, s.labels, s.power + 1) + "\r" +
           positionCommand(s.position) + "\r";
}

KeyValues settingsKeyValues(const EncoderSettings& s) {
    const auto number = [](int pos, int offset) { return pos < 0 ? std::string() : std::to_string(pos + offset); };
    return {{"tag-type", s.tagType == 0 || s.tagType == 1 ? kTagNames[s.tagType] : ""},
            {"power", number(s.power, 1)},
            {"position", s.position},
            {"retries", number(s.retries, 0)},
            {"labels", number(s.labels, 0)},
            {"valid", s.valid},
            {"void", s.voids}};
}

bool applyKeyValues(EncoderSettings& s, const KeyValues& values, std::string& error) {
    EncoderSettings next = s;
    for (const auto& [name, value] : values) {
        const EncoderKey* key = findEncoderKey(name);
        if (!key || key->kind == EncoderKind::Counter) {
            error = "unknown or read-only setting " + name;
            return false;
        }
        if (!checkEncoderValue(*key, value).empty()) {
            error = "bad value for " + name + ": " + value;
            return false;
        }
        int n = 0;
        app::parseWhole(value, n);
        if (key->kind == EncoderKind::TagType)
            next.tagType = value == kTagNames[0] ? 0 : 1;
        else if (name == "power")
            next.power = n - 1;
        else if (name == "position")
            next.position = value;
        else if (name == "retries")
            next.retries = n;
        else
            next.labels = n;
    }
    s = next;
    return true;
}

app::Outcome getEncoderSettings(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& keys) {
    app::Outcome out;
    comm.BeginAction();
    app::ReplyOrder order;
    for (const auto& key : encoderKeys()) {
        if (!asked(keys, key.name)) continue;
        auto got = queryEncoderValue(comm, clock, key);
        // The port object said why; the queries after it would only say it again.
        if (!got) return out.fail(msg::kRfidGetFailed, key.name);
        app::ReadValue v = std::move(*got);
        order.take(v, v.replied);
        out.values.push_back(std::move(v));
    }
    for (const auto& v : out.values)
        if (!v.valid) return out.fail(msg::kRfidGetFailed, v.key);
    return out.finish(msg::kRfidGetOk);
}

app::Outcome setEncoderSettings(link::CComm& comm, const EncoderSettings& settings) {
    app::Outcome out;
    const auto text = settingsText(settings);
    if (!text) return out.refuse(msg::kRfidSetFailed, {}, "settings");
    if (!comm.WriteText(*text)) return out.fail(msg::kRfidSetFailed, "settings");
    for (auto& kv : settingsKeyValues(settings))
        if (!isCounter(kv.first)) out.written.push_back(std::move(kv));
    return out.finish(msg::kRfidSetOk);
}

app::Outcome changeEncoderSettings(link::CComm& comm, platform::Clock& clock, const KeyValues& changes) {
    app::Outcome out;
    const app::Outcome got = getEncoderSettings(comm, clock);
    if (got.values.size() < encoderKeys().size()) return out.fail(got.result.messageId, got.result.where);
    const auto changed = [&changes](const std::string& key) {
        return std::any_of(changes.begin(), changes.end(), [&key](const auto& kv) { return kv.first == key; });
    };
    // What is written back is what the printer reported: a setting it did not report validly is
    // never sent as a guess. Only those are kept, so the command line names them.
    KeyValues kept;
    for (const auto& v : got.values) {
        if (isCounter(v.key) || changed(v.key)) continue;
        if (!v.valid) out.values.push_back(v);
        kept.emplace_back(v.key, v.text);
    }
    if (!out.values.empty()) return out.fail(msg::kRfidGetFailed, out.values.front().key);
    EncoderSettings s;
    std::string error;
    if (!applyKeyValues(s, kept, error) || !applyKeyValues(s, changes, error)) return out.refuse(0, error);
    return setEncoderSettings(comm, s);
}

app::Outcome resetCounters(link::CComm& comm) {
    app::Outcome out;
    if (!comm.WriteText(std::string(kResetCounters) + "\r")) return out.fail(msg::kRfidCalibrationFailed, "reset");
    out.written = {{"valid", "0"}, {"void", "0"}};
    return out.finish(msg::kRfidCalibrationOk);
}

app::Outcome startCalibration(link::CComm& comm) {
    app::Outcome out;
    if (!comm.WriteText(std::string(kCalibrate) + "\r")) return out.fail(msg::kRfidCalibrationFailed, "calibrate");
    out.written = {{"calibrate", "started"}};
    return out.finish(msg::kRfidCalibrationOk);
}

namespace {

// The encoder's page for the command line and profiles. A printer without an encoder answers
// none of its queries, so profiles leave the section out.
class EncoderPage final : public app::SettingsPage {
public:
    std::string section() const override { return "rfid"; }
    bool forMenuMode(int) const override { return true; }
    std::vector<std::string> keys() const override {
        std::vector<std::string> out;
        for (const auto& k : encoderKeys()) out.push_back(k.name);
        return out;
    }
    bool readOnly(const std::string& key) const override { return isCounter(key); }
    app::Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& keys) const override {
        return getEncoderSettings(comm, clock, keys);
    }
    std::string check(const std::string& name, const std::string& value) const override {
        const EncoderKey* key = findEncoderKey(name);
        return key ? checkEncoderValue(*key, value) : "no setting " + name;
    }
    app::Outcome write(link::CComm& comm, platform::Clock& clock, const app::KeyValues& changes) const override {
        return changeEncoderSettings(comm, clock, changes);
    }
};

const bool registered = app::registerSettingsPage(60, std::make_unique<EncoderPage>());

}  // namespace

}  // namespace velmora::rfid
