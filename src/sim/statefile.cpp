// The saved-settings file: one table of keys, each with how its value is written and the ZII
// command that reads it back.
#include "sim/statefile.h"

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

}  // namespace

std::string stateFileText(const ZiiSettings& saved) {
    std::string text =
        "; velmora-sim's non-volatile memory: the ZII settings as last saved (^JUS).\n"
        "; Read at start with --state; values the printer would refuse are ignored.\n"
        "[";
    text += kSection;
    text += "]\n";
    for (const Key& key : kKeys) text += std::string(key.name) + "=" + key.write(saved) + "\n";
    return text;
}

ZiiSettings readStateText(const std::string& text, std::vector<std::string>& notes) {
    platform::IniFile ini;
    ini.parse(text);
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
    return state.current;
}

std::vector<std::string> StateFile::load(Printer& printer) const {
    std::vector<std::string> notes;
    const platform::TextFileRead read = platform::readTextFile(path_, kMaxBytes);
    if (const std::string note = platform::ignoredNote(read, path_, kMaxBytes); !note.empty()) notes.push_back(note);
    if (!read.hasText()) return notes;
    std::vector<std::string> valueNotes;
    const ZiiSettings saved = readStateText(read.text, valueNotes);
    for (const std::string& note : valueNotes) notes.push_back(path_ + ": " + note);
    printer.editZii([&](ZiiState& s) {
        s.saved = saved;
        powerCycle(s);
    });
    return notes;
}

bool StateFile::save(const Printer& printer, std::string& error) const {
    return platform::replaceFile(path_, stateFileText(printer.zii().saved), error);
}

}  // namespace velmora::sim
