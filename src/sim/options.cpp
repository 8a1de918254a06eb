// velmora-sim's options: "--name value" or "--name=value" for the valued ones, plain flags for
// the rest, and one flag per named status bit so the list never falls behind the status table.
#include "sim/options.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>

namespace velmora::sim {

namespace {

template <typename Number>
bool parseNumber(std::string_view text, Number& out, Number max = std::numeric_limits<Number>::max()) {
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value > max) return false;
    out = value;
    return true;
}

// Printable text of 1 to `limit` bytes, as a printer's reply line can carry it.
bool replyText(std::string_view text, std::size_t limit) {
    return !text.empty() && text.size() <= limit &&
           std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; });
}

}  // namespace

bool isLoopbackAddress(std::string_view text) {
    unsigned bytes[4] = {};
    for (int i = 0; i < 4; ++i) {
        const auto dot = i < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos || dot == 0 || dot > 3) return false;
        if (!parseNumber(text.substr(0, dot), bytes[i], 255u)) return false;
        text.remove_prefix(i < 3 ? dot + 1 : dot);
    }
    return text.empty() && bytes[0] == 127;
}

std::optional<Options> parseOptions(std::span<const std::string_view> args, std::string& error) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> inlineValue;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        // The value of a valued option: after "=", or the next argument.
        auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };
        auto badValue = [&](std::string_view what) {
            error = std::string(name) + ": expected " + std::string(what);
            return std::nullopt;
        };
        auto flag = [&](bool& target) {
            if (inlineValue) {
                error = std::string(name) + " takes no value";
                return false;
            }
            target = true;
            return true;
        };

        if (name == "--port") {
            const auto text = value();
            if (!text || !parseNumber(*text, options.port, 65535u))
                return badValue("a port number 0 to 65535");
        } else if (name == "--listen") {
            const auto text = value();
            if (!text || !isLoopbackAddress(*text)) return badValue("a loopback address 127.x.y.z");
            options.listenAddress = std::string(*text);
        } else if (name == "--model" || name == "--firmware") {
            const auto text = value();
            // The replies are read 32 bytes at a time, line end included.
            if (!text || !replyText(*text, 30)) return badValue("printable text of 1 to 30 characters");
            (name == "--model" ? options.model : options.firmware) = std::string(*text);
        } else if (name == "--status-script") {
            const auto text = value();
            if (!text || text->empty()) return badValue("a file name");
            options.statusScript = std::string(*text);
        } else if (name == "--delay") {
            const auto text = value();
            if (!text || !parseNumber(*text, options.faults.delayMs)) return badValue("milliseconds");
        } else if (name == "--drop-after") {
            const auto text = value();
            if (!text || !parseNumber(*text, options.faults.dropAfterBytes)) return badValue("a byte count");
        } else if (name == "--baud") {
            const auto text = value();
            static constexpr unsigned kRates[] = {9600, 19200, 38400, 57600, 115200};
            unsigned baud = 0;
            if (!text || !parseNumber(*text, baud) || std::find(std::begin(kRates), std::end(kRates), baud) == std::end(kRates))
                return badValue("9600, 19200, 38400, 57600 or 115200");
            options.faults.baud = baud;
        } else if (name == "--labels") {
            const auto text = value();
            if (!text || text->empty()) return badValue("a directory");
            options.labelsDirectory = std::string(*text);
        } else if (name == "--state") {
            const auto text = value();
            if (!text || text->empty()) return badValue("a file name");
            options.statePath = std::string(*text);
        } else if (name == "--images") {
            const auto text = value();
            if (!text || text->empty()) return badValue("a directory");
            options.imagesDirectory = std::string(*text);
        } else if (name == "--tag-epc" || name == "--tag-user") {
            const bool epc = name == "--tag-epc";
            const std::size_t room = epc ? RfidTag::kEpcBytes : RfidTag::kUserBytes;
            const auto text = value();
            const auto bytes = text ? parseHexBytes(*text) : std::nullopt;
            if (!bytes || bytes->size() > room)
                return badValue("hexadecimal bytes, at most " + std::to_string(room));
            (epc ? options.tagEpc : options.tagUser) = *bytes;
        } else if (name == "--rfid-void") {
            if (!flag(options.rfidVoid)) return std::nullopt;
        } else if (name == "--media") {
            const auto text = value();
            std::string why;
            if (!text || !(options.media = MediaModel::parse(*text, why))) return badValue(why.empty() ? "a media" : why);
        } else if (name == "--pty") {
            if (!flag(options.pty)) return std::nullopt;
        } else if (name == "--no-tcp") {
            bool noTcp = false;
            if (!flag(noTcp)) return std::nullopt;
            options.tcp = false;
        } else if (name == "--silent") {
            if (!flag(options.faults.silent)) return std::nullopt;
        } else if (name == "--short-replies") {
            if (!flag(options.faults.shortReplies)) return std::nullopt;
        } else if (name == "--garbage") {
            if (!flag(options.faults.garbage)) return std::nullopt;
        } else if (name == "--help" || name == "-h") {
            if (!flag(options.help)) return std::nullopt;
        } else if (name == "--version") {
            if (!flag(options.version)) return std::nullopt;
        } else if (const StatusBit* bit = name.starts_with("--") ? findStatusBit(name.substr(2)) : nullptr) {
            bool on = false;
            if (!flag(on)) return std::nullopt;
            options.status[bit->byte] |= bit->mask;
        } else {
            error = "unknown option " + std::string(args[i]);
            return std::nullopt;
        }
    }
    if (!options.help && !options.version && !options.tcp && !options.pty) {
        error = "--no-tcp without --pty leaves nothing to serve";
        return std::nullopt;
    }
    return options;
}

