// The ZII command interpreter and the setting escapes. Each command reads its values into a copy
// of what it changes and commits the copy only when every given value was valid, so a bad value
// never leaves a setting half changed.
#include "sim/zii.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstring>

#include "sim/bytescan.h"
#include "sim/hostqueries.h"
#include "sim/media.h"
#include "sim/parser.h"
#include "sim/zii_values.h"

namespace velmora::sim {

namespace {

using Values = ZiiValues;

// A whole number (optional sign, a fraction cut off) from min to max; false when given but not
// that. An omitted value leaves `out` as it is.
template <typename Number>
bool readNumber(const Values& v, std::size_t i, Number min, Number max, Number& out) {
    if (!v.given(i)) return true;
    const std::optional<long> value = v.whole(i);
    if (!value || *value < static_cast<long>(min) || *value > static_cast<long>(max)) return false;
    out = static_cast<Number>(*value);
    return true;
}

// One letter of `allowed`.
bool readLetter(std::string_view text, std::string_view allowed, char& out) {
    if (text.empty()) return true;
    if (text.size() != 1 || allowed.find(text[0]) == std::string_view::npos) return false;
    out = text[0];
    return true;
}

// `yes` or `no`.
bool readFlag(std::string_view text, char yes, char no, bool& out) {
    char letter = out ? yes : no;
    if (!readLetter(text, std::string{yes, no}, letter)) return false;
    out = letter == yes;
    return true;
}

bool readBaud(const Values& v, std::size_t i, unsigned& out) {
    static constexpr unsigned kRates[] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                          14400, 19200, 28800, 38400, 57600, 115200};
    unsigned baud = out;
    if (!readNumber(v, i, 0u, 115200u, baud) ||
        std::find(std::begin(kRates), std::end(kRates), baud) == std::end(kRates))
        return false;
    out = baud;
    return true;
}

constexpr int kMinSpeed = 2, kMaxSpeed = 7;
constexpr int kMaxAdjust = 120;  // tear-off adjustment and print offset, either way

// The settings in use become `from`, except those that are locked.
void replaceUnlocked(ZiiState& s, ZiiSettings from) {
    const ZiiSettings& now = s.current;
    if (s.locked(kLockSpeed)) {
        from.printSpeed = now.printSpeed;
        from.slewSpeed = now.slewSpeed;
    }
    if (s.locked(kLockDarkness)) from.darkness = now.darkness;
    if (s.locked(kLockLabelWidth)) from.labelWidth = now.labelWidth;
    if (s.locked(kLockPrintOffset)) from.printOffset = now.printOffset;
    if (s.locked(kLockTearOff)) from.tearOff = now.tearOff;
    if (s.locked(kLockMediaType)) from.mediaType = now.mediaType;
    s.current = from;
}

bool setClock(ZiiState& s, const Values& v) {
    ClockTime t = s.clock;
    char format = 'M';
    if (!readNumber(v, 0, 1, 12, t.month) || !readNumber(v, 1, 1, 31, t.day) ||
        !readNumber(v, 2, 1998, 2097, t.year) || !readNumber(v, 4, 0, 59, t.minute) ||
        !readNumber(v, 5, 0, 59, t.second) || !readLetter(v[6], "MAP", format))
        return false;
    if (format == 'M') {
        if (!readNumber(v, 3, 0, 23, t.hour)) return false;
    } else if (!v[3].empty()) {
        int hour = 0;
        if (!readNumber(v, 3, 1, 12, hour)) return false;
        t.hour = hour % 12 + (format == 'P' ? 12 : 0);
    }
    using namespace std::chrono;
    if (!year_month_day(year(t.year), month(static_cast<unsigned>(t.month)),
                        day(static_cast<unsigned>(t.day)))
             .ok())
        return false;
    s.clock = t;
    return true;
}

bool memoryCommand(ZiiState& s, const Values& v) {
    char action = 0;
    if (!readLetter(v[0], "SRF", action)) return false;
    switch (action) {
        case 'S':
            s.saved = s.current;
            break;
        case 'R':
            replaceUnlocked(s, s.saved);
            break;
        case 'F':
            replaceUnlocked(s, ZiiSettings{});
            break;
    }
    return true;
}

struct ZiiCommand {
    std::string_view name;
    unsigned lock;  // the lock code that keeps this command from changing anything; 0 none
    // False when a given value was not valid, so nothing changed.
    bool (*run)(ZiiState& s, const Values& v);
};

constexpr bool kNothingToDo = true;

constexpr ZiiCommand kCommands[] = {
    {"^XA", 0, [](ZiiState&, const Values&) { return kNothingToDo; }},  // the format is the caller's
    {"^XZ", 0, [](ZiiState&, const Values&) { return kNothingToDo; }},
    {"^FX", 0, [](ZiiState&, const Values&) { return kNothingToDo; }},  // a comment, up to the next ^ or ~
    {"^PW", kLockLabelWidth,
     [](ZiiState& s, const Values& v) {
         return readNumber(v, 0, 2, ZiiSettings::kHeadWidthDots, s.current.labelWidth);
     }},
    {"^LL", 0, [](ZiiState& s, const Values& v) { return readNumber(v, 0, 1, 32000, s.current.labelLength); }},
    {"^PO", 0, [](ZiiState& s, const Values& v) { return readFlag(v[0], 'I', 'N', s.current.inverted); }},
    {"^PR", kLockSpeed,
     [](ZiiState& s, const Values& v) {
         ZiiSettings c = s.current;
         if (!readNumber(v, 0, kMinSpeed, kMaxSpeed, c.printSpeed) ||
             !readNumber(v, 1, kMinSpeed, kMaxSpeed, c.slewSpeed))
             return false;
         s.current = c;
         return true;
     }},
    {"~SD", kLockDarkness,
     [](ZiiState& s, const Values& v) { return readNumber(v, 0, 0, 30, s.current.darkness); }},
    {"~TA", kLockTearOff,
     [](ZiiState& s, const Values& v) { return readNumber(v, 0, -kMaxAdjust, kMaxAdjust, s.current.tearOff); }},
    {"^LT", kLockPrintOffset,
     [](ZiiState& s, const Values& v) {
         return readNumber(v, 0, -kMaxAdjust, kMaxAdjust, s.current.printOffset);
     }},
    {"^MT", 0, [](ZiiState& s, const Values& v) { return readLetter(v[0], "TD", s.current.printMode); }},
    {"^MN", kLockMediaType,
     [](ZiiState& s, const Values& v) {
         char type = 0;
         if (!readLetter(v[0], "NYWM", type)) return false;
         if (type != 0) s.current.mediaType = type == 'N' ? 'C' : type == 'M' ? 'M' : 'W';
         return true;
     }},
    {"^MM", 0,
     [](ZiiState& s, const Values& v) { return readLetter(v[0], "TPRACDFLUK", s.current.mediaHandling); }},
    {"^MF", 0,
     [](ZiiState& s, const Values& v) {
         ZiiSettings c = s.current;
         if (!readLetter(v[0], "FCLNS", c.powerUpAction) || !readLetter(v[1], "FCLNS", c.headCloseAction))
             return false;
         s.current = c;
         return true;
     }},
    {"^PM", 0, [](ZiiState& s, const Values& v) { return readFlag(v[0], 'Y', 'N', s.current.mirror); }},
    {"^SC", 0,
     [](ZiiState& s, const Values& v) {
         SerialSettings c = s.current.serial;
         if (!readBaud(v, 0, c.baud) || !readNumber(v, 1, 7u, 8u, c.dataBits) ||
             !readLetter(v[2], "NEO", c.parity) || !readNumber(v, 3, 1u, 2u, c.stopBits) ||
             !readLetter(v[4], "XDR", c.handshake) || !readLetter(v[5], "ANZ", c.protocol))
             return false;
         s.current.serial = c;
         return true;
     }},
    {"^ST", 0, setClock},
    {"^JU", 0, memoryCommand},
};

// Label formats stream through here by the megabyte, so a command finds its table entry by one
// lookup on its three characters ("^" or "~" and two letters) instead of a walk of the table.
class CommandIndex {
  public:
    CommandIndex() {
        slots_.fill(-1);
        for (std::size_t i = 0; i < std::size(kCommands); ++i) slots_[slot(kCommands[i].name)] = static_cast<int>(i);
    }
    const ZiiCommand* find(std::string_view name) const {
        const int i = name.size() == 3 ? slots_[slot(name)] : -1;
        return i < 0 ? nullptr : &kCommands[i];
    }

