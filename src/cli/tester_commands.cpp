// velmora-cli "tester", "build", "convert" and "charset": the command tester, its builders, the
// unit converter and the character-set test from the command line. Each drives its dialog as a
// user would (type, choose, press the button), so the text printed or sent is the dialog's own.
// "build" and "convert" need no printer: they open no link unless "--test-print" is given.
#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/outcome.h"
#include "cli/escapes.h"
#include "platform/codepage.h"
#include "resources/templates_tester.h"
#include "tester/1d_barcodecommand.h"
#include "tester/2d_barcodecommand.h"
#include "tester/blockdrawcommand.h"
#include "tester/charactersetcommand.h"
#include "tester/convertunit.h"
#include "tester/labelsetting.h"
#include "tester/printercopies.h"
#include "tester/printingsetting.h"
#include "tester/testerformat.h"
#include "tester/testerops.h"
#include "tester/textcommand.h"
#include "tester/vectortextcommand.h"

namespace velmora::cli {

namespace {

using namespace resources;

// How a key reaches its control.
enum class Kind {
    Edit,    // typed into the edit `id`
    List,    // an item of the list `id`, by its text (any case, blanks as "-") or its last word
    Radio,   // one of `words`, clicking the matching button of `ids`
    Slider,  // 0..20 density: the slider at 20 - value
    Check,   // "on" or "off"
};

struct BuildKey {
    std::string name;
    Kind kind;
    int id = 0;
    int toggle = 0;  // a check box that "off" clears and any other value ticks
    std::vector<std::string> words = {};
    std::vector<int> ids = {};
};

struct Builder {
    std::string name;
    std::function<std::unique_ptr<tester::TesterBuilder>(app::ToolContext&)> make;
    bool testPrint;
    // In the order they are applied: a key that resets others (a symbology, a type, a unit) first.
    std::vector<BuildKey> keys;
};

template <typename T>
std::function<std::unique_ptr<tester::TesterBuilder>(app::ToolContext&)> maker() {
    return [](app::ToolContext& ctx) { return std::make_unique<T>(ctx); };
}

const std::vector<Builder>& builders() {
    static const std::vector<Builder> table = {
        {"text", maker<tester::CTextCommand>(), true,
         {{"x", Kind::Edit, IDC_B_X}, {"y", Kind::Edit, IDC_B_Y}, {"font", Kind::List, IDC_BT_FONT},
          {"h-multi", Kind::Edit, IDC_BT_H_MULTI}, {"v-multi", Kind::Edit, IDC_BT_V_MULTI},
          {"space-r", Kind::Edit, IDC_BT_SPACE}, {"rotation", Kind::List, IDC_B_ROTATION},
          {"reverse", Kind::List, IDC_BT_REVERSE}, {"bold", Kind::List, IDC_BT_BOLD}, {"text", Kind::Edit, IDC_B_DATA}}},
        {"vector", maker<tester::CVectorTextCommand>(), true,
         {{"x", Kind::Edit, IDC_B_X}, {"y", Kind::Edit, IDC_B_Y}, {"width", Kind::Edit, IDC_VT_WIDTH},
          {"height", Kind::Edit, IDC_VT_HEIGHT}, {"space", Kind::Edit, IDC_VT_FONT_SPACE},
          {"bold", Kind::List, IDC_VT_BOLD}, {"reverse", Kind::List, IDC_VT_REVERSE},
          {"italic", Kind::List, IDC_VT_ITALIC}, {"rotation", Kind::List, IDC_B_ROTATION},
          {"justification", Kind::List, IDC_VT_JUSTIFY}, {"text-direction", Kind::List, IDC_VT_DIRECTION},
          {"text", Kind::Edit, IDC_B_DATA}}},
        {"barcode1d", maker<tester::C1D_BarcodeCommand>(), true,
         {{"x", Kind::Edit, IDC_B_X}, {"y", Kind::Edit, IDC_B_Y}, {"type", Kind::List, IDC_B1_TYPE},
          {"n-bar-w", Kind::Edit, IDC_B1_NARROW}, {"w-bar-w", Kind::Edit, IDC_B1_WIDE},
          {"height", Kind::Edit, IDC_B1_HEIGHT}, {"rotation", Kind::List, IDC_B_ROTATION},
          {"hri", Kind::List, IDC_B1_HRI}, {"q-zone", Kind::Edit, IDC_B1_QZONE, IDC_B1_QZONE_ON},
          {"data", Kind::Edit, IDC_B_DATA}}},
        {"barcode2d", maker<tester::C2D_BarcodeCommand>(), true,
         {{"type", Kind::List, IDC_B2_SYMBOLOGY}, {"x", Kind::Edit, IDC_B_X}, {"y", Kind::Edit, IDC_B_Y},
          {"mode", Kind::List, IDC_B2_MODE}, {"max-row", Kind::Edit, IDC_B2_ROWS},
          {"max-col", Kind::Edit, IDC_B2_COLS}, {"ecc", Kind::List, IDC_B2_ECC},
          {"compress", Kind::List, IDC_B2_COMPRESS}, {"hri", Kind::List, IDC_B2_HRI},
          {"origin", Kind::List, IDC_B2_ORIGIN}, {"module-w", Kind::Edit, IDC_B2_MODULE},
          {"bar-height", Kind::Edit, IDC_B2_BAR}, {"rotation", Kind::List, IDC_B_ROTATION},
          {"data", Kind::Edit, IDC_B_DATA}}},
        {"box", maker<tester::CBlockDrawCommand>(), true,
         {{"type", Kind::List, IDC_BD_TYPE}, {"start-x", Kind::Edit, IDC_BD_START_X},
          {"start-y", Kind::Edit, IDC_BD_START_Y}, {"end-x", Kind::Edit, IDC_BD_END_X},
          {"end-y", Kind::Edit, IDC_BD_END_Y}, {"optional", Kind::Edit, IDC_BD_OPTIONAL}}},
        {"label", maker<tester::CLabelSetting>(), false,
         {{"unit", Kind::Radio, 0, 0, {"inch", "mm", "dots"}, {IDC_LS_INCH, IDC_LS_MM, IDC_LS_DOTS}},
          {"width", Kind::Edit, IDC_LS_WIDTH, IDC_LS_WIDTH_ON},
          {"length", Kind::Edit, IDC_LS_LENGTH, IDC_LS_LENGTH_ON},
          {"media", Kind::Radio, 0, 0, {"gap", "continuous", "blackmark"},
           {IDC_LS_GAP, IDC_LS_CONTINUOUS, IDC_LS_BLACK_MARK}},
          {"margin", Kind::Check, IDC_LS_MARGINS_ON}, {"x-margin", Kind::Edit, IDC_LS_X_MARGIN},
          {"y-margin", Kind::Edit, IDC_LS_Y_MARGIN}}},
        {"printing", maker<tester::CPrintingSetting>(), true,
         {{"speed", Kind::Radio, 0, IDC_PS_SPEED_ON, {"2.5", "3.0", "4.0", "5.0", "6.0"},
           {IDC_PS_SPEED_FIRST, IDC_PS_SPEED_FIRST + 1, IDC_PS_SPEED_FIRST + 2, IDC_PS_SPEED_FIRST + 3,
            IDC_PS_SPEED_FIRST + 4}},
          {"density", Kind::Slider, IDC_PS_SLIDER, IDC_PS_DENSITY_ON},
          {"direction", Kind::Radio, 0, IDC_PS_DIRECTION_ON, {"top", "bottom"}, {IDC_PS_TOP, IDC_PS_BOTTOM}}}},
        {"copies", maker<tester::CPrinterCopies>(), false,
         {{"quantity", Kind::Edit, IDC_PC_QUANTITY}, {"copies", Kind::Edit, IDC_PC_COPIES}}},
    };
    return table;
}

const Builder* findBuilder(const std::string& name) {
    for (const Builder& b : builders())
        if (b.name == name) return &b;
    return nullptr;
}

const BuildKey* findKey(const Builder& b, const std::string& name) {
    for (const BuildKey& k : b.keys)
        if (k.name == name) return &k;
    return nullptr;
}

std::optional<std::pair<std::string, std::string>> splitPair(const std::string& arg) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) return std::nullopt;
    return std::make_pair(arg.substr(0, eq), arg.substr(eq + 1));
}

