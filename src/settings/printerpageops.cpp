// The print and page settings: their table, their exchanges, and the page as profiles and the
// command line read and write it.
#include "settings/printerpageops.h"

#include <algorithm>

#include "app/menumode.h"
#include "app/settingspage.h"
#include "resources/messages.h"
#include "settings/settingexchange.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

namespace {
constexpr unsigned kReplyWaitMs = 10;
constexpr std::size_t kTextReplyLimit = 32;
constexpr std::size_t kSignedReplyLimit = 7;
constexpr int kNoRange = 1;  // min above max
}  // namespace

const std::vector<PageKey>& printerPageKeys() {
    using K = PageKind;
    static const std::vector<PageKey> keys = {
        {"paper-width", K::Numeric, 0, 832, {}, 0, 5, 0, 0, nullptr, nullptr, msg::kPaperWidthGetOk, msg::kPaperWidthGetFailed, msg::kPaperWidthSetOk, msg::kPaperWidthSetFailed},
        {"paper-length", K::Numeric, 0, 2432, {}, 2, 5, 1, 0, nullptr, nullptr, msg::kPaperLengthGetOk, msg::kPaperLengthGetFailed, msg::kPaperLengthSetOk, msg::kPaperLengthSetFailed},
        {"gap-length", K::Numeric, kNoRange, 0, {}, 5, 5, 2, 0, nullptr, nullptr, msg::kGapLengthGetOk, msg::kGapLengthGetFailed, msg::kGapLengthSetOk, msg::kGapLengthSetFailed},
        {"h-margin", K::Numeric, 0, 832, {}, 3, 5, 3, 0, nullptr, nullptr, msg::kHMarginGetOk, msg::kHMarginGetFailed, msg::kHMarginSetOk, msg::kHMarginSetFailed},
        {"v-margin", K::Numeric, 0, 2432, {}, 4, 5, 4, 0, nullptr, nullptr, msg::kVMarginGetOk, msg::kVMarginGetFailed, msg::kVMarginSetOk, msg::kVMarginSetFailed},
        {"density", K::Numeric, 0, 20, {}, 1, 4, 1, 0, nullptr, nullptr, msg::kDensityGetOk, msg::kDensityGetFailed, msg::kDensitySetOk, msg::kDensitySetFailed},
        {"strobe", K::Switch, 0, 0, {"2", "3", "4"}, 0, 0, 0, 4, nullptr, nullptr, msg::kStrobeGetOk, msg::kStrobeGetFailed, msg::kStrobeSetOk, msg::kStrobeSetFailed},
        {"speed", K::Switch, 0, 0, {"default", "3ips", "4ips", "5ips", "6ips", "7ips", "8ips"}, 0, 0, 0, 3,
         nullptr, nullptr, msg::kSpeedGetOk, msg::kSpeedGetFailed, msg::kSpeedSetOk, msg::kSpeedSetFailed},
        {"gap-detect", K::Switch, 0, 0, {"lower", "upper"}, 0, 0, 0, 4, nullptr, nullptr, msg::kGapDetectGetOk, msg::kGapDetectGetFailed, msg::kGapDetectSetOk, msg::kGapDetectSetFailed},
        {"offset", K::Signed, 0, 100, {}, 0, 0, 0, 0, "^SA\r\n", "SA", msg::kOffsetGetOk, msg::kOffsetGetFailed, msg::kOffsetSetOk, msg::kOffsetSetFailed},
        {"tear-off", K::Signed, 0, 100, {}, 0, 0, 0, 0, "^PI4,2\r\n", "TA", msg::kTearOffGetOk, msg::kTearOffGetFailed, msg::kTearOffSetOk, msg::kTearOffSetFailed},
        {"label-length-check", K::LabelCheck, 0, 0, {"disable", "enable"}, 0, 0, 0, 0, nullptr, nullptr, 0, 0, 0, 0},
    };
    return keys;
}

const PageKey* findPrinterPageKey(const std::string& name) {
    for (const auto& k : printerPageKeys())
        if (name == k.name) return &k;
    return nullptr;
}

std::uint8_t strobeByte(int choice) { return choice == 1 ? 0x40 : choice == 2 ? 0x80 : 0x00; }

std::optional<int> decodeStrobe(std::uint8_t byte) {
    switch (byte) {
        case 0x00: return 0;
        case 0x40: return 1;
        case 0x80: return 2;
        default: return std::nullopt;
    }
}

std::uint8_t gapDetectByte(int choice) { return choice == 1 ? 0x20 : 0x00; }

std::optional<int> decodeGapDetect(std::uint8_t byte) {
    if (byte == 0x00) return 0;
    if (byte == 0x20) return 1;
    return std::nullopt;
}

std::uint8_t speedByte(int choice) {
    return choice >= 1 && choice <= 6 ? static_cast<std::uint8_t>(choice * 0x20) : 0x00;
}

int decodeSpeed(std::uint8_t byte) {
    const int choice = (byte & 0xE0) / 0x20;
    return choice == 7 ? 0 : choice;
}