  private:
    static std::size_t letter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<std::size_t>(c - 'A' + 1) : 0; }
    // 0 for anything that is not one of the table's shapes; that slot stays empty.
    static std::size_t slot(std::string_view name) {
        const std::size_t a = letter(name[1]), b = letter(name[2]);
        if (!a || !b || (name[0] != '^' && name[0] != '~')) return 0;
        return (name[0] == '~' ? 27 * 27 : 0) + a * 27 + b;
    }
    std::array<int, 2 * 27 * 27> slots_;
};

const ZiiCommand* findCommand(std::string_view command) {
    static const CommandIndex index;
    return index.find(command.substr(0, 3));
}

// Where the next "^" or "~" stands in line at or after `from` (line.size() when none). Lines of
// any bytes arrive here, megabytes of them when a file is sent raw, so both are looked for in one
// pass of 16 bytes at a time.
std::size_t nextCommandStart(std::string_view line, std::size_t from) {
    if (from >= line.size()) return line.size();
    const char* end = line.data() + line.size();
    return static_cast<std::size_t>(findAnyOf(line.data() + from, end, '^', '~', '~') - line.data());
}

// Whether `text` begins with the short `prefix`, compared byte by byte: command names are three
// bytes, and a library compare costs a call each time.
bool begins(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (text[i] != prefix[i]) return false;
    return true;
}
}  // namespace