std::string normalised(std::string text) {
    for (char& c : text) c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The list position whose item is `value` (by text or by its last word); -1 for none.
int itemPosition(const ui::Control& list, const std::string& value) {
    const std::string wanted = normalised(value);
    for (int i = 0; i < list.count(); ++i) {
        const std::string item = normalised(list.itemText(i));
        const auto dash = item.rfind('-');
        if (item == wanted || (dash != std::string::npos && item.substr(dash + 1) == wanted)) return i;
    }
    return -1;
}

bool validBuildArgs(const Builder& b, const Args& args, bool& testPrint) {
    std::set<std::string> seen;
    testPrint = false;
    for (const auto& arg : args) {
        if (arg == "--test-print") {
            if (!b.testPrint || testPrint) return false;
            testPrint = true;
            continue;
        }
        const auto pair = splitPair(arg);
        if (!pair || !findKey(b, pair->first) || !seen.insert(pair->first).second) return false;
    }
    return true;
}

bool acceptsBuild(const Args& args) {
    bool testPrint = false;
    const Builder* b = args.empty() ? nullptr : findBuilder(args[0]);
    return b && validBuildArgs(*b, Args(args.begin() + 1, args.end()), testPrint);
}

bool buildIsOffline(const Args& args) { return std::find(args.begin(), args.end(), "--test-print") == args.end(); }

// Plays one key on the dialog; false (with a message) when its value is not one the dialog offers.
bool applyKey(ui::Dialog& d, const BuildKey& key, const std::string& value, std::ostream& err) {
    if (key.toggle) {
        const bool want = normalised(value) != "off";
        if (d.control(key.toggle).checked() != want) d.click(key.toggle);
        if (!want) return true;
    }
    auto bad = [&] {
        err << "velmora-cli: " << key.name << " cannot be " << value << '\n';
        return false;
    };
    switch (key.kind) {
        case Kind::Edit:
            d.typeText(key.id, value);
            return true;
        case Kind::List: {
            const int pos = itemPosition(d.control(key.id), value);
            if (pos < 0) return bad();
            d.chooseItem(key.id, pos);
            return true;
        }
        case Kind::Radio: {
            const auto it = std::find(key.words.begin(), key.words.end(), normalised(value));
            if (it == key.words.end()) return bad();
            d.click(key.ids[static_cast<std::size_t>(it - key.words.begin())]);
            return true;
        }
        case Kind::Slider: {
            if (value.empty() || value.size() > 2 || !std::all_of(value.begin(), value.end(), ::isdigit) ||
                std::stoi(value) > 20)
                return bad();
            d.moveSlider(key.id, 20 - std::stoi(value));
            return true;
        }
        case Kind::Check: {
            const std::string v = normalised(value);
            if (v != "on" && v != "off") return bad();
            if (d.control(key.id).checked() != (v == "on")) d.click(key.id);
            return true;
        }
    }
    return false;
}

int runBuild(Session& s, const Args& args) {
    const Builder& b = *findBuilder(args[0]);
    bool testPrint = false;
    validBuildArgs(b, Args(args.begin() + 1, args.end()), testPrint);
    auto dialog = b.make(s.ctx);
    dialog->Create();
    for (const BuildKey& key : b.keys)
        for (std::size_t i = 1; i < args.size(); ++i)
            if (const auto pair = splitPair(args[i]); pair && pair->first == key.name)
                if (!applyKey(*dialog, key, pair->second, s.err)) return kExitUsage;
    const int before = s.host.messageCount();
    if (testPrint) {
        dialog->click(IDC_B_TEST_PRINT);
        return s.host.messageCount() == before ? kExitOk : kExitFailure;
    }
    dialog->click(IDC_B_INSERT);
    if (!dialog->insertRequested()) return kExitFailure;  // the dialog said why
    std::string text = dialog->InsertText();
    for (std::size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, "\n");
    s.out << text;
    return kExitOk;
}

// convert VALUE --from UNIT
bool acceptsConvert(const Args& a) {
    return a.size() == 3 && a[1] == "--from" && (a[2] == "inch" || a[2] == "mm" || a[2] == "dots");
}

int runConvert(Session& s, const Args& args) {
    struct Way {
        const char* from;
        int first, second;  // the two directions from that unit
    };
    static const Way ways[] = {{"inch", IDC_CU_INCH_MM, IDC_CU_INCH_DOTS},
                               {"dots", IDC_CU_DOTS_INCH, IDC_CU_DOTS_MM},
                               {"mm", IDC_CU_MM_INCH, IDC_CU_MM_DOTS}};
    const Way& way = *std::find_if(std::begin(ways), std::end(ways), [&](const Way& w) { return args[2] == w.from; });
    tester::CConvertUnit converter(s.ctx);
    converter.Create();
    const int before = s.host.messageCount();
    bool first = true;
    for (int direction : {way.first, way.second}) {
        converter.click(direction);
        converter.typeText(IDC_CU_INPUT, args[0]);
        converter.click(IDC_CU_CONVERT);
        if (s.host.messageCount() != before) return kExitUsage;
        if (first) s.out << converter.control(IDC_CU_INPUT).text() << ' ' << way.from << '\n';
        first = false;
        s.out << converter.control(IDC_CU_RESULT).text() << ' ' << converter.control(IDC_CU_RESULT_UNIT).text()
              << '\n';
    }
    return kExitOk;
}

// tester send FILE [--count N] | tester send --text TEXT [--count N]
struct SendArgs {
    std::optional<std::string> file, text;
    std::string count = "1";
};

std::optional<SendArgs> parseSend(const Args& a) {
    SendArgs out;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if ((a[i] == "--count" || a[i] == "--text") && i + 1 >= a.size()) return std::nullopt;
        if (a[i] == "--count") {
            out.count = a[++i];
            if (out.count.empty() || out.count.size() > 9 ||
                !std::all_of(out.count.begin(), out.count.end(), ::isdigit))
                return std::nullopt;
        } else if (a[i] == "--text") {
            if (out.text) return std::nullopt;
            out.text = a[++i];
        } else if (!out.file && a[i].rfind("--", 0) != 0) {
            out.file = a[i];
        } else {
            return std::nullopt;
        }
    }
    if (out.file.has_value() == out.text.has_value()) return std::nullopt;
    return out;
}

