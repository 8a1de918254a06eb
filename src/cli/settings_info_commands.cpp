// velmora-cli commands for the native interface, code page, hardware identity and printer
// information pages: "native interface", "codepage", "identity" and "info". Like the others they
// drive the page as a user would, and a value the page would refuse sends nothing.
#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "resources/stringtable.h"
#include "resources/templates_settings.h"
#include "settings/hardwareinfosetting.h"
#include "settings/languagesetting.h"
#include "settings/printerinfo.h"
#include "settings/serialsetting.h"
#include "ui/dataexchange.h"

namespace velmora::cli {

namespace {

using namespace resources;
using namespace settings;

bool allDigits(const std::string& v) {
    return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// ---- interface ----

struct InterfaceKey {
    const char* name;
    std::vector<std::string> words;  // by list position
    int listId;
};

const std::vector<InterfaceKey>& interfaceKeys() {
    static const std::vector<InterfaceKey> keys = {
        {"handshake", {"hardware", "software"}, IDC_NSER_HANDSHAKE},
        {"stop-bits", {"1", "2"}, IDC_NSER_STOP_BIT},
        {"data-bits", {"8", "7"}, IDC_NSER_DATA_LENGTH},
        {"baud", {"dip", "38400", "57600"}, IDC_NSER_BAUD},
    };
    return keys;
}

int wordIndex(const std::vector<std::string>& words, const std::string& w) {
    const auto it = std::find(words.begin(), words.end(), w);
    return it == words.end() ? -1 : static_cast<int>(it - words.begin());
}

bool acceptsInterfaceSet(const Args& args) {
    const auto values = keyValueArgs(args);
    if (!values) return false;
    for (const auto& [name, value] : *values) {
        if (name == "parity") {
            if (value != "none" && value != "even" && value != "odd") return false;
            continue;
        }
        const auto key = std::find_if(interfaceKeys().begin(), interfaceKeys().end(),
                                      [&](const InterfaceKey& k) { return name == k.name; });
        if (key == interfaceKeys().end() || wordIndex(key->words, value) < 0) return false;
    }
    return true;
}

int runInterfaceGet(Session& s, const Args&) {
    CSerialSetting page(s.ctx);
    page.Create();
    page.click(IDC_NSER_GET);
    if (!page.control(IDC_NSER_SET).enabled()) return kExitFailure;
    for (const auto& key : interfaceKeys()) {
        s.out << key.name << '=' << key.words[page.control(key.listId).curSel()] << '\n';
        if (key.listId == IDC_NSER_DATA_LENGTH) {
            const bool parity = page.control(IDC_NSER_PARITY_CHECK).curSel() == 1;
            const bool odd = page.control(IDC_NSER_PARITY_SELECT).curSel() == 1;
            s.out << "parity=" << (!parity ? "none" : odd ? "odd" : "even") << '\n';
        }
    }
    return kExitOk;
}

int runInterfaceSet(Session& s, const Args& args) {
    const auto values = *keyValueArgs(args);
    CSerialSetting page(s.ctx);
    page.Create();
    page.click(IDC_NSER_GET);
    if (!page.control(IDC_NSER_SET).enabled()) return kExitFailure;
    for (const auto& key : interfaceKeys())
        if (const auto it = values.find(key.name); it != values.end())
            page.chooseItem(key.listId, wordIndex(key.words, it->second));
    if (const auto it = values.find("parity"); it != values.end()) {
        page.chooseItem(IDC_NSER_PARITY_CHECK, it->second == "none" ? 0 : 1);
        if (it->second != "none") page.chooseItem(IDC_NSER_PARITY_SELECT, it->second == "odd" ? 1 : 0);
    }
    const int before = s.host.messageCount();
    page.click(IDC_NSER_SET);
    return shownSince(s, before, 222) ? kExitOk : kExitFailure;
}

// ---- code page and ICS ----

// A list entry named by its index, its whole text, or a prefix of its text that only it has.
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

bool acceptsCodePageSet(const Args& args) {
    const auto values = keyValueArgs(args);
    if (!values) return false;
    for (const auto& [name, value] : *values) {
        if (name == "codepage" && entryOf(CodePageItems(), value, true)) continue;
        if (name == "ics" && entryOf(IcsItems(), value, false)) continue;
        if (name == "lock" && (value == "0" || value == "1")) continue;
        return false;
    }
    return true;
}

int runCodePageGet(Session& s, const Args&) {
    CLanguageSetting page(s.ctx);
    page.Create();
    page.click(IDC_LANG_GET);
    int status = kExitOk;
    for (auto [name, id] : {std::pair{"codepage", IDC_LANG_CODEPAGE}, {"ics", IDC_LANG_ICS}}) {
        const ui::Control& list = page.control(id);
        if (list.curSel() < 0) {
            s.err << "velmora-cli: the printer's " << name << " byte stands for no entry of the list\n";
            status = kExitFailure;
            continue;
        }
        s.out << name << '=' << list.itemText(list.curSel()) << '\n';
    }
    s.out << "lock=" << page.control(IDC_LANG_LOCK).check() << '\n';
    return status;
}

int runCodePageSet(Session& s, const Args& args) {
    const auto values = *keyValueArgs(args);
    CLanguageSetting page(s.ctx);
    page.Create();
    page.click(IDC_LANG_GET);
    if (const auto it = values.find("codepage"); it != values.end())
        page.chooseItem(IDC_LANG_CODEPAGE, *entryOf(CodePageItems(), it->second, true));
    if (const auto it = values.find("ics"); it != values.end())
        page.chooseItem(IDC_LANG_ICS, *entryOf(IcsItems(), it->second, false));
    if (const auto it = values.find("lock"); it != values.end())
        if (page.control(IDC_LANG_LOCK).checked() != (it->second == "1")) page.click(IDC_LANG_LOCK);
    page.click(IDC_LANG_SET);
    // The page writes no byte for a list without a choice; say which one stayed unwritten.
    int status = kExitOk;
    for (auto [name, id] : {std::pair{"codepage", IDC_LANG_CODEPAGE}, {"ics", IDC_LANG_ICS}}) {
        if (page.control(id).curSel() < 0) {
            s.err << "velmora-cli: no " << name << " was chosen and the printer gave none; it was not written\n";
            status = kExitFailure;
        }
    }
    return status;
}

// ---- hardware identity ----

constexpr std::pair<const char*, Identity> kIdentityKeys[] = {
    {"version", kHardwareVersion}, {"serial", kSerialNumber}, {"id", kPrinterId}};

std::optional<Identity> identityOf(const std::string& name) {
    for (auto [n, which] : kIdentityKeys)
        if (name == n) return which;
    return std::nullopt;
}

bool acceptsIdentityNames(const Args& args) {
    return std::all_of(args.begin(), args.end(), [](const std::string& a) { return identityOf(a).has_value(); });
}

bool acceptsIdentitySet(const Args& args) {
    const auto values = keyValueArgs(args);
    return values && std::all_of(values->begin(), values->end(), [](const auto& v) { return identityOf(v.first); });
}

std::vector<Identity> identitiesOf(const Args& args) {
    std::vector<Identity> out;
    for (const auto& a : args) out.push_back(*identityOf(a));
    if (args.empty())
        for (auto [n, which] : kIdentityKeys) out.push_back(which);
    return out;
}

int runIdentityGet(Session& s, const Args& args) {
    CHardwareInfoSetting page(s.ctx);
    page.Create();
    int status = kExitOk;
    for (Identity which : identitiesOf(args)) {
        const int before = s.host.messageCount();
        page.click(IDC_HW_VERSION_GET + static_cast<int>(which));
        if (shownSince(s, before, CHardwareInfoSetting::kRules[which].empty)) status = kExitFailure;
        s.out << kIdentityKeys[which].first << '=' << page.texts[which] << '\n';
    }
    return status;
}

int runIdentitySet(Session& s, const Args& args) {
    const auto values = *keyValueArgs(args);
    // Typed first into a page that is connected to nothing: a text over its limit is cut there,
    // with the page's message, and then nothing is sent.
    {
        CHardwareInfoSetting scratch(s.ctx);
        scratch.Create();
        const int before = s.host.messageCount();
        for (const auto& [name, text] : values) scratch.typeText(IDC_HW_VERSION + static_cast<int>(*identityOf(name)), text);
        if (s.host.messageCount() != before) return kExitUsage;
    }
    CHardwareInfoSetting page(s.ctx);
    page.Create();
    for (const auto& arg : args) {
        const std::string name = arg.substr(0, arg.find('='));
        const Identity which = *identityOf(name);
        page.typeText(IDC_HW_VERSION + static_cast<int>(which), values.at(name));
        const int before = s.host.messageCount();
        page.click(IDC_HW_VERSION_SET + static_cast<int>(which));
        if (shownSince(s, before, CHardwareInfoSetting::kRules[which].tooLong)) return kExitUsage;
        if (!shownSince(s, before, CHardwareInfoSetting::kRules[which].setOk)) return kExitFailure;
    }
    return kExitOk;
}

int runIdentityInit(Session& s, const Args& args) {
    CHardwareInfoSetting page(s.ctx);
    page.Create();
    for (Identity which : identitiesOf(args)) {
        const int before = s.host.messageCount();
        page.click(IDC_HW_VERSION_INIT + static_cast<int>(which));
        if (!shownSince(s, before, CHardwareInfoSetting::kRules[which].initOk)) return kExitFailure;
    }
    return kExitOk;
}

// ---- printer information ----

constexpr const char* kFactNames[] = {"model",         "firmware", "motor",  "motor-permanent",
                                      "tph",           "tph-permanent", "cutter", "cutter-permanent"};

int runInfo(Session& s, const Args&) {
    CPrinterInfo page(s.ctx);
    page.Create();
    const int before = s.host.messageCount();
    page.click(IDC_PI_GET);
    if (!shownSince(s, before, CPrinterInfo::kMsgGetOk)) return kExitFailure;
    for (std::size_t i = 0; i < page.facts.size(); ++i) {
        std::string text = page.facts[i];
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
        s.out << kFactNames[i] << '=' << text << '\n';
    }
    return kExitOk;
}

int runInfoReset(Session& s, const Args& args) {
    CPrinterInfo page(s.ctx);
    page.Create();
    const int id = args[0] == "motor" ? IDC_PI_INIT_MOTOR : args[0] == "tph" ? IDC_PI_INIT_TPH : IDC_PI_INIT_CUTTER;
    page.click(id);
    return page.lastWrite() != 0 ? kExitOk : kExitFailure;
}

int runInfoUsbSerial(Session& s, const Args& args) {
    CPrinterInfo page(s.ctx);
    page.Create();
    // The box takes no more than 13 characters; longer text is what the framework refuses.
    if (args[0].size() > static_cast<std::size_t>(CPrinterInfo::kUsbSerialLength)) {
        std::string text = ui::ddx_text::kEnterNoMoreThan;
        text.replace(text.find("%1"), 2, std::to_string(CPrinterInfo::kUsbSerialLength));
        s.host.message(text);
        return kExitUsage;
    }
    page.typeText(IDC_PI_USB_SERIAL, args[0]);
    const int before = s.host.messageCount();
    page.click(IDC_PI_USB_SET);
    if (s.host.messageCount() != before) return kExitUsage;
    return page.lastWrite() != 0 ? kExitOk : kExitFailure;
}

const bool registered = [] {
    registerCommand({"native interface get",
                     "native interface get   handshake=, stop-bits=, data-bits=, parity=, baud= of the printer",
                     [](const Args& a) { return a.empty(); }, runInterfaceGet});
    registerCommand({"native interface set",
                     "native interface set KEY=VALUE...  handshake=hardware|software, stop-bits=1|2,\n"
                     "                         data-bits=8|7, parity=none|even|odd, baud=dip|38400|57600;\n"
                     "                         keys not given keep the printer's values",
                     acceptsInterfaceSet, runInterfaceSet});
    registerCommand({"codepage get", "codepage get           codepage=, ics= (the entries' texts) and lock=",
                     [](const Args& a) { return a.empty(); }, runCodePageGet});
    registerCommand({"codepage set",
                     "codepage set KEY=VALUE...  codepage=INDEX|PREFIX (e.g. PC850), ics=INDEX|TEXT, lock=0|1",
                     acceptsCodePageSet, runCodePageSet});
    registerCommand({"identity get", "identity get [version|serial|id...]  the identity strings",
                     acceptsIdentityNames, runIdentityGet});
    registerCommand({"identity set", "identity set KEY=TEXT...  version= (4), serial= (16), id= (7 characters)",
                     acceptsIdentitySet, runIdentitySet});
    registerCommand({"identity init", "identity init [version|serial|id...]  back to the printer's own",
                     acceptsIdentityNames, runIdentityInit});
    registerCommand({"info", "info                   model, firmware and the six counters as KEY=VALUE",
                     [](const Args& a) { return a.empty(); }, runInfo});
    registerCommand({"info reset", "info reset motor|tph|cutter  reset a counter",
                     [](const Args& a) { return a.size() == 1 && (a[0] == "motor" || a[0] == "tph" || a[0] == "cutter"); },
                     runInfoReset});
    registerCommand({"info usb-serial", "info usb-serial NNNNNNNNNNNNN  the USB serial number (13 characters)",
                     [](const Args& a) { return a.size() == 1; }, runInfoUsbSerial});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
