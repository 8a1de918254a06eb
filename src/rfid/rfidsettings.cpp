// The encoder's settings: the seven queries, the Set text, and the settings as KEY=VALUE pairs.
#include "rfid/rfidsettings.h"

#include <cctype>

#include "platform/codepage.h"
#include "rfid/rfidcommands.h"
#include "settings/settingexchange.h"

namespace velmora::rfid {

namespace {

constexpr int kPowerEntries = 31, kRetryEntries = 11, kLabelEntries = 6;
const char* const kTagNames[] = {"GEN2", "ISO-B"};
constexpr int kTagCodes[] = {5, 2};

// A decoded list position the list does not have is no selection, not a guess.
int listPosition(int pos, int entries) { return pos >= 0 && pos < entries ? pos : -1; }

std::string trimEnd(std::string text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

bool parseWhole(const std::string& text, int& out, int lo, int hi) {
    if (text.empty() || text.size() > 6) return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (std::size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9') return false;
    const int v = std::stoi(text);
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

}  // namespace

SettingReplies querySettings(link::CComm& comm, platform::Clock& clock) {
    SettingReplies replies;
    for (int n = 1; n <= kSettingItems; ++n)
        replies[n - 1] = settings::queryReply(comm, clock, settingQuery(n) + "\r", kSettingReplyWaitMs,
                                              kSettingReplyLimit);
    return replies;
}

bool allAnswered(const SettingReplies& replies) {
    for (const auto& r : replies)
        if (!r) return false;
    return true;
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

bool validPosition(std::string_view text) {
    int v = 0;
    return parseWhole(std::string(text), v, -9999, 9999);
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
    for (const auto& [key, value] : values) {
        bool ok = false;
        if (key == "tag-type") {
            for (int i = 0; i < 2; ++i)
                if (value == kTagNames[i]) next.tagType = i, ok = true;
        } else if (key == "power") {
            ok = parseWhole(value, next.power, 1, kPowerEntries);
            if (ok) --next.power;
        } else if (key == "position") {
            ok = validPosition(value);
            if (ok) next.position = value;
        } else if (key == "retries") {
            ok = parseWhole(value, next.retries, 0, kRetryEntries - 1);
        } else if (key == "labels") {
            ok = parseWhole(value, next.labels, 0, kLabelEntries - 1);
        } else {
            error = "unknown or read-only setting " + key;
            return false;
        }
        if (!ok) {
            error = "bad value for " + key + ": " + value;
            return false;
        }
    }
    s = next;
    return true;
}

std::optional<KeyValues> readEncoderSettings(link::CComm& comm, platform::Clock& clock) {
    comm.BeginAction();
    const SettingReplies replies = querySettings(comm, clock);
    if (!allAnswered(replies)) return std::nullopt;
    EncoderSettings s;
    applyReplies(s, replies);
    return settingsKeyValues(s);
}

int writeEncoderSettings(link::CComm& comm, platform::Clock& clock, const KeyValues& values, std::string& error) {
    comm.BeginAction();
    const SettingReplies replies = querySettings(comm, clock);
    if (!allAnswered(replies)) {
        error = "the encoder did not answer every setting";
        return 0;
    }
    EncoderSettings s;
    applyReplies(s, replies);
    if (!applyKeyValues(s, values, error)) return 0;
    const auto text = settingsText(s);
    if (!text) {
        error = "the encoder reported a setting outside its lists";
        return 0;
    }
    const int written = comm.WriteText(*text);
    if (!written) error = "the settings could not be written";
    return written;
}

}  // namespace velmora::rfid