int runTesterSend(Session& s, const Args& args) {
    const SendArgs a = *parseSend(args);
    std::string text;
    if (a.file) {
        std::string problem;
        const auto loaded = tester::loadCommandFile(*a.file, problem);
        if (!loaded) {
            s.host.message(problem);
            return kExitFailure;
        }
        text = *loaded;
    } else {
        text = platform::fromCodePage(encodeCommandText(*a.text));
    }
    const int count = std::stoi(a.count);
    const app::Outcome outcome = tester::multiSend(s.comm, s.clock, text, count);
    // The sends that went, even when a later one failed.
    s.out << "sent " << outcome.written.back().second << " of " << count << '\n';
    return reportOutcome(s, outcome);
}

// The receive view as lines: its rows end with CR LF.
std::string viewLines(std::string view) {
    for (std::size_t p; (p = view.find("\r\n")) != std::string::npos;) view.replace(p, 2, "\n");
    if (!view.empty() && view.back() != '\n') view += '\n';
    return view;
}

int runTesterRead(Session& s, const Args& args) {
    const app::Outcome outcome = tester::readFromPrinter(s.comm);
    if (!outcome.done()) {
        s.err << "velmora-cli: the printer sent nothing\n";
        return kExitFailure;
    }
    s.out << viewLines(tester::renderReceiveView(outcome.values.front().raw, !args.empty()));
    return kExitOk;
}

