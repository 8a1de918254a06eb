// velmora-cli commands for the ZII advanced, serial interface and real-time clock pages. Each
// drives its page as a user would (Get, change the lists, Set), so the bytes are the page's.
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "cli/commands.h"
#include "resources/stringtable.h"
#include "resources/templates_zii_pages.h"
#include "zii/usersetting_zii_advancedtab.h"
#include "zii/usersetting_zii_serialtab.h"
#include "zii/usersetting_zii_timetab.h"

namespace velmora::cli {

namespace {

using namespace resources;

// A value word of the command line and the list position (or tick) it stands for.
struct Choice {
    const char* word;
    int position;
};

struct Key {
    const char* name;
    std::span<const Choice> choices;
    int listId;        // the control the value goes to
    int useBoxId = 0;  // the row's "use" box, where it has one
};

constexpr Choice kMediaHandling[] = {
    {"tear-off", zii::kTearOff}, {"peel-off", zii::kPeelOff}, {"cutter", zii::kCutter}};
constexpr Choice kFeed[] = {{"next-label", zii::kFeedNextLabel},
                            {"calibrate", zii::kFeedCalibrate},
                            {"label-length", zii::kFeedLabelLength},
                            {"none", zii::kFeedNone}};
constexpr Choice kMirror[] = {{"0", 0}, {"1", 1}};
constexpr Choice kBaud[] = {{"9600", 0},  {"14400", 1}, {"19200", 2}, {"28800", 3},
                            {"38400", 4}, {"57600", 5}, {"115200", 6}};
constexpr Choice kDataBits[] = {{"8", 0}, {"7", 1}};
constexpr Choice kParity[] = {{"none", 0}, {"even", 1}, {"odd", 2}};
constexpr Choice kStopBits[] = {{"1", 0}, {"2", 1}};
constexpr Choice kProtocol[] = {{"software", 0}, {"hardware", 1}};

const Key kAdvancedKeys[] = {
    {"media-handling", kMediaHandling, IDC_ZADV_MEDIA_HANDLING, IDC_ZADV_USE_MEDIA_HANDLING},
    {"feed", kFeed, IDC_ZADV_MEDIA_FEED, IDC_ZADV_USE_MEDIA_FEED},
    {"mirror", kMirror, IDC_ZADV_MIRROR, IDC_ZADV_USE_MIRROR},
};

// In the order of the page's lists.
const Key kSerialKeys[] = {
    {"baud", kBaud, IDC_ZSER_BAUD},
    {"data-bits", kDataBits, IDC_ZSER_DATA_LENGTH},
    {"parity", kParity, IDC_ZSER_PARITY},
    {"stop-bits", kStopBits, IDC_ZSER_STOP_BIT},
    {"protocol", kProtocol, IDC_ZSER_PROTOCOL},
};

const char* wordFor(std::span<const Choice> choices, int position) {
    for (const Choice& c : choices)
        if (c.position == position) return c.word;
    return nullptr;
}

// KEY=VALUE arguments as key name -> position; nothing when a key is unknown or repeated, a
// value is not one of its key's words, or no argument is given.
std::optional<std::map<std::string, int>> parseAssignments(const Args& args, std::span<const Key> keys) {
    if (args.empty()) return std::nullopt;
    std::map<std::string, int> out;
    for (const std::string& arg : args) {
        const auto eq = arg.find('=');
        if (eq == std::string::npos) return std::nullopt;
        const std::string name = arg.substr(0, eq);
        const std::string value = arg.substr(eq + 1);
        const Key* key = nullptr;
        for (const Key& k : keys)
            if (name == k.name) key = &k;
        if (!key || out.count(name)) return std::nullopt;
        const Choice* choice = nullptr;
        for (const Choice& c : key->choices)
            if (value == c.word) choice = &c;
        if (!choice) return std::nullopt;
        out[name] = choice->position;
    }
    return out;
}

// "YYYY-MM-DDTHH:MM:SS" as the two picker texts.
std::optional<std::pair<std::string, std::string>> splitDateTime(const std::string& arg) {
    if (arg.size() != 19 || arg[10] != 'T') return std::nullopt;
    std::pair<std::string, std::string> texts{arg.substr(0, 10), arg.substr(11)};
    platform::LocalTime check;
    if (!zii::parsePickerDate(texts.first, check) || !zii::parsePickerTime(texts.second, check))
        return std::nullopt;
    return texts;
}

int cmdAdvancedGet(Session& s, const Args&) {
    zii::CUserSetting_ZII_AdvancedTab page(s.ctx);
    page.Create();
    page.click(IDC_ZADV_GET);
    int status = kExitOk;
    const bool answered[] = {page.lastGet().mediaHandling, page.lastGet().mediaFeed};
    for (int i = 0; i < 2; ++i) {
        const Key& key = kAdvancedKeys[i];
        if (answered[i]) {
            s.out << key.name << '=' << wordFor(key.choices, page.control(key.listId).curSel()) << '\n';
        } else {
            s.err << "velmora-cli: the printer gave no " << key.name << " setting\n";
            status = kExitFailure;
        }
    }
    return status;
}

int cmdAdvancedSet(Session& s, const Args& args) {
    const auto values = *parseAssignments(args, kAdvancedKeys);
    zii::CUserSetting_ZII_AdvancedTab page(s.ctx);
    page.Create();
    const int before = s.host.messageCount();
    // Set is offered only after a Get, which ticks the media rows; each row's box is then made
    // to say whether the row was named, so only the named settings are sent.
    page.click(IDC_ZADV_GET);
    if (s.host.messageCount() != before) return kExitFailure;  // the link failed: the Set would too
    for (const Key& key : kAdvancedKeys) {
        const auto it = values.find(key.name);
        const bool named = it != values.end();
        if (page.control(key.useBoxId).checked() != named) page.click(key.useBoxId);
        if (!named) continue;
        const ui::Control& value = page.control(key.listId);
        if (value.kind() != ui::ControlKind::CheckBox)
            page.chooseItem(key.listId, it->second);
        else if (value.checked() != (it->second == 1))
            page.click(key.listId);
    }
    page.click(IDC_ZADV_SET);
    return page.lastWrite() > 0 && s.host.messageCount() == before ? kExitOk : kExitFailure;
}

int cmdSerialGet(Session& s, const Args&) {
    zii::CUserSetting_ZII_SerialTab page(s.ctx);
    page.Create();
    page.click(IDC_ZSER_GET);
    int status = kExitOk;
    for (const Key& key : kSerialKeys) {
        if (const char* word = wordFor(key.choices, page.control(key.listId).curSel())) {
            s.out << key.name << '=' << word << '\n';
        } else {
            s.err << "velmora-cli: the printer gave no " << key.name << " setting\n";
            status = kExitFailure;
        }
    }
    return status;
}

int cmdSerialSet(Session& s, const Args& args) {
    const auto values = *parseAssignments(args, kSerialKeys);
    zii::CUserSetting_ZII_SerialTab page(s.ctx);
    page.Create();
    // The printer's own values stay for the keys not named; a key the printer did not report
    // and the user did not name leaves its list empty, and Set refuses it with its message.
    const int failedBefore = s.host.messageCount();
    page.click(IDC_ZSER_GET);
    if (s.host.messageCount() != failedBefore) return kExitFailure;  // the link failed: the Set would too
    for (const Key& key : kSerialKeys)
        if (const auto it = values.find(key.name); it != values.end())
            page.chooseItem(key.listId, it->second);
    const std::size_t before = s.host.messages().size();
    page.click(IDC_ZSER_SET);
    const auto& shown = s.host.messages();
    const std::string& success = LoadString(zii::CUserSetting_ZII_SerialTab::kMsgSetSucceeded);
    for (std::size_t i = before; i < shown.size(); ++i)
        if (shown[i] == success) return kExitOk;
    return kExitFailure;
}

int cmdClockSet(Session& s, const Args& args) {
    zii::CUserSetting_ZII_TimeTab page(s.ctx);
    page.Create();
    const int before = s.host.messageCount();
    page.click(IDC_ZRTC_SET_CLOCK);
    if (args[0] != "now") {
        const auto texts = *splitDateTime(args[0]);
        page.click(IDC_ZRTC_TO_CHOSEN);
        page.typeText(IDC_ZRTC_DATE, texts.first);
        page.typeText(IDC_ZRTC_TIME, texts.second);
    }
    page.click(IDC_ZRTC_SET);
    return page.lastWrite().value_or(0) > 0 && s.host.messageCount() == before ? kExitOk : kExitFailure;
}

const bool registered = [] {
    registerCommand({"zii advanced get",
                     "zii advanced get       media-handling= and feed= as the printer reports them",
                     [](const Args& a) { return a.empty(); }, cmdAdvancedGet});
    registerCommand({"zii advanced set",
                     "zii advanced set KEY=VALUE...  media-handling=tear-off|peel-off|cutter,\n"
                     "                         feed=next-label|calibrate|label-length|none, mirror=0|1",
                     [](const Args& a) { return parseAssignments(a, kAdvancedKeys).has_value(); },
                     cmdAdvancedSet});
    registerCommand(
        {"zii serial get",
         "zii serial get         baud=, data-bits=, parity=, stop-bits=, protocol= of the printer",
         [](const Args& a) { return a.empty(); }, cmdSerialGet});
    registerCommand({"zii serial set",
                     "zii serial set KEY=VALUE...  baud=9600|14400|19200|28800|38400|57600|115200,\n"
                     "                         data-bits=8|7, parity=none|even|odd, stop-bits=1|2,\n"
                     "                         protocol=software|hardware; keys not given keep the printer's\n"
                     "                         values; the printer must be restarted",
                     [](const Args& a) { return parseAssignments(a, kSerialKeys).has_value(); },
                     cmdSerialSet});
    registerCommand(
        {"zii clock set", "zii clock set now|YYYY-MM-DDTHH:MM:SS  set the printer's clock (local time)",
         [](const Args& a) { return a.size() == 1 && (a[0] == "now" || splitDateTime(a[0])); }, cmdClockSet});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
