// The simulated RFID encoder and tag: the ">RF" commands applied to RfidState.
#include "sim/rfid.h"

#include <charconv>
#include <climits>

#include "sim/labelrecord.h"
#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::sim {

namespace {

constexpr std::string_view kFamily = ">RF";

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> out;
    for (;;) {
        const auto comma = text.find(',');
        out.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) return out;
        text.remove_prefix(comma + 1);
    }
}

bool parseInt(std::string_view text, int& out, int lo, int hi) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi) return false;
    out = value;
    return true;
}

// The text between the first and the last apostrophe of `text`, which must begin and end it.
std::optional<std::string_view> quoted(std::string_view text) {
    if (text.size() < 2 || text.front() != '\'' || text.back() != '\'') return std::nullopt;
    return text.substr(1, text.size() - 2);
}

std::optional<std::uint32_t> parsePassword(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    const auto bytes = parseHexBytes(text);
    if (!bytes) return std::nullopt;
    std::uint32_t v = 0;
    for (std::uint8_t b : *bytes) v = (v << 8) | b;
    return v;
}

std::string hexText(const std::uint8_t* data, std::size_t n) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 15];
    }
    return out;
}

bool kindMatches(const RfidTag& tag, bool metal) { return metal == (tag.kind == TagKind::Metal); }

// "H,4,12,'3008...'" after ">RFW," or ">RFw,".
std::optional<TagWrite> parseWrite(bool metal, std::string_view params) {
    const auto quote = params.find('\'');
    if (quote == std::string_view::npos || quote == 0 || params[quote - 1] != ',') return std::nullopt;
    const auto fields = splitFields(params.substr(0, quote - 1));
    const auto data = quoted(params.substr(quote));
    if (fields.size() != 3 || !data || fields[0].size() != 1) return std::nullopt;
    TagWrite w;
    w.metal = metal;
    const char code = fields[0][0];
    if (code != 'H' && code != 'A' && code != 'U' && code != 'u') return std::nullopt;
    w.user = code == 'U' || code == 'u';
    w.ascii = code == 'A';
    if (!parseInt(fields[1], w.start, 0, 255) || !parseInt(fields[2], w.count, 1, 255)) return std::nullopt;
    w.data = std::string(*data);
    return w;
}

void runLockPayload(RfidTag& tag, std::string_view params) {
    if (params.size() < 3 || params[1] != ',' || (params[0] != 'L' && params[0] != 'U')) return;
    const bool unlock = params[0] == 'U';
    const auto body = quoted(params.substr(2));
    if (!body) return;
    const auto bytes = splitFields(*body);
    if (bytes.size() != 3) return;
    std::uint32_t payload = 0;
    for (auto b : bytes) {
        const auto v = b.size() == 2 ? parseHexBytes(b) : std::nullopt;
        if (!v) return;
        payload = (payload << 8) | (*v)[0];
    }
    payload >>= 4;  // left-aligned in three bytes
    const auto bit = [payload](int n) { return ((payload >> n) & 1) != 0; };
    // A tag refuses the whole lock when it would change an area locked for good.
    for (int a = 0; a < kLockAreas; ++a)
        if ((bit(19 - 2 * a) || bit(18 - 2 * a)) && tag.locks[a].permanent) return;
    for (int a = 0; a < kLockAreas; ++a) {
        AreaLock& lock = tag.locks[a];
        if (unlock) {
            if (bit(19 - 2 * a)) lock.locked = false;
            continue;
        }
        if (bit(19 - 2 * a)) lock.locked = bit(9 - 2 * a);
        if (bit(18 - 2 * a)) lock.permanent = bit(8 - 2 * a);
    }
}

void runPasswords(RfidTag& tag, std::string_view params) {
    const auto body = quoted(params);
    if (!body) return;
    const auto fields = splitFields(*body);
    if (fields.size() != 4) return;
    std::array<std::uint32_t, 4> p{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto v = parsePassword(fields[i]);
        if (!v) return;
        p[i] = *v;
    }
    if (p[0] != tag.accessPassword || p[1] != tag.killPassword) return;
    if ((tag.locks[kAccessPassword].permanent && p[2] != tag.accessPassword) ||
        (tag.locks[kKillPassword].permanent && p[3] != tag.killPassword))
        return;
    tag.accessPassword = p[2];
    tag.killPassword = p[3];
}