// charset TEST [vector] [set=N|NAME] [table=N|NAME]
struct CharsetTest {
    const char* name;
    int button;
};
constexpr CharsetTest kCharsetTests[] = {{"under80", IDC_CS_UNDER80},
                                         {"over80", IDC_CS_OVER80},
                                         {"international", IDC_CS_INTERNATIONAL},
                                         {"all-tables", IDC_CS_ALL_TABLES}};

bool acceptsCharset(const Args& a) {
    if (a.empty() || std::none_of(std::begin(kCharsetTests), std::end(kCharsetTests),
                                  [&](const CharsetTest& t) { return a[0] == t.name; }))
        return false;
    std::set<std::string> seen;
    for (std::size_t i = 1; i < a.size(); ++i) {
        const auto pair = splitPair(a[i]);
        const std::string key = pair ? pair->first : a[i];
        if (!seen.insert(key).second) return false;
        if (!(a[i] == "vector" || (pair && (key == "set" || key == "table")))) return false;
    }
    return true;
}

int runCharset(Session& s, const Args& args) {
    tester::CCharacterSetCommand dlg(s.ctx);
    dlg.Create();
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "vector") {
            dlg.click(IDC_CS_VECTOR);
            continue;
        }
        const auto [key, value] = *splitPair(args[i]);
        const int list = key == "set" ? IDC_CS_SET : IDC_CS_TABLE;
        int pos = itemPosition(dlg.control(list), value);
        if (pos < 0 && !value.empty() && value.size() <= 2 && std::all_of(value.begin(), value.end(), ::isdigit))
            pos = std::stoi(value) < dlg.control(list).count() ? std::stoi(value) : -1;
        if (pos < 0) {
            s.err << "velmora-cli: " << key << " cannot be " << value << '\n';
            return kExitUsage;
        }
        dlg.chooseItem(list, pos);
    }
    const int before = s.host.messageCount();
    const auto& test = *std::find_if(std::begin(kCharsetTests), std::end(kCharsetTests),
                                     [&](const CharsetTest& t) { return args[0] == t.name; });
    dlg.click(test.button);
    return s.host.messageCount() == before ? kExitOk : kExitFailure;
}

