// velmora-cli "tester", "build", "convert" and "charset": the command tester's send and read, its
// builders, the unit converter and the character-set test, over the tester's operations and the
// builders' forms (tester/testerops.h, tester/builderforms.h), so what is printed or sent is what
// the dialogs make. "build" and "convert" need no printer: they open no link unless
// "--test-print" is given.
#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/escapes.h"
#include "cli/outcome.h"
#include "platform/codepage.h"
#include "resources/templates_tester.h"
#include "tester/builderforms.h"
#include "tester/tavlcommands.h"
#include "tester/testerformat.h"
#include "tester/testerops.h"
#include "ui/dataexchange.h"

namespace velmora::cli {

namespace {

using namespace resources;

std::optional<std::pair<std::string, std::string>> splitPair(const std::string& arg) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) return std::nullopt;
    return std::make_pair(arg.substr(0, eq), arg.substr(eq + 1));
}

bool validBuildArgs(const tester::BuilderForm& b, const Args& args, bool& testPrint) {
    std::set<std::string> seen;
    testPrint = false;
    for (const auto& arg : args) {
        if (arg == "--test-print") {
            if (!b.testPrint || testPrint) return false;
            testPrint = true;
            continue;
        }
        const auto pair = splitPair(arg);
        if (!pair || std::find(b.keys.begin(), b.keys.end(), pair->first) == b.keys.end() ||
            !seen.insert(pair->first).second)
            return false;
    }
    return true;
}

bool acceptsBuild(const Args& args) {
    bool testPrint = false;
    const tester::BuilderForm* b = args.empty() ? nullptr : tester::findBuilderForm(args[0]);
    return b && validBuildArgs(*b, Args(args.begin() + 1, args.end()), testPrint);
}

bool buildIsOffline(const Args& args) { return std::find(args.begin(), args.end(), "--test-print") == args.end(); }

int runBuild(Session& s, const Args& args) {
    const tester::BuilderForm& form = *tester::findBuilderForm(args[0]);
    bool testPrint = false;
    validBuildArgs(form, Args(args.begin() + 1, args.end()), testPrint);
    std::vector<std::pair<std::string, std::string>> keys;
    for (std::size_t i = 1; i < args.size(); ++i)
        if (const auto pair = splitPair(args[i])) keys.push_back(*pair);
    const tester::Build built = tester::buildFromKeys(form, keys, testPrint);
    switch (built.status) {
        case tester::Build::Status::BadValue:
            s.err << "velmora-cli: " << built.message << '\n';
            return kExitUsage;
        case tester::Build::Status::Refused:
            s.host.message(built.message);
            return kExitFailure;
        case tester::Build::Status::Ok:
            break;
    }
    if (testPrint) return reportOutcome(s, tester::writeTestPrint(s.comm, built.text));
    std::string text = built.text;
    for (std::size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, "\n");
    s.out << text;
    return kExitOk;
}

// convert VALUE --from UNIT
bool acceptsConvert(const Args& a) {
    return a.size() == 3 && a[1] == "--from" && (a[2] == "inch" || a[2] == "mm" || a[2] == "dots");
}

int runConvert(Session& s, const Args& args) {
    const auto value = tester::parseSingle(args[0]);
    if (!value) {
        s.host.message(ui::ddx_text::kEnterNumber);
        return kExitUsage;
    }
    s.out << tester::formatSingle(*value) << ' ' << args[2] << '\n';
    // The two directions from that unit, in the converter's order.
    for (int direction = 0; direction < 6; ++direction)
        if (args[2] == tester::kConvertDirections[direction].from)
            s.out << tester::formatSingle(tester::convertUnit(direction, *value)) << ' '
                  << tester::kConvertDirections[direction].to << '\n';
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
        std::string refusal;
        const auto bytes = typedCommandBytes(*a.text, refusal);
        if (!bytes) {
            s.err << "velmora-cli: " << refusal << '\n';
            return kExitUsage;
        }
        text = platform::fromCodePage(*bytes);
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
    noteOutcome(s.report, outcome);
    if (!outcome.done()) {
        s.err << "velmora-cli: the printer sent nothing\n";
        return kExitFailure;
    }
    s.out << viewLines(tester::renderReceiveView(outcome.values.front().raw, !args.empty()));
    return kExitOk;
}

// charset TEST [vector] [set=N|NAME] [table=N|NAME]
struct CharsetTestName {
    const char* name;
    tester::CharsetTest test;
};
constexpr CharsetTestName kCharsetTests[] = {{"under80", tester::CharsetTest::Under80},
                                             {"over80", tester::CharsetTest::Over80},
                                             {"international", tester::CharsetTest::International},
                                             {"all-tables", tester::CharsetTest::AllTables}};

bool acceptsCharset(const Args& a) {
    if (a.empty() || std::none_of(std::begin(kCharsetTests), std::end(kCharsetTests),
                                  [&](const CharsetTestName& t) { return a[0] == t.name; }))
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
    tester::CharsetRequest request;
    request.test = std::find_if(std::begin(kCharsetTests), std::end(kCharsetTests),
                                [&](const CharsetTestName& t) { return args[0] == t.name; })
                       ->test;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "vector") {
            request.font.vector = true;
            request.font.hSize = request.font.vSize = tester::kCharsetVectorSize;
            continue;
        }
        const auto [key, value] = *splitPair(args[i]);
        const std::vector<std::string>& items = key == "set" ? kCharsetNames : kCodeTableNames;
        int pos = tester::itemPosition(items, value);
        if (pos < 0 && !value.empty() && value.size() <= 2 && std::all_of(value.begin(), value.end(), ::isdigit))
            pos = std::stoi(value) < static_cast<int>(items.size()) ? std::stoi(value) : -1;
        if (pos < 0) {
            s.err << "velmora-cli: " << key << " cannot be " << value << '\n';
            return kExitUsage;
        }
        (key == "set" ? request.set : request.table) = pos;
    }
    return reportOutcome(s, tester::printCharsetTest(s.comm, request));
}

std::string buildUsage() {
    std::string text = "build BUILDER [KEY=VALUE...] [--test-print]\n"
                       "                         the command line the builder inserts (no printer needed);\n"
                       "                         --test-print sends its test label instead. Keys:";
    for (const tester::BuilderForm& b : tester::builderForms()) {
        text += "\n      " + std::string(b.name) + ":";
        for (const std::string& k : b.keys) text += " " + k;
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