std::string usage() {
    std::string text =
        "Usage: velmora-sim [options]\n"
        "A simulated label printer on 127.0.0.1 (or --listen; TCP, up to 8 clients at once) and/or a\n"
        "pseudo-terminal.\n"
        "\n"
        "  --port N           TCP port (default 9100; 0 picks a free port)\n"
        "  --listen ADDR      listen on this loopback address (127.x.y.z; default 127.0.0.1), so that\n"
        "                     several simulators can stand in for printers at distinct addresses\n"
        "  --pty              also serve a pseudo-terminal; its path is printed\n"
        "  --no-tcp           do not listen on TCP (needs --pty)\n"
        "  --silent           take commands but never answer\n"
        "  --short-replies    every reply loses its last byte\n"
        "  --garbage          every byte of every reply is 'z' (answers of the right length, nonsense)\n"
        "  --delay MS         send every reply MS milliseconds late\n"
        "  --drop-after N     drop the connection after N bytes received\n"
        "  --baud N           pseudo-terminal: answer only while the client's line speed is N\n"
        "  --labels DIR       write each printed label (native or ZII) as DIR/label-0001.json, ...\n"
        "                     and its picture as DIR/label-0001.png, ... (when built with Qt)\n"
        "  --state FILE       non-volatile memory: load the saved settings from FILE at start\n"
        "                     and write them there (INI text) whenever the printer saves (^JUS)\n"
        "  --images DIR       write each stored image as DIR/<image name>\n"
        "  --tag-epc HEX      the RFID tag's EPC memory starts with these bytes\n"
        "  --tag-user HEX     the RFID tag's user memory starts with these bytes\n"
        "  --rfid-void        every RFID tag write fails (and counts as a void tag)\n"
        "  --media M          the labels loaded: gap:LABEL:GAP (default gap:100:3), mark:LABEL:MARK\n"
        "                     (millimetres) or continuous\n"
        "  --model NAME       the model name it reports (default VELMORA SIM)\n"
        "  --firmware TEXT    the firmware version it reports (default V1.00)\n"
        "  --status-script FILE  change status bits while running: lines \"SECONDS NAME on|off\",\n"
        "                     NAME a status bit below or silent (no answers)\n"
        "  --help             show this text\n"
        "  --version          show the version\n"
        "\n"
        "Status bits reported by the status queries:\n";
    for (const StatusBit& bit : statusBits()) {
        text += "  --" + std::string(bit.name) + "\n";
    }
    return text;
}

std::string versionText() { return "velmora-sim " VELMORA_VERSION "\nVelmora-II printer simulator\n"; }

void applyOptions(const Options& options, Printer& printer) {
    printer.setFaults(options.faults);
    printer.setStatusBytes(options.status[0], options.status[1]);
    printer.editRfid([&options](RfidState& rfid) {
        std::copy(options.tagEpc.begin(), options.tagEpc.end(), rfid.tag.epc.begin());
        std::copy(options.tagUser.begin(), options.tagUser.end(), rfid.tag.user.begin());
        rfid.voidEveryWrite = options.rfidVoid;
    });
    if (options.media) printer.editMedia([&](MediaState& m) { m.model = *options.media; });
    if (options.model || options.firmware) {
        printer.editNative([&options](NativeState& n) {
            if (options.model) n.modelName = *options.model;
            if (options.firmware) n.firmware = *options.firmware;
        });
    }
}

}  // namespace velmora::sim
