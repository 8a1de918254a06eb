// The saved-settings file: for each section a table of keys, each with how its value is written
// and how it is read back (a ZII command, or a check that the native setting can hold it).
#include "sim/statefile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/files.h"
#include "platform/inifile.h"
#include "sim/printer.h"

namespace velmora::sim {

namespace {

constexpr const char* kSection = "ZII";

struct Key {
    const char* name;
    std::string (*write)(const ZiiSettings& s);
    // The command that sets the value ("^PW" + value), or "" when the value cannot be one.
    std::string (*command)(std::string_view value);
    bool list = false;  // a comma-separated value; in the others a comma would smuggle in more
};

std::string letter(char c) { return std::string(1, c); }

const Key kKeys[] = {
    {"label-width", [](const ZiiSettings& s) { return std::to_string(s.labelWidth); },
     [](std::string_view v) { return "^PW" + std::string(v); }},
    {"label-length", [](const ZiiSettings& s) { return std::to_string(s.labelLength); },
     [](std::string_view v) { return "^LL" + std::string(v); }},
    {"orientation", [](const ZiiSettings& s) { return std::string(s.inverted ? "I" : "N"); },
     [](std::string_view v) { return "^PO" + std::string(v); }},
    {"print-speed", [](const ZiiSettings& s) { return std::to_string(s.printSpeed); },
     [](std::string_view v) { return "^PR" + std::string(v); }},
    {"slew-speed", [](const ZiiSettings& s) { return std::to_string(s.slewSpeed); },
     [](std::string_view v) { return "^PR," + std::string(v); }},
    {"darkness", [](const ZiiSettings& s) { return std::to_string(s.darkness); },
     [](std::string_view v) { return "~SD" + std::string(v); }},
    {"print-mode", [](const ZiiSettings& s) { return letter(s.printMode); },
     [](std::string_view v) { return "^MT" + std::string(v); }},
    // Written as the setting query answers it (W, C or M); ^MN calls continuous media N.
    {"media-type", [](const ZiiSettings& s) { return letter(s.mediaType); },
     [](std::string_view v) { return v == "W" || v == "M" ? "^MN" + std::string(v) : v == "C" ? "^MNN" : ""; }},
    {"tear-off", [](const ZiiSettings& s) { return std::to_string(s.tearOff); },
     [](std::string_view v) { return "~TA" + std::string(v); }},
    {"print-offset", [](const ZiiSettings& s) { return std::to_string(s.printOffset); },
     [](std::string_view v) { return "^LT" + std::string(v); }},
    {"media-handling", [](const ZiiSettings& s) { return letter(s.mediaHandling); },
     [](std::string_view v) { return "^MM" + std::string(v); }},
    {"power-up-action", [](const ZiiSettings& s) { return letter(s.powerUpAction); },
     [](std::string_view v) { return "^MF" + std::string(v); }},
    {"head-close-action", [](const ZiiSettings& s) { return letter(s.headCloseAction); },
     [](std::string_view v) { return "^MF," + std::string(v); }},
    {"mirror", [](const ZiiSettings& s) { return std::string(s.mirror ? "Y" : "N"); },
     [](std::string_view v) { return "^PM" + std::string(v); }},
    {"serial",
     [](const ZiiSettings& s) {
         const SerialSettings& p = s.serial;
         return std::to_string(p.baud) + ',' + std::to_string(p.dataBits) + ',' + p.parity + ',' +
                std::to_string(p.stopBits) + ',' + p.handshake + ',' + p.protocol;
     },
     [](std::string_view v) { return "^SC" + std::string(v); }, true},
};

const Key* findKey(const std::string& name) {
    for (const Key& key : kKeys) {
        if (name == key.name) return &key;
    }
    return nullptr;
}

constexpr const char* kNativeSection = "Native";

// A native setting: how it is written and how a value is read into it (false: the printer could
// not hold that value, nothing changed).
struct NativeKey {
    std::string name;
    std::function<std::string(const NativeState&)> write;
    std::function<bool(NativeState&, std::string_view)> read;
};

// Native strings come from raw bytes; the INI reader trims values and ends lines at CR or LF, so
// those bytes, bytes above ASCII, a space at either end and the backslash itself go as \xNN.
std::string escaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool edgeSpace = byte == ' ' && (i == 0 || i + 1 == text.size());
        if (byte < 0x20 || byte >= 0x7f || byte == '\\' || edgeSpace) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            out += code;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Exactly two hex digits.
std::optional<std::uint8_t> hexByte(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
    if (text.size() != 2 || ec != std::errc() || ptr != end) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        const auto byte = text.substr(i + 1, 1) == "x" ? hexByte(text.substr(i + 2, 2)) : std::nullopt;
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
        i += 3;
    }
    return out;
}

// The whole of `text` as a number of type T (digits, and a minus sign where T has one).
template <typename T>
std::optional<T> wholeNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::vector<NativeKey> makeNativeKeys() {
    std::vector<NativeKey> keys;
    for (int i = 0; i < NativeState::kSwitches; ++i) {
        keys.push_back({"switch-" + std::to_string(i + 1),
                        [i](const NativeState& s) {
                            char text[4];
                            std::snprintf(text, sizeof text, "%02X", s.switches[i]);
                            return std::string(text);
                        },
                        [i](NativeState& s, std::string_view v) {
                            const auto byte = hexByte(v);
                            if (byte) s.switches[i] = *byte;
                            return byte.has_value();
                        }});
    }
    // The ranges ^MBU, SA and TA take.
    struct UserValue {
        const char* name;
        int NativeUserValues::*field;
        int min, max;
    };
    static constexpr UserValue kUserValues[] = {
        {"paper-width", &NativeUserValues::paperWidth, 0, 832},
        {"density", &NativeUserValues::density, 0, 20},
        {"paper-length", &NativeUserValues::paperLength, 0, 2432},
        {"h-margin", &NativeUserValues::hMargin, 0, 832},
        {"v-margin", &NativeUserValues::vMargin, 0, 2432},
        {"gap-length", &NativeUserValues::gapLength, -9999, 9999},
        {"offset", &NativeUserValues::offset, -100, 100},
        {"tear-off", &NativeUserValues::tearOff, -100, 100},
    };
    for (const UserValue& u : kUserValues) {
        keys.push_back({u.name, [&u](const NativeState& s) { return std::to_string(s.values.*u.field); },
                        [&u](NativeState& s, std::string_view v) {
                            const auto value = wholeNumber<int>(v);
                            if (!value || *value < u.min || *value > u.max) return false;
                            s.values.*u.field = *value;
                            return true;
                        }});
    }
    keys.push_back({"label-length-check", [](const NativeState& s) { return std::string(s.labelLengthCheck ? "Y" : "N"); },
                    [](NativeState& s, std::string_view v) {
                        if (v != "Y" && v != "N") return false;
                        s.labelLengthCheck = v == "Y";
                        return true;
                    }});
    const char* const kIdentityNames[] = {"hardware-version", "serial-number", "printer-id"};
    for (int i = 0; i < 3; ++i) {
        keys.push_back({kIdentityNames[i], [i](const NativeState& s) { return escaped(s.identity[i]); },
                        [i](NativeState& s, std::string_view v) {
                            const auto text = unescaped(v);
                            if (!text || text->size() > NativeState::kIdentityLimits[i]) return false;
                            s.identity[i] = *text;
                            return true;
                        }});
    }
    const char* const kCounterNames[] = {"motor", "head", "cutter"};
    for (int kind = 0; kind < kCounterKinds; ++kind) {
        for (int which = 0; which < 2; ++which) {
            keys.push_back({std::string(kCounterNames[kind]) + (which == 0 ? "-count" : "-total"),
                            [=](const NativeState& s) { return std::to_string(s.counters[kind][which]); },
                            [=](NativeState& s, std::string_view v) {
                                const auto value = wholeNumber<unsigned>(v);
                                if (value) s.counters[kind][which] = *value;
                                return value.has_value();
                            }});
        }
    }
    keys.push_back({"usb-serial", [](const NativeState& s) { return escaped(s.usbSerial); },
                    [](NativeState& s, std::string_view v) {
                        const auto text = unescaped(v);
                        if (!text || text->size() != NativeState::kUsbSerialLength) return false;
                        s.usbSerial = *text;
                        return true;
                    }});
    return keys;
}

const std::vector<NativeKey>& nativeKeys() {
    static const std::vector<NativeKey> keys = makeNativeKeys();
    return keys;
}

void readNative(const platform::IniFile& ini, NativeState& native, std::vector<std::string>& notes) {
    for (const std::string& name : ini.keys(kNativeSection)) {
        const std::string value = ini.value(kNativeSection, name, "");
        const auto& keys = nativeKeys();
        const auto key = std::find_if(keys.begin(), keys.end(), [&](const NativeKey& k) { return k.name == name; });
        if (key == keys.end())
            notes.push_back("unknown key " + name + "; ignored");
        else if (!key->read(native, value))
            notes.push_back(name + "=" + value + " is not a valid value; ignored");
    }
}

}  // namespace