namespace {

int wordIndex(const PageKey& key, const std::string& word) {
    const auto it = std::find(key.words.begin(), key.words.end(), word);
    return it == key.words.end() ? -1 : static_cast<int>(it - key.words.begin());
}

std::string wordList(const PageKey& key) {
    std::string out;
    for (const auto& w : key.words) out += (out.empty() ? "" : ", ") + w;
    return out;
}

std::uint8_t switchValueByte(const PageKey& key, int choice) {
    if (key.switchNumber == 3) return speedByte(choice);
    return key.words.size() == 3 ? strobeByte(choice) : gapDetectByte(choice);
}

std::optional<int> decodeSwitch(const PageKey& key, std::uint8_t byte) {
    if (key.switchNumber == 3) return decodeSpeed(byte);
    return key.words.size() == 3 ? decodeStrobe(byte) : decodeGapDetect(byte);
}

std::string rangeText(const PageKey& key) {
    return key.min > key.max ? "a whole number" : "a whole number from " + std::to_string(key.min) + " to " +
                                                      std::to_string(key.max);
}

// A user value's reply: a whole number in the key's range, ended by its line end.
app::ReadValue numericValue(const PageKey& key, const std::string& raw) {
    app::ReadValue v{key.name, normaliseReply(raw), !raw.empty(), false, raw, {}};
    int n = 0;
    if (!app::endsWithLine(raw)) {
        v.why = "no line end: the reply is cut short";
    } else if (!app::parseWhole(app::withoutLineEnd(raw), n) || (key.min <= key.max && (n < key.min || n > key.max))) {
        v.why = "not " + rangeText(key);
    } else {
        v.valid = true;
        v.text = std::to_string(n);
    }
    return v;
}

// Offset and tear-off replies: a sign byte and three digits within the range, then the line end.
app::ReadValue signedValue(const PageKey& key, const std::string& raw) {
    app::ReadValue v{key.name, {}, !raw.empty(), false, raw, {}};
    const auto parsed = parseSignedReply(raw);
    if (parsed) v.text = (parsed->negative ? "-" : "") + std::to_string(parsed->magnitude);
    if (!parsed || (raw[0] != '+' && raw[0] != '-') || app::withoutLineEnd(raw).size() != 4 ||
        !app::endsWithLine(raw) || parsed->magnitude > key.max) {
        v.why = "not a sign and three digits from 000 to " + std::to_string(key.max) + " ended by a line end";
    } else {
        v.valid = true;
    }
    return v;
}

}  // namespace

std::optional<PageValue> parsePageValue(const PageKey& key, const std::string& text, std::string& refusal) {
    PageValue value;
    switch (key.kind) {
        case PageKind::Numeric:
            refusal = ui::integerBoxMessage(text, key.min, key.max);
            if (!refusal.empty()) return std::nullopt;
            app::parseWhole(text, value.number);
            return value;
        case PageKind::Signed: {
            const bool sign = !text.empty() && (text[0] == '-' || text[0] == '+');
            value.negative = !text.empty() && text[0] == '-';
            value.magnitude = sign ? text.substr(1) : text;
            refusal = ui::integerBoxMessage(value.magnitude, key.min, key.max);
            if (refusal.empty() && value.magnitude.find_first_not_of("0123456789") != std::string::npos)
                refusal = ui::ddx_text::kEnterInteger;  // a second sign or blanks would go out as typed
            if (!refusal.empty()) return std::nullopt;
            return value;
        }
        case PageKind::Switch:
        case PageKind::LabelCheck:
            value.choice = wordIndex(key, text);
            if (value.choice < 0) {
                refusal = std::string(key.name) + " takes " + wordList(key);
                return std::nullopt;
            }
            return value;
    }
    return std::nullopt;
}

app::Outcome getPageSetting(link::CComm& comm, platform::Clock& clock, const PageKey& key) {
    app::Outcome out;
    switch (key.kind) {
        case PageKind::Numeric: {
            if (writeRaw(comm, userValueQuery(key.queryGroup, key.queryNumber)) == 0) return out.fail(key.getFailed, key.name);
            clock.sleepMs(kReplyWaitMs);
            out.values.push_back(numericValue(key, app::readReply(comm, kTextReplyLimit, app::endsWithLine)));
            break;
        }
        case PageKind::Signed: {
            if (writeRaw(comm, key.query) == 0) return out.fail(key.getFailed, key.name);
            clock.sleepMs(kReplyWaitMs);
            out.values.push_back(signedValue(key, app::readReply(comm, kSignedReplyLimit, app::endsWithLine)));
            break;
        }
        case PageKind::Switch: {
            const auto byte = readSwitch(comm, clock, '^', key.switchNumber, kReplyWaitMs);
            app::ReadValue v{key.name, {}, byte.has_value(), false, {}, {}};
            if (byte) {
                v.raw.assign(1, static_cast<char>(*byte));
                if (const auto choice = decodeSwitch(key, *byte)) {
                    v.text = key.words[static_cast<std::size_t>(*choice)];
                    v.valid = true;
                } else {
                    v.why = "the byte stands for no choice";
                }
            }
            out.values.push_back(std::move(v));
            break;
        }
        case PageKind::LabelCheck:
            return out.refuse(0, "label-length-check cannot be read", key.name);
    }
    const app::ReadValue& v = out.values.back();
    if (!v.replied || !v.valid) return out.fail(key.getFailed, key.name);
    return out.finish(key.getOk);
}

