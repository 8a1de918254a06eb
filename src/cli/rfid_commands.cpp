// velmora-cli commands for the RFID tools: "rfid get", "rfid set", "rfid reset-counters",
// "rfid calibrate", "rfid write" and "rfid read". Each drives the RFID dialog as a user would,
// so the bytes are the dialog's own. A value the dialog refuses (a range past the 64 cells, a
// password that is not 8 hexadecimal digits) prints the dialog's message and exits 2.
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "resources/stringtable.h"
#include "resources/templates_rfid.h"
#include "rfid/crfidread.h"
#include "rfid/crfidsetting.h"
#include "rfid/crfidwriteread.h"
#include "rfid/rfidcommands.h"

namespace velmora::cli {

namespace {

using namespace resources;

constexpr int kMsgGetOk = 204, kMsgSetOk = 202, kMsgResetOk = 206, kMsgBadRange = 199;
constexpr int kMsgDataFailed = 209, kMsgWriteOk = 211, kMsgBadAccess = 212, kMsgBadKill = 213, kMsgReadOk = 200;

// The options of "rfid write" and "rfid read": flags, and options with one value.
struct TagOptions {
    std::set<std::string> flags;
    std::map<std::string, std::string> values;
};

std::optional<TagOptions> parseTagOptions(const Args& args, const std::set<std::string>& flags,
                                          const std::set<std::string>& valued) {
    TagOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (flags.count(args[i])) {
            o.flags.insert(args[i]);
        } else if (valued.count(args[i]) && i + 1 < args.size() && !o.values.count(args[i])) {
            o.values[args[i]] = args[i + 1];
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

std::optional<int> wholeNumber(const std::string& text, int lo, int hi) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const int v = std::stoi(text);
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

const std::set<std::string> kWriteFlags = {"--metal", "--user", "--ascii", "--unlock"};
const std::set<std::string> kWriteValued = {"--start", "--data", "--lock", "--passwords"};
const std::set<std::string> kReadFlags = {"--metal", "--user", "--ascii", "--print"};
const std::set<std::string> kReadValued = {"--start", "--count"};

std::vector<std::string> splitCommas(const std::string& text) {
    std::vector<std::string> out(1);
    for (char c : text) {
        if (c == ',')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

// ---- configuration ----

// The dialog after a Get; nothing when the Get failed (its message was printed).
bool getSettings(Session& s, rfid::CRFIDSetting& dialog) {
    dialog.Create();
    const int before = s.host.messageCount();
    dialog.click(IDC_RS_GET);
    return shownSince(s, before, kMsgGetOk);
}

int runGet(Session& s, const Args&) {
    rfid::CRFIDSetting dialog(s.ctx);
    if (!getSettings(s, dialog)) return kExitFailure;
    for (const auto& [key, value] : rfid::settingsKeyValues(dialog.values)) s.out << key << '=' << value << '\n';
    return kExitOk;
}

bool acceptsSet(const Args& args) {
    const auto values = keyValueArgs(args);
    if (!values) return false;
    rfid::EncoderSettings scratch;
    std::string error;
    return rfid::applyKeyValues(scratch, rfid::KeyValues(values->begin(), values->end()), error);
}

int runSet(Session& s, const Args& args) {
    const auto values = *keyValueArgs(args);
    rfid::CRFIDSetting dialog(s.ctx);
    if (!getSettings(s, dialog)) return kExitFailure;
    rfid::EncoderSettings wanted = dialog.values;
    std::string error;
    rfid::applyKeyValues(wanted, rfid::KeyValues(values.begin(), values.end()), error);
    dialog.chooseItem(IDC_RS_TAG_TYPE, wanted.tagType);
    dialog.chooseItem(IDC_RS_POWER, wanted.power);
    dialog.typeText(IDC_RS_POSITION, wanted.position);
    dialog.chooseItem(IDC_RS_RETRY, wanted.retries);
    dialog.chooseItem(IDC_RS_LABELS, wanted.labels);
    const int before = s.host.messageCount();
    dialog.click(IDC_RS_SET);
    return shownSince(s, before, kMsgSetOk) ? kExitOk : kExitFailure;
}

int runResetCounters(Session& s, const Args&) {
    rfid::CRFIDSetting dialog(s.ctx);
    if (!getSettings(s, dialog)) return kExitFailure;  // "Reset" opens with the first Get
    const int before = s.host.messageCount();
    dialog.click(IDC_RS_RESET);
    return shownSince(s, before, kMsgResetOk) ? kExitOk : kExitFailure;
}

int runCalibrate(Session& s, const Args&) {
    rfid::CRFIDSetting dialog(s.ctx);
    dialog.Create();
    const int before = s.host.messageCount();
    dialog.click(IDC_RS_CALIBRATE);
    return shownSince(s, before, kMsgResetOk) ? kExitOk : kExitFailure;
}

// ---- write ----

bool acceptsWrite(const Args& args) {
    const auto o = parseTagOptions(args, kWriteFlags, kWriteValued);
    if (!o) return false;
    const bool data = o->values.count("--data") > 0;
    if (data != (o->values.count("--start") > 0)) return false;  // a range needs both
    if (const auto lock = o->values.find("--lock"); lock != o->values.end()) {
        if (lock->second.size() != 5 || !rfid::isHexDigits(lock->second)) return false;
    }
    if (const auto p = o->values.find("--passwords"); p != o->values.end() && splitCommas(p->second).size() != 4)
        return false;
    return data || o->flags.count("--unlock") || o->values.count("--lock") || o->values.count("--passwords");
}

// The cells' texts of the data: two hexadecimal digits or one character each.
std::optional<std::vector<std::string>> dataCells(const std::string& data, bool ascii) {
    std::vector<std::string> cells;
    const std::size_t step = ascii ? 1 : 2;
    if (data.size() % step) return std::nullopt;
    for (std::size_t i = 0; i < data.size(); i += step) cells.push_back(data.substr(i, step));
    return cells;
}

int changePasswords(Session& s, rfid::CRFIDWriteRead& dialog, const std::string& list) {
    const auto p = splitCommas(list);
    for (int i = 0; i < 2; ++i) {
        const auto digits = rfid::passwordDigits(p[i]);
        if (!digits) {
            app::ShowMessage(s.host, i == 0 ? kMsgBadAccess : kMsgBadKill);
            return kExitUsage;
        }
        (i == 0 ? dialog.currentAccess : dialog.currentKill) = *digits;
    }
    dialog.typeText(IDC_RW_ACCESS, p[2]);
    dialog.typeText(IDC_RW_KILL, p[3]);
    const int before = s.host.messageCount();
    dialog.click(IDC_RW_PASSWORD);
    if (shownSince(s, before, kMsgBadAccess) || shownSince(s, before, kMsgBadKill)) return kExitUsage;
    return shownSince(s, before, kMsgSetOk) ? kExitOk : kExitFailure;
}

int runWrite(Session& s, const Args& args) {
    const TagOptions o = *parseTagOptions(args, kWriteFlags, kWriteValued);
    const bool ascii = o.flags.count("--ascii") > 0;
    rfid::CRFIDWriteRead dialog(s.ctx);
    dialog.Create();
    if (const auto p = o.values.find("--passwords"); p != o.values.end()) {
        const int status = changePasswords(s, dialog, p->second);
        if (status != kExitOk) return status;
    }
    const bool data = o.values.count("--data") > 0;
    if (!data && !o.flags.count("--unlock") && !o.values.count("--lock")) return kExitOk;

    dialog.click(o.flags.count("--metal") ? IDC_RW_METAL : IDC_RW_LABEL);
    // The format first: choosing user memory locks the format list (its choice still sets the
    // cells' width).
    dialog.chooseItem(IDC_RW_FORMAT, ascii ? 1 : 0);
    if (o.flags.count("--user")) dialog.click(IDC_RW_USER);
    if (data) {
        const auto cells = dataCells(o.values.at("--data"), ascii);
        const auto start = wholeNumber(o.values.at("--start"), 0, 16);
        if (!cells || cells->size() < 2 || cells->size() > 64 || !start) {
            s.err << "velmora-cli: --start is 0 to 16 and --data 2 to 64 bytes"
                  << (ascii ? "" : " as pairs of hexadecimal digits") << '\n';
            return kExitUsage;
        }
        dialog.chooseItem(IDC_RW_START, *start);
        dialog.chooseItem(IDC_RW_COUNT, static_cast<int>(cells->size()) - 2);
        int before = s.host.messageCount();
        dialog.click(IDC_RW_SET_DATA);
        if (shownSince(s, before, kMsgBadRange)) return kExitUsage;
        for (std::size_t i = 0; i < cells->size(); ++i)
            dialog.typeText(IDC_RW_CELL_FIRST + *start + static_cast<int>(i), (*cells)[i]);
        dialog.click(IDC_RW_DO_DATA);
        // A cell the dialog refuses is refused before anything is sent.
        if (!ascii && !rfid::isHexDigits(o.values.at("--data"))) {
            before = s.host.messageCount();
            if (o.flags.count("--unlock")) dialog.click(IDC_RW_DO_UNLOCK);
            dialog.click(IDC_RW_WRITE);
            return shownSince(s, before, kMsgDataFailed) ? kExitUsage : kExitFailure;
        }
    }
    if (o.flags.count("--unlock")) dialog.click(IDC_RW_DO_UNLOCK);
    if (const auto lock = o.values.find("--lock"); lock != o.values.end()) {
        dialog.click(IDC_RW_DO_LOCK);
        const unsigned payload = std::stoul(lock->second, nullptr, 16);
        for (int bit = 0; bit < 20; ++bit)
            if (payload & (1u << bit)) dialog.click(IDC_RW_LOCK_BIT0 + bit);
    }
    const int before = s.host.messageCount();
    dialog.click(IDC_RW_WRITE);
    return shownSince(s, before, kMsgWriteOk) ? kExitOk : kExitFailure;
}

// ---- read ----

bool acceptsRead(const Args& args) {
    const auto o = parseTagOptions(args, kReadFlags, kReadValued);
    return o && o->values.count("--start") && o->values.count("--count");
}

int runRead(Session& s, const Args& args) {
    const TagOptions o = *parseTagOptions(args, kReadFlags, kReadValued);
    const auto start = wholeNumber(o.values.at("--start"), 0, 16);
    const auto count = wholeNumber(o.values.at("--count"), 2, 64);
    if (!start || !count) {
        s.err << "velmora-cli: --start is 0 to 16 and --count 2 to 64\n";
        return kExitUsage;
    }
    rfid::CRFIDRead dialog(s.ctx);
    dialog.Create();
    if (o.flags.count("--metal")) dialog.click(IDC_RW_METAL);
    dialog.chooseItem(IDC_RW_FORMAT, o.flags.count("--ascii") ? 1 : 0);
    if (o.flags.count("--user")) dialog.click(IDC_RW_USER);
    dialog.chooseItem(IDC_RW_START, *start);
    dialog.chooseItem(IDC_RW_COUNT, *count - 2);
    const int before = s.host.messageCount();
    if (o.flags.count("--print")) {
        dialog.click(IDC_RR_PRINT);
        return s.host.messageCount() == before ? kExitOk : kExitFailure;  // only a link failure shows one
    }
    dialog.click(IDC_RR_READ);
    if (shownSince(s, before, kMsgBadRange)) return kExitUsage;
    if (!shownSince(s, before, kMsgReadOk)) return kExitFailure;
    std::string data;
    for (int n = *start + 1; n <= std::min(*start + *count, kRfidCells); ++n) data += dialog.cell(n);
    s.out << data << '\n';
    return kExitOk;
}

const bool registered = [] {
    registerCommand({"rfid get",
                     "rfid get               the encoder settings and counters as KEY=VALUE: tag-type,\n"
                     "                         power, position, retries, labels, valid, void",
                     [](const Args& a) { return a.empty(); }, runGet});
    registerCommand({"rfid set",
                     "rfid set KEY=VALUE...  tag-type=GEN2|ISO-B, power=1..31, position=-9999..9999,\n"
                     "                         retries=0..10, labels=0..5",
                     acceptsSet, runSet});
    registerCommand({"rfid reset-counters", "rfid reset-counters    set the valid and void counters to 0",
                     [](const Args& a) { return a.empty(); }, runResetCounters});
    registerCommand({"rfid calibrate", "rfid calibrate         start the encoder's automatic calibration",
                     [](const Args& a) { return a.empty(); }, runCalibrate});
    registerCommand({"rfid write",
                     "rfid write [--metal] [--user] [--ascii] --start N --data HEX|TEXT [--unlock]\n"
                     "           [--lock PAYLOAD] [--passwords ACCESS,KILL,NEWACCESS,NEWKILL]\n"
                     "                         write tag data (a label tag: one label is printed); PAYLOAD\n"
                     "                         is the 20-bit lock payload as 5 hexadecimal digits",
                     acceptsWrite, runWrite});
    registerCommand({"rfid read",
                     "rfid read [--metal] [--user] [--ascii] --start N --count N [--print]\n"
                     "                         read tag data (or have the printer print it)",
                     acceptsRead, runRead});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