std::string stateFileText(const SavedState& saved) {
    std::string text =
        "; velmora-sim's non-volatile memory: the ZII settings as last saved (^JUS) and the native\n"
        "; settings. Read at start with --state; values the printer would refuse are ignored.\n"
        "[";
    text += kSection;
    text += "]\n";
    for (const Key& key : kKeys) text += std::string(key.name) + "=" + key.write(saved.zii) + "\n";
    text += "[";
    text += kNativeSection;
    text += "]\n";
    for (const NativeKey& key : nativeKeys()) text += key.name + "=" + key.write(saved.native) + "\n";
    return text;
}

SavedState readStateText(const std::string& text, std::vector<std::string>& notes) {
    platform::IniFile ini;
    ini.parse(text);
    SavedState saved;
    ZiiState state;  // factory settings, no locks
    for (const std::string& name : ini.keys(kSection)) {
        const std::string value = ini.value(kSection, name, "");
        const Key* key = findKey(name);
        if (!key) {
            notes.push_back("unknown key " + name + "; ignored");
            continue;
        }
        // An empty value would be an omitted one, which the command takes as "keep".
        const bool shapeOk = !value.empty() && (key->list || value.find(',') == std::string::npos) &&
                             value.find_first_of("^~") == std::string::npos;
        const std::string command = shapeOk ? key->command(value) : std::string();
        if (command.empty() || !runZiiCommand(state, command))
            notes.push_back(name + "=" + value + " is not a valid value; ignored");
    }
    saved.zii = state.current;
    readNative(ini, saved.native, notes);
    return saved;
}

std::vector<std::string> StateFile::load(Printer& printer) const {
    std::vector<std::string> notes;
    const platform::TextFileRead read = platform::readTextFile(path_, kMaxBytes);
    if (const std::string note = platform::ignoredNote(read, path_, kMaxBytes); !note.empty()) notes.push_back(note);
    if (!read.hasText()) return notes;
    std::vector<std::string> valueNotes;
    const SavedState saved = readStateText(read.text, valueNotes);
    for (const std::string& note : valueNotes) notes.push_back(path_ + ": " + note);
    printer.editZii([&](ZiiState& s) {
        s.saved = saved.zii;
        powerCycle(s);
    });
    printer.editNative([&](NativeState& s) {
        s.switches = saved.native.switches;
        s.staged = {};  // staged bytes are not kept
        s.values = saved.native.values;
        s.labelLengthCheck = saved.native.labelLengthCheck;
        s.identity = saved.native.identity;
        s.counters = saved.native.counters;
        s.usbSerial = saved.native.usbSerial;
    });
    return notes;
}

bool StateFile::save(const Printer& printer, std::string& error) const {
    return platform::writeOutputFile(path_, stateFileText({printer.zii().saved, printer.native()}), error);
}

}  // namespace velmora::sim
