// velmora-cli "terminal" and "twobyte": the communication window's send and read, and the
// two-byte code page prints of both languages, over their operations.
#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>
#include <string>

#include "cli/escapes.h"
#include "cli/outcome.h"
#include "platform/codepage.h"
#include "terminal/terminalops.h"
#include "tester/testerformat.h"
#include "tester/testerops.h"
#include "tester/twobytecodes.h"
#include "tester/twobyteops.h"

namespace velmora::cli {

namespace {

// terminal send FILE | terminal send --text TEXT
bool acceptsTerminalSend(const Args& a) {
    if (a.size() == 2) return a[0] == "--text";
    return a.size() == 1 && a[0].rfind("--", 0) != 0;
}

int runTerminalSend(Session& s, const Args& args) {
    std::string text;
    if (args[0] == "--text") {
        std::string refusal;
        const auto bytes = typedCommandBytes(args[1], refusal);
        if (!bytes) {
            s.err << "velmora-cli: " << refusal << '\n';
            return kExitUsage;
        }
        text = platform::fromCodePage(*bytes);
    } else {
        std::string problem;
        const auto loaded = tester::loadCommandFile(args[0], problem);
        if (!loaded) {
            s.host.message(problem);
            return kExitFailure;
        }
        text = *loaded;
    }
    return reportOutcome(s, terminal::sendToPrinter(s.comm, text));
}

int runTerminalRead(Session& s, const Args& args) {
    const app::Outcome outcome = tester::readFromPrinter(s.comm);
    noteOutcome(s.report, outcome);
    if (!outcome.done()) {
        s.err << "velmora-cli: the printer sent nothing\n";
        return kExitFailure;
    }
    // Rows end with CR LF in the view; the view shows every other CR as ".".
    std::string view = tester::renderReceiveView(outcome.values.front().raw, !args.empty());
    std::erase(view, '\r');
    s.out << view;
    if (view.back() != '\n') s.out << '\n';
    return kExitOk;
}

// twobyte print --table NAME [--start HH] [--end HH] [--all] [--font bitmap|vector]
//                [--width N] [--height N] [--zii]
struct TwoByteArgs {
    int table = -1;
    std::optional<std::string> start, end, width, height;
    bool all = false, vector = false, zii = false, fontGiven = false;
};

std::optional<TwoByteArgs> parseTwoByte(const Args& a) {
    TwoByteArgs out;
    auto valueOf = [&](std::size_t& i, std::optional<std::string>& into) {
        if (i + 1 >= a.size() || into) return false;
        into = a[++i];
        return true;
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string& k = a[i];
        if (k == "--table") {
            if (i + 1 >= a.size() || out.table >= 0) return std::nullopt;
            std::string name = a[++i];
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            const auto tables = tester::twoByteTables();
            const auto it = std::find_if(tables.begin(), tables.end(), [&](const auto& t) { return name == t.name; });
            if (it == tables.end()) return std::nullopt;
            out.table = static_cast<int>(it - tables.begin());
        } else if (k == "--font") {
            if (i + 1 >= a.size() || out.fontGiven || (a[i + 1] != "bitmap" && a[i + 1] != "vector"))
                return std::nullopt;
            out.fontGiven = true;
            out.vector = a[++i] == "vector";
        } else if (k == "--all" || k == "--zii") {
            bool& flag = k == "--all" ? out.all : out.zii;
            if (flag) return std::nullopt;
            flag = true;
        } else if (!((k == "--start" && valueOf(i, out.start)) || (k == "--end" && valueOf(i, out.end)) ||
                     (k == "--width" && valueOf(i, out.width)) || (k == "--height" && valueOf(i, out.height)))) {
            return std::nullopt;
        }
    }
    // "All" prints the table's range; the ZII print has its one font; the bitmap fonts take no
    // sizes, so a size given with them would be dropped unseen.
    const bool sized = out.vector || out.zii;
    if (out.table < 0 || (out.all && (out.start || out.end)) || (out.zii && out.fontGiven) ||
        ((out.width || out.height) && !sized))
        return std::nullopt;
    return out;
}

int runTwoByte(Session& s, const Args& args) {
    const TwoByteArgs a = *parseTwoByte(args);
    tester::TwoBytePrintRequest request;
    request.table = a.table;
    request.all = a.all;
    request.zii = a.zii;
    request.vector = a.vector;
    // What the dialog shows until the user types: the table's own range and sizes of 35.
    const tester::TwoByteTable& table = tester::twoByteTables()[static_cast<std::size_t>(a.table)];
    request.start = a.start.value_or(table.start);
    request.end = a.end.value_or(table.end);
    if (a.width) request.width = *a.width;
    if (a.height) request.height = *a.height;
    const app::Outcome outcome = tester::printTwoByteChart(s.comm, request);
    s.out << "printed " << tester::labelsPrinted(outcome) << " label(s)\n";
    return reportOutcome(s, outcome);
}

const bool registered = [] {
    registerCommand({"terminal send",
                     "terminal send FILE|--text TEXT\n"
                     "                         the communication window's File Open (or typed TEXT, with the escapes\n"
                     "                         of send) and Send to Printer",
                     acceptsTerminalSend, runTerminalSend});
    registerCommand({"terminal read",
                     "terminal read [--hex]  one \"Read from printer\", printed as the communication window's view",
                     [](const Args& a) { return a.empty() || (a.size() == 1 && a[0] == "--hex"); }, runTerminalRead});
    registerCommand({"twobyte print",
                     "twobyte print --table ks5601|gb2312|big5|jis [--start HH] [--end HH] [--all]\n"
                     "              [--font bitmap|vector] [--width N] [--height N] [--zii]\n"
                     "                         a two-byte code page chart, one label per lead byte, as the command\n"
                     "                         tester's \"Print Codes\" prints it (--zii: the ZII one)",
                     [](const Args& a) { return parseTwoByte(a).has_value(); }, runTwoByte});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