bool ZiiState::setLock(unsigned code, bool on) {
    if (code < 1 || code > kLockCodes) return false;
    const auto bit = static_cast<std::uint16_t>(1u << (code - 1));
    locks = on ? (locks | bit) : (locks & ~bit);
    return true;
}

namespace {

// Commands the builder or the stream itself takes anywhere, outside a format too.
bool streamCommand(std::string_view command) {
    if (command.size() < 3) return false;
    const std::string_view name = command.substr(1, 2);
    return (command[0] == '~' && name == "DG") || name == "CC" || name == "CT" || name == "CD";
}

// The line as the standard characters would have sent it. One character for one, so positions
// in it are positions in the line. The line itself when it holds none of the characters this
// stream uses instead (most lines, even of a stream that changed them); else a copy in `buffer`.
std::string_view standardCharacters(std::string_view line, const ZiiFormat& f, std::string& buffer) {
    const auto standard = [&f](char c) {
        return c == f.caret ? '^' : c == f.tilde ? '~' : c == f.delimiter ? ',' : c;
    };
    // The characters that change, a repeated one where fewer than three do.
    char changing[3];
    int n = 0;
    for (const char own : {f.caret, f.tilde, f.delimiter})
        if (standard(own) != own) changing[n++] = own;
    if (n == 0) return line;
    for (int i = n; i < 3; ++i) changing[i] = changing[0];
    const char* end = line.data() + line.size();
    const char* hit = findAnyOf(line.data(), end, changing[0], changing[1], changing[2]);
    if (hit == end) return line;
    // Found in the line as sent, so a character put in its place is never taken again.
    buffer.assign(line);
    for (; hit != end; hit = findAnyOf(hit + 1, end, changing[0], changing[1], changing[2]))
        buffer[static_cast<std::size_t>(hit - line.data())] = standard(*hit);
    return buffer;
}

constexpr int kMaxRecall = 4;  // stored formats that recall stored formats

// ^GFB,b,c,d,<b bytes>: the bytes are data whatever they are, "^" and "~" too.
std::size_t binaryGraphicEnd(std::string_view line, std::size_t at, std::size_t next) {
    std::size_t data = at + 4;
    for (int comma = 0; comma < 4; ++comma) {
        data = line.find(',', data);
        if (data == std::string_view::npos || data >= next) return next;
        ++data;
    }
    bool decimal = false;
    const std::string_view count = line.substr(at + 5, line.find(',', at + 5) - (at + 5));
    const auto bytes = leadingWhole(count, decimal);
    if (!bytes || *bytes <= 0) return next;
    return std::min(line.size(), data + static_cast<std::size_t>(*bytes));
}

void runText(const ZiiStateSource& state, ZiiFormat& format, std::string_view original, ZiiLineResult& result,
             int depth) {
    // The line in standard characters, when they differ; the connection's buffer for the line
    // itself, so a stream that changed them does not allocate a line.
    std::string local;
    std::string& buffer = depth == 0 ? format.lineBuffer : local;
    std::string_view line = original;
    if (format.ownCharacters()) line = standardCharacters(original, format, buffer);
    Leniencies* notes = &result.leniencies;
    std::size_t at = nextCommandStart(line, 0);
    if (depth == 0 && format.label.inData()) {
        // Field data runs on over the line break, up to the next "^"; graphic data to the next
        // "^" or "~".
        at = format.label.dataEnds() == "^" ? std::min(line.find('^'), line.size())
                                            : nextCommandStart(line, 0);
        format.label.appendData(line.substr(0, at));
        result.found = true;
    }
    while (at < line.size()) {
        // ^CCc and its kin: c is the new character, whatever it is.
        if (line.size() - at >= 3 && line[at + 1] == 'C' && (line[at + 2] == 'C' || line[at + 2] == 'T' || line[at + 2] == 'D')) {
            format.label.endData(notes);
            const char c = at + 3 < original.size() ? original[at + 3] : 0;
            if (c > ' ') {
                (line[at + 2] == 'C' ? format.caret : line[at + 2] == 'T' ? format.tilde : format.delimiter) = c;
                line = standardCharacters(original, format, buffer);
            }
            result.found = true;
            at = nextCommandStart(line, at + 4);
            continue;
        }
        // Field data may hold "~"; only a "^" ends it.
        const bool data = line.size() - at >= 3 && line[at] == '^' && line[at + 1] == 'F' &&
                          (line[at + 2] == 'D' || line[at + 2] == 'V');
        std::size_t next = data ? std::min(line.find('^', at + 1), line.size()) : nextCommandStart(line, at + 1);
        if (begins(line.substr(at), "^GFB")) next = binaryGraphicEnd(line, at, next);
        std::string_view command = line.substr(at, next - at);
        at = next;
        if (!data && !begins(command, "^FX") && !begins(command, "^GF")) {
            std::size_t end = command.size();
            while (end > 0 && (command[end - 1] == ' ' || command[end - 1] == '\t')) --end;
            if (end < command.size()) {
                command = command.substr(0, end);
                noteLeniency(notes, command, "spaces after the command");
            }
        }
        if (format.open && format.label.storing() && !begins(command, "^XZ")) {
            format.label.store(command);
            result.found = true;
            continue;
        }
        if (format.open && begins(command, "^XF")) {
            format.label.endData(notes);
            const std::string* stored = format.label.storedFormat(ZiiValues(command, notes)[0]);
            if (stored && depth < kMaxRecall) {
                const std::string text = *stored;  // a recalled format may store formats itself
                format.label.replaying(true);
                runText(state, format, text, result, depth + 1);
                format.label.replaying(false);
            } else {
                format.label.command(command, notes);  // listed as not drawn
            }
            result.found = true;
            continue;
        }
        const ZiiCommand* known = findCommand(command);
        if (format.open && begins(command, "^WD")) {
            format.label.endData(notes);
            result.objectLists.emplace_back(command.substr(3));
            result.found = true;
            continue;
        }
        if (!known) {
            if (isHostQuery(command) && (command[0] == '~' || format.open)) {
                result.hostQueries.push_back({std::string(command), command[0] == '~' && format.open});
                result.found = true;
                continue;
            }
            if (((command[0] == '^' && format.open) || streamCommand(command)) && format.label.command(command, notes))
                result.found = true;
            continue;
        }
        format.label.endData(notes);
        // A "^" command belongs to a format; outside one the printer ignores it. "~" commands
        // act wherever they stand.
        if (begins(known->name, "^XA")) {
            format.open = true;
            format.label.start();
        }
        if (command[0] == '^' && !format.open) continue;
        if (begins(known->name, "^XZ")) {
            format.open = false;
            if (auto label = format.label.finish(state().current)) result.labels.push_back(std::move(*label));
        }
        result.found = true;
        ZiiState& settings = state();
        if (settings.locked(known->lock)) continue;
        const Values values(command, notes);
        if (!known->run(settings, values)) continue;
        if (begins(known->name, "^JU") && values[0] == "S") result.saved = true;
        if (begins(known->name, "^LL")) format.label.lengthGiven();
    }
}

}  // namespace