void setMemoryLocks(RfidTag& tag, bool locked) {
    for (LockArea a : {kEpcMemory, kUserMemory})
        if (!tag.locks[a].permanent) tag.locks[a].locked = locked;
}

void runSettings(RfidSettings& settings, std::string_view params) {
    const auto fields = splitFields(params);
    if (fields.size() != 3 && fields.size() != 4) return;
    RfidSettings next = settings;
    std::size_t i = 0;
    if (fields.size() == 4) {
        if (!parseInt(fields[i++], next.tagCode, 2, 5) || (next.tagCode != 2 && next.tagCode != 5)) return;
    }
    if (!parseInt(fields[i++], next.retries, 0, 10) || !parseInt(fields[i++], next.labels, 0, 5) ||
        !parseInt(fields[i], next.power, 1, 31))
        return;
    settings = next;
}

// Runs one command; `queueLabelTags` is false while the waiting commands run at a print.
void runCommand(RfidState& state, std::string_view line, std::string& reply, std::optional<std::string>& printData,
                bool queueLabelTags) {
    if (!line.starts_with(kFamily)) return;
    line.remove_prefix(kFamily.size());
    const auto comma = line.find(',');
    const std::string_view op = line.substr(0, comma);
    const std::string_view params = comma == std::string_view::npos ? std::string_view{} : line.substr(comma + 1);
    RfidTag& tag = state.tag;

    const bool tagCommand = op == "W" || op == "Z" || op == "LP" || op == "LK" || op == "UL" || op == "KL";
    if (tagCommand && queueLabelTags && (op == "W" || !state.waiting.empty())) {
        if (state.waiting.size() < RfidState::kMaxWaiting) {
            state.waiting.push_back(std::string(kFamily) + std::string(line));
        } else if (op == "W") {
            ++state.voids;  // no room to keep it: this tag will not be encoded
        }
        return;
    }

    if (op == "W" || op == "w") {
        const auto write = parseWrite(op == "w", params);
        if (write) {
            writeTag(state, *write);
        } else {
            ++state.voids;  // the encoder could not make sense of it: the tag is not encoded
        }
    } else if (op == "R" || op == "r") {
        const auto fields = splitFields(params);
        int start = 0, count = 0;
        if (fields.size() != 4 || fields[0].size() != 1 || !parseInt(fields[1], start, 0, 255) ||
            !parseInt(fields[2], count, 1, 255))
            return;
        const auto data = readTag(state, op == "r", fields[0][0], start, count);
        if (fields[3] == "S") {
            if (data) reply = *data;
        } else if (fields[3] == "P") {
            printData = data.value_or("");
        }
    } else if (op == "I") {
        int item = 0;
        if (parseInt(params, item, 1, 7)) reply = rfidSettingReply(state, item).value_or("");
    } else if (op == "S") {
        runSettings(state.settings, params);
    } else if (op == "TP") {
        int position = 0;
        if (parseInt(params, position, INT_MIN, INT_MAX)) state.settings.position = std::to_string(position);
    } else if (op == "VR") {
        state.valid = state.voids = 0;
    } else if (op == "CP") {
        if (!tag.killed) state.settings.position = std::to_string(tag.inlayPosition);
    } else if (tag.killed) {
        return;  // a killed tag does nothing more
    } else if (op == "Z") {
        runPasswords(tag, params);
    } else if (op == "LP") {
        runLockPayload(tag, params);
    } else if (op == "LK" || op == "UL") {
        setMemoryLocks(tag, op == "LK");
    } else if (op == "KL") {
        // A tag whose kill password is zero cannot be killed.
        if (tag.killPassword != 0) tag.killed = true;
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text) {
    if (text.size() % 2) return std::nullopt;
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        std::uint8_t v = 0;
        const auto [end, ec] = std::from_chars(text.data() + i, text.data() + i + 2, v, 16);
        if (ec != std::errc() || end != text.data() + i + 2) return std::nullopt;
        out.push_back(v);
    }
    return out;
}

