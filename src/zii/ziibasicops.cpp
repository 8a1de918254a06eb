// The ZII basic settings: their table, the page's Get and Set, and the page as the command line
// and profiles read and write it.
#include "zii/ziibasicops.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/settingspage.h"
#include "zii/ziiprotocol.h"

namespace velmora::zii {

namespace {

constexpr int kMaxLabelDots = 32000;  // the longest label a printer takes
constexpr int kMaxAdjustDots = 120;   // tear-off adjustment and print offset, either way

std::vector<std::string> numberWords(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(std::to_string(i));
    return out;
}

// The number a page reads from a reply: after blanks and a sign there must be a digit; the
// decimal value of what follows. Nothing for any other reply.
std::optional<int> leadingNumber(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\r\n\v\f");
    if (i != std::string_view::npos && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    return decimalValue(text);
}

// A number exactly as a printer sends one: blanks, an optional sign, digits, an optional
// fraction, and nothing after it but blanks or a line end.
bool plainNumber(std::string_view text) {
    auto digits = [&text](std::size_t& i) {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i - from;
    };
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    const std::size_t whole = digits(i);
    if (whole == 0 || whole > 9) return false;
    if (i < text.size() && text[i] == '.') digits(++i);
    return text.find_first_not_of(" \r\n", i) == std::string_view::npos;
}

std::string expectation(const BasicKey& key) {
    const std::string range = std::to_string(key.min) + " to " + std::to_string(key.max);
    switch (key.kind) {
        case BasicKind::Size:
        case BasicKind::Offset:
        case BasicKind::Number:
            return "a number from " + range;
        case BasicKind::Letter: {
            std::string letters;
            for (const auto& [letter, entry] : key.letters) letters += (letters.empty() ? "" : ", ") + letter;
            return "one of the letters " + letters;
        }
    }
    return {};
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A size as the page's box takes it: digits with at most one full stop, a digit at least, and a
// whole part that fits the printer's numbers. Its whole part.
std::optional<int> sizeValue(std::string_view v) {
    const auto dot = v.find('.');
    const std::string_view whole = v.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : v.substr(dot + 1);
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if ((!whole.empty() && !allDigits(whole)) || (!fraction.empty() && !allDigits(fraction))) return std::nullopt;
    if (whole.size() > 9 || fraction.size() > 6) return std::nullopt;
    return whole.empty() ? 0 : std::stoi(std::string(whole));
}

std::optional<int> offsetValue(std::string_view v) {
    int n = 0;
    if (!app::parseWhole(v, n)) return std::nullopt;
    return n;
}

// The value a Set sends for a row's text, as BasicSetRequest holds it; nothing when the page does
// not take the text. An empty list value is the list with no entry chosen.
std::optional<int> requestValue(const BasicKey& key, std::string_view text) {
    switch (key.kind) {
        case BasicKind::Size:
            return sizeValue(text);
        case BasicKind::Offset:
            return offsetValue(text);
        case BasicKind::Number:
        case BasicKind::Letter: {
            if (text.empty()) return -1;
            const int entry = entryOfWord(key, text);
            if (entry < 0) return std::nullopt;
            return entry;
        }
    }
    return std::nullopt;
}

// The lock status reply: its third and fourth bytes carry the flags as the characters "0" to "?".
bool lockReplyHasItsForm(int got, const ReplyArea& area) {
    auto flagChar = [](std::uint8_t b) { return b >= 0x30 && b <= 0x3F; };
    return got >= 4 && flagChar(area.bytes()[2]) && flagChar(area.bytes()[3]);
}

// The lock keys of one lock status reply. With four bytes or more the page shows the flags the
// reply carries, even when they are not in the form a printer sends them; valid only in that form.
void addLockValues(app::Outcome& out, int got, const ReplyArea& area, bool afterSilence) {
    const bool form = lockReplyHasItsForm(got, area);
    const unsigned flags = got >= 4 ? decodeLockFlags(area.bytes()) : 0;
    for (int code : reportedLockCodes()) {
        const std::string bit = (flags >> (code - 1)) & 1u ? "1" : "0";
        out.values.push_back(settingValue(lockKeyName(code), got, area, got >= 4 ? std::optional(bit) : std::nullopt,
                                          "four characters whose third and fourth carry the lock flags",
                                          afterSilence, form));
    }
}

// Sends the lock status query and reads its reply (no pause before it).
int readLockStatus(link::CComm& comm, platform::Clock& clock, ReplyArea& area) {
    if (!sendLockStatusQuery(comm)) return -1;
    area.clear();
    clock.sleepMs(kBasicReplyWaitMs);
    return area.read(comm);
}

// A used row's value as `written` reports it: the number, or the entry's word ("" for none).
std::string writtenText(std::size_t row, const BasicSetRequest& r) {
    const BasicKey& key = basicKeys()[row];
    const int v = r.value[row];
    if (key.kind != BasicKind::Number && key.kind != BasicKind::Letter) return std::to_string(v);
    return v >= 0 && v < static_cast<int>(key.words.size()) ? key.words[static_cast<std::size_t>(v)] : "";
}

app::Outcome& finishRead(app::Outcome& out) {
    for (const auto& v : out.values)
        if (!v.valid) return out.fail(0, v.key);
    return out.finish(0);
}

}  // namespace

const std::array<BasicKey, kBasicRowCount>& basicKeys() {
    using K = BasicKind;
    static const std::array<BasicKey, kBasicRowCount> keys = {{
        {"label-width", K::Size, 1, 3, 0, kMaxLabelDots, {}, {}},
        {"label-height", K::Size, 2, 0, 0, kMaxLabelDots, {}, {}},
        {"orientation", K::Letter, 3, 0, 0, 1, {{"T", 0}, {"B", 1}}, {"top-to-bottom", "bottom-to-top"}},
        {"speed", K::Number, 5, 1, 2, 7, {}, numberWords(2, 7)},
        {"darkness", K::Number, 6, 2, 0, 30, {}, numberWords(0, 30)},
        {"print-mode", K::Letter, 7, 0, 0, 1, {{"T", 0}, {"D", 1}}, {"transfer", "direct"}},
        // "G" (gap) is web sensing too.
        {"media-type", K::Letter, 8, 7, 0, 2, {{"W", 0}, {"G", 0}, {"C", 1}, {"M", 2}},
         {"web", "continuous", "mark"}},
        {"tear-off", K::Offset, 9, 6, -kMaxAdjustDots, kMaxAdjustDots, {}, {}},
        {"print-offset", K::Offset, 10, 5, -kMaxAdjustDots, kMaxAdjustDots, {}, {}},
    }};
    return keys;
}

const BasicKey* findBasicKey(std::string_view name) {
    for (const auto& k : basicKeys())
        if (name == k.name) return &k;
    return nullptr;
}

std::string lockKeyName(int lockCode) {
    for (const auto& k : basicKeys())
        if (k.lockCode == lockCode) return std::string("lock.") + k.name;
    return {};
}

std::vector<int> reportedLockCodes() {
    std::vector<int> codes(kLockOrder.begin(), kLockOrder.end());
    std::sort(codes.begin(), codes.end());
    return codes;
}

int entryOfWord(const BasicKey& key, std::string_view word) {
    const auto it = std::find(key.words.begin(), key.words.end(), word);
    return it == key.words.end() ? -1 : static_cast<int>(it - key.words.begin());
}

std::optional<std::string> decodeBasicReply(const BasicKey& key, std::string_view text) {
    switch (key.kind) {
        case BasicKind::Size:
        case BasicKind::Offset:
        case BasicKind::Number: {
            const auto n = leadingNumber(text);
            if (!n || *n < key.min || *n > key.max) return std::nullopt;
            if (key.kind == BasicKind::Number) return key.words[static_cast<std::size_t>(*n - key.min)];
            return std::to_string(*n);
        }
        case BasicKind::Letter:
            // Whole texts, exactly: "T\r" is no orientation.
            for (const auto& [letter, entry] : key.letters)
                if (text == letter) return key.words[static_cast<std::size_t>(entry)];
            return std::nullopt;
    }
    return std::nullopt;
}

app::Outcome getBasicSettings(link::CComm& comm, platform::Clock& clock) {
    app::Outcome out;
    comm.BeginAction();
    ReplyArea area;
    bool silentBefore = false;
    for (std::size_t row = 0; row < kBasicRowCount; ++row) {
        const BasicKey& key = basicKeys()[row];
        if (row > 0) clock.sleepMs(kBetweenQueriesMs);
        const int got = querySetting(comm, clock, area, key.query, kBasicReplyWaitMs);
        // The link failed and has said so once: the rest of the Get would only say it again.
        if (got < 0) return out.fail(0, kLinkStep);
        out.values.push_back(
            settingValue(key.name, got, area, decodeBasicReply(key, area.text()), expectation(key), silentBefore,
                         key.kind == BasicKind::Letter || plainNumber(area.text())));
        silentBefore = silentBefore || got <= 0;
    }
    clock.sleepMs(kBetweenQueriesMs);
    const int got = readLockStatus(comm, clock, area);
    clock.sleepMs(kAfterGetMs);
    if (got < 0) return out.fail(0, kLinkStep);
    addLockValues(out, got, area, silentBefore);
    return finishRead(out);
}

std::string composeBasicSettings(const BasicSetRequest& r) {
    auto used = [&r](BasicRow row) { return r.use[row]; };
    auto chosen = [&r](BasicRow row, int entries) { return r.use[row] && r.value[row] >= 0 && r.value[row] < entries; };
    auto number = [&r](BasicRow row) { return std::to_string(r.value[row]); };
    const auto& keys = basicKeys();
    if (std::none_of(r.use.begin(), r.use.end(), [](bool u) { return u; })) return {};

    CommandText text;
    // Immediate commands go before the block. A list with no entry chosen sends nothing: a
    // "~SD-1" or a guessed orientation would be a setting nobody chose.
    if (chosen(kDarknessRow, 31)) {
        char line[16];
        std::snprintf(line, sizeof line, "~SD%02d", r.value[kDarknessRow]);
        text.line(line);
    }
    if (used(kTearOffRow)) text.line("~TA" + number(kTearOffRow));

    text.beginBlock();
    if (used(kWidthRow)) text.line("^PW" + number(kWidthRow));
    if (used(kHeightRow)) text.line("^LL" + number(kHeightRow));
    if (chosen(kOrientationRow, 2)) text.line(r.value[kOrientationRow] == 1 ? "^POI" : "^PON");
    if (chosen(kSpeedRow, static_cast<int>(keys[kSpeedRow].words.size()))) {
        // The entry's number, sent as both print and slew speed.
        const std::string speed = std::to_string(keys[kSpeedRow].min + r.value[kSpeedRow]);
        text.line("^PR" + speed + "," + speed);
    }
    static constexpr const char* kModes[] = {"^MTT", "^MTD"};
    if (chosen(kPrintModeRow, 2)) text.line(kModes[r.value[kPrintModeRow]]);
    static constexpr const char* kMedia[] = {"^MNY", "^MNN", "^MNM"};
    if (chosen(kMediaTypeRow, 3)) text.line(kMedia[r.value[kMediaTypeRow]]);
    if (used(kPrintOffsetRow)) text.line("^LT" + number(kPrintOffsetRow));
    text.endBlockAndSave();
    return text.text();
}

app::Outcome setBasicSettings(link::CComm& comm, platform::Clock& clock, const BasicSetRequest& request) {
    app::Outcome out;
    auto locked = [&request](int code) { return ((request.locks >> (code - 1)) & 1u) != 0; };
    std::size_t unlocked = 0;
    while (unlocked < kLockOrder.size() && sendSettingLock(comm, false, kLockOrder[unlocked])) ++unlocked;
    bool ok = unlocked == kLockOrder.size();
    const std::string block = composeBasicSettings(request);
    if (ok && !block.empty()) {
        ok = comm.WriteText(block) != 0;
        if (ok) {
            for (std::size_t row = 0; row < kBasicRowCount; ++row)
                if (request.use[row]) out.written.emplace_back(basicKeys()[row].name, writtenText(row, request));
            // Lets the printer save the block before the locks go back on.
            clock.sleepMs(kAfterSetMs);
        }
    }
    if (ok) {
        // Even with nothing to write, the locks go back on: the unlock above must not leave the
        // printer unlocked.
        for (int code : kLockOrder) {
            if (!sendSettingLock(comm, locked(code), code)) return out.fail(0, kLinkStep);
            out.written.emplace_back(lockKeyName(code), locked(code) ? "1" : "0");
        }
        return out.finish(0);
    }
    // The locks this Set removed go back on all the same, without a second message.
    link::LinkMessages& shown = comm.messages();
    link::SilentMessages quiet;
    comm.setMessages(quiet);
    for (std::size_t i = 0; i < unlocked; ++i)
        if (locked(kLockOrder[i]) && !sendSettingLock(comm, true, kLockOrder[i])) break;
    comm.setMessages(shown);
    return out.fail(0, kLinkStep);
}

namespace {

// The page for the command line and profiles. A read is the page's Get; a write reads the locks
// first, so every lock a change does not name keeps what the printer has, and writes nothing when
// they cannot be read.
class BasicPage final : public app::SettingsPage {
public:
    std::string section() const override { return "zii.basic"; }
    bool forMenuMode(int menuMode) const override { return menuMode == 1; }
    std::vector<std::string> keys() const override {
        std::vector<std::string> out;
        for (const auto& k : basicKeys()) out.push_back(k.name);
        for (int code : reportedLockCodes()) out.push_back(lockKeyName(code));
        return out;
    }

    app::Outcome read(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& names) const override {
        app::Outcome got = getBasicSettings(comm, clock);
        if (names.empty() || stoppedAtFailedWrite(got)) return got;
        app::Outcome out;
        for (const auto& v : got.values)
            if (std::find(names.begin(), names.end(), v.key) != names.end()) out.values.push_back(v);
        return finishRead(out);
    }

    std::string check(const std::string& name, const std::string& value) const override {
        if (name.starts_with("lock.")) {
            if (!isLockKey(name)) return "no setting " + name;
            return value == "0" || value == "1" ? "" : name + " takes 0 or 1";
        }
        const BasicKey* key = findBasicKey(name);
        if (!key) return "no setting " + name;
        if (requestValue(*key, value)) return {};
        switch (key->kind) {
            case BasicKind::Size:
                return name + " takes a number of dots (digits, an optional fraction)";
            case BasicKind::Offset:
                return name + " takes a whole number";
            default: {
                std::string words;
                for (const auto& w : key->words) words += (words.empty() ? "" : ", ") + w;
                return name + " takes " + words;
            }
        }
    }

    app::Outcome write(link::CComm& comm, platform::Clock& clock, const app::KeyValues& changes) const override {
        app::Outcome out;
        BasicSetRequest request;
        std::vector<std::pair<int, bool>> lockChanges;
        for (const auto& [name, text] : changes) {
            if (const std::string why = check(name, text); !why.empty()) return out.refuse(0, why, name);
            if (const BasicKey* key = findBasicKey(name)) {
                const auto row = static_cast<std::size_t>(key - basicKeys().data());
                request.use[row] = true;
                request.value[row] = *requestValue(*key, text);
            } else {
                for (int code : kLockOrder)
                    if (lockKeyName(code) == name) lockChanges.emplace_back(code, text == "1");
            }
        }
        comm.BeginAction();
        ReplyArea area;
        const int got = readLockStatus(comm, clock, area);
        if (got < 0) return out.fail(0, kLinkStep);
        app::Outcome locks;
        addLockValues(locks, got, area, false);
        // Without the printer's locks the Set would clear every lock not named.
        if (!finishRead(locks).done()) {
            out.values = std::move(locks.values);
            return out.fail(0, out.values.front().key);
        }
        request.locks = decodeLockFlags(area.bytes());
        for (const auto& [code, on] : lockChanges) {
            const unsigned bit = 1u << (code - 1);
            request.locks = on ? request.locks | bit : request.locks & ~bit;
        }
        return setBasicSettings(comm, clock, request);
    }

private:
    bool isLockKey(const std::string& name) const {
        return std::any_of(kLockOrder.begin(), kLockOrder.end(), [&](int code) { return lockKeyName(code) == name; });
    }
};

const bool registered = app::registerSettingsPage(10, std::make_unique<BasicPage>());

}  // namespace

}  // namespace velmora::zii
