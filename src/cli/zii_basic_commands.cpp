// velmora-cli "zii get" and "zii set KEY=VALUE...": the ZII basic settings page from the command
// line. Both drive the page as a user would (tick rows, type, choose, press Get or Set), so the
// bytes on the link are the page's own.
#include <algorithm>
#include <climits>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "resources/templates_zii_basic.h"
#include "zii/usersetting_zii_basictab.h"

namespace velmora::cli {

namespace {

using namespace resources;
using zii::CUserSetting_ZII_BasicTab;

enum class Kind {
    Size,     // a label size: digits with an optional fraction, what the size boxes let through
    Integer,  // a whole number with an optional sign
    List,     // one of the words, or empty for no entry
};

struct Key {
    std::string name;
    Kind kind;
    int use;                         // the row's "use" box
    int box;                         // its control
    std::vector<std::string> words;  // List: the word of each list position
};

std::vector<std::string> numbers(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(std::to_string(i));
    return out;
}

// In the order "zii get" prints them.
const std::vector<Key>& settingKeys() {
    static const std::vector<Key> keys = {
        {"label-width", Kind::Size, IDC_ZB_USE_WIDTH, IDC_ZB_WIDTH, {}},
        {"label-height", Kind::Size, IDC_ZB_USE_HEIGHT, IDC_ZB_HEIGHT, {}},
        {"orientation",
         Kind::List,
         IDC_ZB_USE_ORIENTATION,
         IDC_ZB_ORIENTATION,
         {"top-to-bottom", "bottom-to-top"}},
        {"speed", Kind::List, IDC_ZB_USE_SPEED, IDC_ZB_SPEED, numbers(2, 7)},
        {"darkness", Kind::List, IDC_ZB_USE_DARKNESS, IDC_ZB_DARKNESS, numbers(0, 30)},
        {"print-mode", Kind::List, IDC_ZB_USE_PRINT_MODE, IDC_ZB_PRINT_MODE, {"transfer", "direct"}},
        {"media-type", Kind::List, IDC_ZB_USE_MEDIA_TYPE, IDC_ZB_MEDIA_TYPE, {"web", "continuous", "mark"}},
        {"tear-off", Kind::Integer, IDC_ZB_USE_TEAR_OFF, IDC_ZB_TEAR_OFF, {}},
        {"print-offset", Kind::Integer, IDC_ZB_USE_PRINT_OFFSET, IDC_ZB_PRINT_OFFSET, {}},
    };
    return keys;
}

struct LockKey {
    const char* name;
    int box;
};
constexpr LockKey kLockKeys[] = {
    {"lock.speed", IDC_ZB_LOCK_SPEED},       {"lock.darkness", IDC_ZB_LOCK_DARKNESS},
    {"lock.label-width", IDC_ZB_LOCK_WIDTH}, {"lock.print-offset", IDC_ZB_LOCK_PRINT_OFFSET},
    {"lock.tear-off", IDC_ZB_LOCK_TEAR_OFF}, {"lock.media-type", IDC_ZB_LOCK_MEDIA_TYPE},
};

const Key* findKey(const std::string& name) {
    for (const Key& k : settingKeys())
        if (k.name == name) return &k;
    return nullptr;
}

const LockKey* findLock(const std::string& name) {
    for (const LockKey& k : kLockKeys)
        if (name == k.name) return &k;
    return nullptr;
}

bool allDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A size the page's box takes as typed: digits, at most one full stop, at least one digit, and a
// whole part that fits the printer's numbers.
bool validSize(const std::string& v) {
    const auto dot = v.find('.');
    const std::string whole = v.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? "" : v.substr(dot + 1);
    if (whole.empty() && fraction.empty()) return false;
    if ((!whole.empty() && !allDigits(whole)) || (!fraction.empty() && !allDigits(fraction))) return false;
    return whole.size() <= 9 && fraction.size() <= 6;
}

bool validInteger(const std::string& v) {
    const std::string digits = !v.empty() && (v[0] == '+' || v[0] == '-') ? v.substr(1) : v;
    if (!allDigits(digits) || digits.size() > 10) return false;
    const long long n = std::stoll(digits);
    return v[0] == '-' ? -n >= INT_MIN : n <= INT_MAX;
}

int wordPosition(const Key& key, const std::string& word) {
    const auto it = std::find(key.words.begin(), key.words.end(), word);
    return it == key.words.end() ? -1 : static_cast<int>(it - key.words.begin());
}

bool validValue(const Key& key, const std::string& v) {
    switch (key.kind) {
        case Kind::Size:
            return validSize(v);
        case Kind::Integer:
            return validInteger(v);
        case Kind::List:
            return v.empty() || wordPosition(key, v) >= 0;
    }
    return false;
}

// KEY=VALUE split at the first "="; nothing when there is none.
std::optional<std::pair<std::string, std::string>> splitPair(const std::string& arg) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return std::make_pair(arg.substr(0, eq), arg.substr(eq + 1));
}

bool acceptsSet(const Args& args) {
    if (args.empty()) return false;
    std::set<std::string> seen;
    for (const auto& arg : args) {
        const auto pair = splitPair(arg);
        if (!pair || !seen.insert(pair->first).second) return false;
        const auto& [name, value] = *pair;
        if (const Key* key = findKey(name)) {
            if (!validValue(*key, value)) return false;
        } else if (findLock(name)) {
            if (value != "0" && value != "1") return false;
        } else {
            return false;
        }
    }
    return true;
}

// Only what the printer answered with a valid value is printed; the keys without one are named
// on standard error and the command fails.
int runGet(Session& s, const Args&) {
    CUserSetting_ZII_BasicTab page(s.ctx);
    page.Create();
    const int before = s.host.messageCount();
    page.click(IDC_ZB_GET);
    std::string missing;
    const auto& keys = settingKeys();
    for (std::size_t row = 0; row < keys.size(); ++row) {
        const Key& key = keys[row];
        if (!page.rowAnswered(static_cast<int>(row))) {
            missing += (missing.empty() ? "" : ", ") + key.name;
            continue;
        }
        const ui::Control& c = page.control(key.box);
        const std::string value =
            key.kind == Kind::List ? key.words[static_cast<std::size_t>(c.curSel())] : c.text();
        s.out << key.name << '=' << value << '\n';
    }
    if (page.locksAnswered()) {
        for (const LockKey& lock : kLockKeys) s.out << lock.name << '=' << page.control(lock.box).check() << '\n';
    } else {
        missing += (missing.empty() ? "" : ", ") + std::string("the locks");
    }
    if (!missing.empty()) {
        s.err << "velmora-cli: the printer gave no valid value for " << missing << '\n';
        return kExitFailure;
    }
    return s.host.messageCount() == before ? kExitOk : kExitFailure;
}

// As a user does it: Get, then change only the named rows and locks, then Set. A row not named
// is not sent, and a lock not named keeps what the printer reported.
int runSet(Session& s, const Args& args) {
    CUserSetting_ZII_BasicTab page(s.ctx);
    page.Create();
    const int before = s.host.messageCount();
    page.click(IDC_ZB_GET);
    if (page.failedWrites() > 0) return kExitFailure;
    // Without the printer's locks a Set would clear every lock not named.
    if (!page.locksAnswered()) {
        s.err << "velmora-cli: the printer did not report its locks; nothing was changed\n";
        return kExitFailure;
    }
    std::set<std::string> named;
    for (const auto& arg : args) named.insert(splitPair(arg)->first);
    for (const Key& key : settingKeys())  // Get ticked every row
        if (!named.count(key.name)) page.click(key.use);
    for (const auto& arg : args) {
        const auto [name, value] = *splitPair(arg);
        if (const LockKey* lock = findLock(name)) {
            if (page.control(lock->box).checked() != (value == "1")) page.click(lock->box);
            continue;
        }
        const Key& key = *findKey(name);
        if (key.kind == Kind::List) {
            page.chooseItem(key.box, value.empty() ? -1 : wordPosition(key, value));
        } else {
            page.typeText(key.box, value);
        }
    }
    page.click(IDC_ZB_SET);
    return page.failedWrites() == 0 && s.host.messageCount() == before ? kExitOk : kExitFailure;
}

const bool registered = [] {
    registerCommand({"zii get", "zii get                the ZII basic settings and locks as key=value lines",
                     [](const Args& a) { return a.empty(); }, runGet});
    registerCommand({"zii set",
                     "zii set KEY=VALUE...   read the ZII basic settings, then set only the named ones (keys as zii get\n"
                     "                         prints); locks not named keep their state",
                     acceptsSet, runSet});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