std::optional<std::string> rfidSettingReply(const RfidState& state, int item) {
    const RfidSettings& s = state.settings;
    switch (item) {
        case 1:
            return s.tagCode == 2 ? "ISO-B" : "GEN2";
        case 2:
            return std::to_string(s.power);
        case 3:
            return s.position.substr(0, 16);
        case 4:
            return std::to_string(s.retries);
        case 5:
            return std::to_string(s.labels);
        case 6:
            return std::to_string(state.valid).substr(0, 16);
        case 7:
            return std::to_string(state.voids).substr(0, 16);
        default:
            return std::nullopt;
    }
}

bool writeTag(RfidState& state, const TagWrite& write) {
    RfidTag& tag = state.tag;
    const auto fail = [&state] {
        ++state.voids;
        return false;
    };
    if (state.voidEveryWrite || tag.killed || !kindMatches(tag, write.metal)) return fail();
    std::vector<std::uint8_t> bytes;
    // User memory data carries no format code: one character a byte, or two hexadecimal digits.
    const bool characters = write.ascii || (write.user && static_cast<int>(write.data.size()) == write.count);
    if (characters) {
        bytes.assign(write.data.begin(), write.data.end());
    } else if (auto hex = parseHexBytes(write.data)) {
        bytes = std::move(*hex);
    } else {
        return fail();
    }
    std::vector<std::uint8_t>& memory = write.user ? tag.user : tag.epc;
    const AreaLock& lock = tag.locks[write.user ? kUserMemory : kEpcMemory];
    if (static_cast<int>(bytes.size()) != write.count || write.start < 0 ||
        static_cast<std::size_t>(write.start) + bytes.size() > memory.size() || lock.locked)
        return fail();
    std::copy(bytes.begin(), bytes.end(), memory.begin() + write.start);
    ++state.valid;
    return true;
}

std::optional<std::string> readTag(const RfidState& state, bool metal, char code, int start, int count) {
    const RfidTag& tag = state.tag;
    if (tag.killed || !kindMatches(tag, metal) || start < 0 || count < 1) return std::nullopt;
    if (code != 'H' && code != 'A' && code != 'U' && code != 'u') return std::nullopt;
    const std::vector<std::uint8_t>& memory = (code == 'U' || code == 'u') ? tag.user : tag.epc;
    if (static_cast<std::size_t>(start) + static_cast<std::size_t>(count) > memory.size()) return std::nullopt;
    if (code == 'A') return std::string(memory.begin() + start, memory.begin() + start + count);
    return hexText(memory.data() + start, static_cast<std::size_t>(count));
}

void runRfidCommand(RfidState& state, std::string_view line, std::string& reply,
                    std::optional<std::string>& printData) {
    runCommand(state, line, reply, printData, true);
}

void labelPrinted(RfidState& state) {
    const std::vector<std::string> waiting = std::move(state.waiting);
    state.waiting.clear();
    std::string reply;
    std::optional<std::string> printData;
    for (const std::string& line : waiting) runCommand(state, line, reply, printData, false);
}

void addRfidCommands(CommandSet& commands) {
    commands.onLine(std::string(kFamily), [](Parser& parser, std::string_view line) {
        std::string reply;
        std::optional<std::string> printData;
        parser.printer().editRfid([&](RfidState& state) { runRfidCommand(state, line, reply, printData); });
        if (!reply.empty()) parser.reply(reply);
        if (printData) {
            // The tag-data label: the data as one line of text.
            TextField text;
            text.x = text.y = 20;
            text.font = '3';
            text.data = *printData;
            parser.printer().editLabels([&](LabelBook& book) { book.addField(text); });
            parser.printer().printLabel(1, 1);
        }
    });
}

}  // namespace velmora::sim