app::Outcome setPageSetting(link::CComm& comm, platform::Clock& clock, const PageKey& key, const PageValue& value) {
    (void)clock;
    app::Outcome out;
    int wrote = 0;
    std::string shown;
    switch (key.kind) {
        case PageKind::Numeric:
            shown = std::to_string(value.number);
            wrote = writeRaw(comm, userValueCommand(key.valueNumber, value.number));
            break;
        case PageKind::Switch:
            // A choice of none has no byte: sending one would write a setting the user never chose.
            if (value.choice < 0 || value.choice >= static_cast<int>(key.words.size()))
                return out.fail(key.setFailed, key.name);
            shown = key.words[static_cast<std::size_t>(value.choice)];
            wrote = writeSwitch(comm, '^', key.switchNumber, switchValueByte(key, value.choice), true);
            break;
        case PageKind::Signed:
            shown = (value.negative ? "-" : "+") + value.magnitude;
            wrote = comm.WriteText(std::string(key.command) + shown + "\r\n");
            break;
        case PageKind::LabelCheck:
            shown = value.choice == 1 ? "enable" : "disable";
            wrote = writeRaw(comm, value.choice == 1 ? "^MBL1" : "^MBL0");
            break;
    }
    if (wrote == 0) return out.fail(key.setFailed, key.name);
    out.written.emplace_back(key.name, shown);
    return out.finish(key.setOk);
}

app::Outcome initializeUserSettings(link::CComm& comm) {
    app::Outcome out;
    if (writeRaw(comm, std::string_view("^MBU\x0f,99\r", 9)) == 0) return out.fail(msg::kInitializeAllFailed, "initialize");
    out.written.emplace_back("initialize", "all user settings");
    return out.finish(msg::kInitializeAllOk);
}

namespace {

// The page for the command line and profiles: reads are one action (a reply after a query that
// got none may be that query's late answer, so it is not taken), and each Set reads its setting
// first, as the page's Get before Set does.
class PrinterPage final : public app::SettingsPage {
public:
    std::string section() const override { return "native.page"; }
    bool forMenuMode(int menuMode) const override { return menuMode == 0; }
    std::vector<std::string> keys() const override {
        std::vector<std::string> out;
        for (const auto& k : printerPageKeys())
            if (k.kind != PageKind::LabelCheck) out.push_back(k.name);
        return out;
    }

    bool writable(const std::string& key) const override { return findPrinterPageKey(key) != nullptr; }

    app::Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& names) const override {
        app::Outcome out;
        comm.BeginAction();
        app::ReplyOrder order;
        for (const auto& name : names.empty() ? keys() : names) {
            const PageKey& key = *findPrinterPageKey(name);
            app::Outcome one = getPageSetting(comm, clock, key);
            if (one.values.empty()) return out.fail(one.result.messageId, key.name);  // the query was not written
            app::ReadValue v = one.values.front();
            order.take(v, v.replied);
            out.values.push_back(std::move(v));
        }
        for (const auto& v : out.values)
            if (!v.valid) return out.fail(findPrinterPageKey(v.key)->getFailed, v.key);
        return out.finish(0);
    }

    std::string check(const std::string& name, const std::string& value) const override {
        const PageKey* key = findPrinterPageKey(name);
        if (!key) return "no setting " + name;
        std::string refusal;
        parsePageValue(*key, value, refusal);
        return refusal;
    }

    app::Outcome write(link::CComm& comm, platform::Clock& clock, const app::KeyValues& changes) const override {
        app::Outcome out;
        comm.BeginAction();
        for (const auto& [name, text] : changes) {
            const PageKey& key = *findPrinterPageKey(name);
            std::string refusal;
            const auto value = parsePageValue(key, text, refusal);
            if (!value) return out.refuse(0, refusal, name);
            if (key.kind != PageKind::LabelCheck) {
                const app::Outcome got = getPageSetting(comm, clock, key);
                if (got.values.empty() || !got.values.front().replied) return out.fail(key.getFailed, name);
            }
            const app::Outcome set = setPageSetting(comm, clock, key, *value);
            out.written.insert(out.written.end(), set.written.begin(), set.written.end());
            if (!set.done()) return out.fail(set.result.messageId, name);
        }
        return out.finish(0);
    }
};

const bool registered = app::registerSettingsPage(30, std::make_unique<PrinterPage>());

}  // namespace

}  // namespace velmora::settings
