// velmora-cli commands for the native setting pages: "native" (print and page, interface),
// "codepage", "identity" and "info". Each drives its page as a user would (a Get where the page
// needs one before its Set, then the change, then Set), so the bytes are the page's own. A value
// the page would refuse is tried on a page that is never connected to anything, so its message
// is printed and nothing is sent.
#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "resources/stringtable.h"
#include "resources/templates_settings.h"
#include "settings/hardwareinfosetting.h"
#include "settings/languagesetting.h"
#include "settings/printerinfo.h"
#include "settings/printerpagesetting.h"
#include "settings/serialsetting.h"
#include "ui/dataexchange.h"

namespace velmora::cli {

namespace {

using namespace resources;
using settings::CPrinterPageSetting;

// ---- print and page ----

enum class PageKind { Numeric, Radio, List, Signed, LabelCheck };

struct PageKey {
    const char* name;
    PageKind kind;
    int row;                          // Numeric: the NumericSetting
    int control;                      // the edit, first radio or list
    int getId;                        // 0: no Get
    int setId;
    int setOk;
    std::vector<std::string> words;   // Radio, List, LabelCheck: the word of each position
};

const std::vector<PageKey>& pageKeys() {
    static const std::vector<PageKey> keys = [] {
        std::vector<PageKey> k;
        const char* numericNames[] = {"paper-width", "density", "paper-length", "h-margin", "v-margin", "gap-length"};
        for (int i : {0, 2, 5, 3, 4, 1}) {
            const auto& row = CPrinterPageSetting::kRows[i];
            k.push_back({numericNames[i], PageKind::Numeric, i, row.editId, row.getId, row.getId + 1, row.setOk, {}});
        }
        k.push_back({"strobe", PageKind::Radio, 0, IDC_PP_STROBE_2, IDC_PP_STROBE_GET, IDC_PP_STROBE_SET, 173,
                     {"2", "3", "4"}});
        k.push_back({"speed", PageKind::List, 0, IDC_PP_SPEED, IDC_PP_SPEED_GET, IDC_PP_SPEED_SET, 189,
                     {"default", "3ips", "4ips", "5ips", "6ips", "7ips", "8ips"}});
        k.push_back({"gap-detect", PageKind::List, 0, IDC_PP_GAP_DETECT, IDC_PP_GAP_DETECT_GET,
                     IDC_PP_GAP_DETECT_SET, 183, {"lower", "upper"}});
        k.push_back({"offset", PageKind::Signed, 0, IDC_PP_OFFSET, IDC_PP_OFFSET_GET, IDC_PP_OFFSET_SET, 193, {}});
        k.push_back({"tear-off", PageKind::Signed, 0, IDC_PP_TEAROFF, IDC_PP_TEAROFF_GET, IDC_PP_TEAROFF_SET, 195, {}});
        k.push_back({"label-length-check", PageKind::LabelCheck, 0, IDC_PP_LLC_DISABLE, 0, IDC_PP_LLC_SET, 0,
                     {"disable", "enable"}});
        return k;
    }();
    return keys;
}

const PageKey* findPageKey(const std::string& name) {
    for (const auto& k : pageKeys())
        if (name == k.name) return &k;
    return nullptr;
}

int wordIndex(const PageKey& key, const std::string& word) {
    const auto it = std::find(key.words.begin(), key.words.end(), word);
    return it == key.words.end() ? -1 : static_cast<int>(it - key.words.begin());
}

bool pageChoiceKnown(const PageKey& key, const std::string& value) {
    if (key.kind == PageKind::Numeric || key.kind == PageKind::Signed) return true;  // the page judges these
    return wordIndex(key, value) >= 0;
}

// The edit's text and the "(-)" tick for a signed value as typed on the command line.
std::pair<std::string, bool> signedParts(const std::string& value) {
    if (!value.empty() && (value[0] == '-' || value[0] == '+')) return {value.substr(1), value[0] == '-'};
    return {value, false};
}

int negBoxOf(const PageKey& key) { return key.control == IDC_PP_OFFSET ? IDC_PP_OFFSET_NEG : IDC_PP_TEAROFF_NEG; }

// Puts the typed values into a page that is never connected and lets it validate them.
bool pageAcceptsValues(Session& s, const std::map<std::string, std::string>& values) {
    CPrinterPageSetting scratch(s.ctx);
    scratch.Create();
    for (const auto& [name, value] : values) {
        const PageKey& key = *findPageKey(name);
        if (key.kind == PageKind::Numeric) scratch.control(key.control).setText(value);
        if (key.kind == PageKind::Signed) scratch.control(key.control).setText(signedParts(value).first);
    }
    return scratch.UpdateData(true);
}

std::string pageValue(CPrinterPageSetting& page, const PageKey& key) {
    switch (key.kind) {
        case PageKind::Numeric:
            return page.control(key.control).text();
        case PageKind::Signed:
            return (page.control(negBoxOf(key)).checked() ? "-" : "") + page.control(key.control).text();
        case PageKind::Radio:
            for (int i = 0; i < 3; ++i)
                if (page.control(key.control + i).checked()) return key.words[i];
            return "";
        case PageKind::List: {
            const int sel = page.control(key.control).curSel();
            return sel >= 0 ? key.words[sel] : "";
        }
        case PageKind::LabelCheck:
            break;
    }
    return "";
}

int runNativeGet(Session& s, const Args& args) {
    CPrinterPageSetting page(s.ctx);
    page.Create();
    std::vector<const PageKey*> keys;
    for (const auto& name : args) keys.push_back(findPageKey(name));
    if (args.empty())
        for (const auto& k : pageKeys())
            if (k.getId) keys.push_back(&k);
    int status = kExitOk;
    for (const PageKey* key : keys) {
        const int before = s.host.messageCount();
        page.click(key->getId);
        // The Get's verdict is its last message; a range message may come before it.
        if (s.host.messageCount() == before || s.host.messages().back().find("failed") != std::string::npos) {
            status = kExitFailure;
            continue;
        }
        const std::string value = pageValue(page, *key);
        if (value.empty()) {
            s.err << "velmora-cli: the printer's " << key->name << " byte stands for no choice\n";
            status = kExitFailure;
            continue;
        }
        s.out << key->name << '=' << value << '\n';
    }
    return status;
}

bool acceptsNativeGet(const Args& args) {
    std::set<std::string> seen;
    for (const auto& name : args) {
        const PageKey* key = findPageKey(name);
        if (!key || !key->getId || !seen.insert(name).second) return false;
    }
    return true;
}

bool acceptsNativeSet(const Args& args) {
    const auto values = keyValueArgs(args);
    if (!values) return false;
    for (const auto& [name, value] : *values) {
        const PageKey* key = findPageKey(name);
        if (!key || !pageChoiceKnown(*key, value)) return false;
    }
    return true;
}

int runNativeSet(Session& s, const Args& args) {
    const auto values = *keyValueArgs(args);
    if (!pageAcceptsValues(s, values)) return kExitUsage;
    CPrinterPageSetting page(s.ctx);
    page.Create();
    // In the order given; the series stops at the first setting that fails.
    for (const auto& arg : args) {
        const std::string name = arg.substr(0, arg.find('='));
        const std::string& value = values.at(name);
        const PageKey& key = *findPageKey(name);
        if (key.kind == PageKind::LabelCheck) {
            page.click(key.control + wordIndex(key, value));
            page.click(key.setId);
            if (page.lastImmediateWrite() == 0) return kExitFailure;
            continue;
        }
        page.click(key.getId);
        if (!page.control(key.setId).enabled()) return kExitFailure;  // the Get failed
        switch (key.kind) {
            case PageKind::Numeric:
                page.typeText(key.control, value);
                break;
            case PageKind::Signed: {
                const auto [text, negative] = signedParts(value);
                if (page.control(negBoxOf(key)).checked() != negative) page.click(negBoxOf(key));
                page.typeText(key.control, text);
                break;
            }
            case PageKind::Radio:
                page.click(key.control + wordIndex(key, value));
                break;
            case PageKind::List:
                page.chooseItem(key.control, wordIndex(key, value));
                break;
            case PageKind::LabelCheck:
                break;
        }
        const int afterGet = s.host.messageCount();
        page.click(key.setId);
        if (!shownSince(s, afterGet, key.setOk)) return kExitFailure;
    }
    return kExitOk;
}

int runNativeInit(Session& s, const Args&) {
    CPrinterPageSetting page(s.ctx);
    page.Create();
    const int before = s.host.messageCount();
    page.click(IDC_PP_INITIALIZE);
    return shownSince(s, before, 177) ? kExitOk : kExitFailure;
}

const bool registered = [] {
    registerCommand({"native get",
                     "native get [KEY...]    print and page settings as KEY=VALUE: paper-width, paper-length,\n"
                     "                         gap-length, h-margin, v-margin, density, strobe, speed,\n"
                     "                         gap-detect, offset, tear-off",
                     acceptsNativeGet, runNativeGet});
    registerCommand({"native set",
                     "native set KEY=VALUE...  the keys of native get, strobe=2|3|4,\n"
                     "                         speed=default|3ips|...|8ips, gap-detect=lower|upper,\n"
                     "                         offset= and tear-off= signed, label-length-check=enable|disable",
                     acceptsNativeSet, runNativeSet});
    registerCommand({"native init", "native init            initialize all user setting data",
                     [](const Args& a) { return a.empty(); }, runNativeInit});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