bool holdsZiiCommand(std::string_view line) {
    for (std::size_t at = nextCommandStart(line, 0); at < line.size(); at = nextCommandStart(line, at + 1)) {
        if (findCommand(line.substr(at)) || streamCommand(line.substr(at, 3)) || isHostQuery(line.substr(at))) return true;
    }
    return false;
}

void runZiiLine(const ZiiStateSource& state, ZiiFormat& format, std::string_view line,
                ZiiLineResult& result) {
    runText(state, format, line, result, 0);
}

bool runZiiCommand(ZiiState& state, std::string_view command) {
    const ZiiCommand* known = findCommand(command);
    return known && !state.locked(known->lock) && known->run(state, Values(command));
}

std::optional<std::string> settingQueryReply(const ZiiState& state, unsigned code) {
    const ZiiSettings& s = state.current;
    switch (code) {
        case 1:
            return std::to_string(s.labelWidth);
        case 2:
            return std::to_string(s.labelLength);
        case 3:
            return s.inverted ? "B" : "T";
        case 5:
            return std::to_string(s.printSpeed);
        case 6:
            return std::to_string(s.darkness);
        case 7:
            return std::string(1, s.printMode);
        case 8:
            return std::string(1, s.mediaType);
        case 9:
            return std::to_string(s.tearOff);
        case 10:
            return std::to_string(s.printOffset);
        case 11: {
            const SerialSettings& p = s.serial;
            return std::to_string(p.baud) + ',' + std::to_string(p.dataBits) + ',' + p.parity + ',' +
                   std::to_string(p.stopBits) + ',' + p.handshake + ',' + p.protocol;
        }
        case 12:
            return std::string(1, s.mediaHandling);
        case 14:
            return std::string(1, s.powerUpAction);
        default:
            return std::nullopt;
    }
}