std::string buildUsage() {
    std::string text = "build BUILDER [KEY=VALUE...] [--test-print]\n"
                       "                         the command line the builder inserts (no printer needed);\n"
                       "                         --test-print sends its test label instead. Keys:";
    for (const Builder& b : builders()) {
        text += "\n      " + b.name + ":";
        for (const BuildKey& k : b.keys) text += " " + k.name;
    }
    return text;
}

const bool registered = [] {
    registerCommand({"tester send",
                     "tester send FILE|--text TEXT [--count N]\n"
                     "                         load FILE as the tester does (or type TEXT, with the escapes of send)\n"
                     "                         and Multi Send it N times (1)",
                     [](const Args& a) { return parseSend(a).has_value(); }, runTesterSend});
    registerCommand({"tester read", "tester read [--hex]    one \"Read from printer\", printed as the tester's view",
                     [](const Args& a) { return a.empty() || (a.size() == 1 && a[0] == "--hex"); }, runTesterRead});
    registerCommand({"build", buildUsage(), acceptsBuild, runBuild, buildIsOffline});
    registerCommand({"convert", "convert VALUE --from inch|mm|dots\n"
                                "                         the value in the other two units (no printer needed)",
                     acceptsConvert, runConvert, [](const Args&) { return true; }});
    registerCommand({"charset",
                     "charset under80|over80|international|all-tables [vector] [set=N|NAME] [table=N|NAME]\n"
                     "                         print the character-set test labels (bitmap font 3 unless vector)",
                     acceptsCharset, runCharset});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