std::string lockStatusReply(const ZiiState& state) {
    std::string reply;
    for (int shift = 12; shift >= 0; shift -= 4)
        reply += static_cast<char>('0' + ((state.locks >> shift) & 0xF));
    return reply;
}

void powerCycle(ZiiState& state) {
    state.current = state.saved;
    state.activeSerial = state.saved.serial;
}

void addZiiCommands(CommandSet& commands) {
    // ZII commands may stand anywhere in a line that no other command claims.
    // A format is taken at its ^XZ, whether or not a line end follows: the code page prints send
    // their formats back to back with none. An overlong run is cut before a "^" or "~".
    commands.onOtherLine([](Parser& parser, std::string_view line) {
        // Most lines of a file sent raw hold no command: they cost no lock. Inside a format any
        // "^" may be a label field, and field data may run on over a line with none; such lines
        // take the lock only when a settings command in them needs it.
        ZiiFormat& format = parser.connectionState<ZiiFormat>();
        const bool moreData = format.label.inData();
        if (!moreData && !format.ownCharacters() &&
            (format.open ? nextCommandStart(line, 0) == line.size() : !holdsZiiCommand(line)))
            return false;
        ZiiLineResult result;
        parser.printer().editZiiWhenNeeded(
            [&](const ZiiStateSource& s) { runZiiLine(s, format, line, result); });
        if (result.saved) parser.printer().notifySaved();
        for (const std::string& note : result.leniencies) parser.printer().journal().recordLeniency(note);
        // Binary graphic data that a line end seemed to cut: that byte and the rest are data.
        if (const std::size_t wanted = format.label.binaryWanted(); wanted > 0) {
            std::string head(parser.lineEnd() ? 1 : 0, parser.lineEnd());
            format.label.appendBinary(head);
            if (wanted > head.size())
                parser.expectRaw(wanted - head.size(), [](Parser& p, std::string_view bytes) {
                    p.connectionState<ZiiFormat>().label.appendBinary(bytes);
                });
        }
        for (LabelRecord& label : result.labels) parser.printer().printRecord(std::move(label));
        if (!result.labels.empty()) advanceMedia(parser.printer(), static_cast<int>(result.labels.size()));
        for (const std::string& which : result.objectLists) printObjectList(parser.printer(), which);
        for (const auto& query : result.hostQueries) answerHostQuery(parser, query.command, query.formatOpen);
        return result.found;
    }, "^XZ", "^~");
    commands.onFixed("\x1b\x1c?", 1, [](Parser& parser, std::string_view command) {
        const auto code = static_cast<unsigned char>(command[3]);
        if (const auto reply = settingQueryReply(parser.printer().zii(), code)) parser.reply(*reply);
    });
    commands.onFixed("\x1b\x1c\x1f", 2, [](Parser& parser, std::string_view command) {
        const auto flag = static_cast<unsigned char>(command[3]);
        const auto code = static_cast<unsigned char>(command[4]);
        if (flag > 1) return;
        parser.printer().editZii([&](ZiiState& s) { s.setLock(code, flag == 1); });
    });
    commands.onFixed("\x1b\x1c/", 0, [](Parser& parser, std::string_view) {
        parser.reply(lockStatusReply(parser.printer().zii()));
    });
}

}  // namespace velmora::sim
