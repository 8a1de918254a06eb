// The native setting commands of the simulated printer (see native_settings.h).
#include "sim/native_settings.h"

#include <charconv>
#include <cstdio>
#include <string_view>

#include "sim/parser.h"

namespace velmora::sim {

namespace {

constexpr char kResetMark = '\x0f';

// The whole of `text` as an integer (an optional minus sign and digits), or nothing.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// "SA+007" / "TA-12": a sign and digits.
std::optional<int> signedNumber(std::string_view text) {
    if (text.empty() || (text[0] != '+' && text[0] != '-')) return std::nullopt;
    const auto magnitude = wholeNumber(text.substr(1));
    if (!magnitude || *magnitude < 0) return std::nullopt;
    return text[0] == '-' ? -*magnitude : *magnitude;
}

// A sign and three digits, as the offset and tear-off are answered.
std::string signedReply(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%c%03d", value < 0 ? '-' : '+', value < 0 ? -value : value);
    return std::string(text) + "\r\n";
}

int switchIndex(char digit) { return digit >= '1' && digit <= '4' ? digit - '1' : -1; }

bool languageSwitch(int index) { return index == 0 || index == 2; }

void readSwitch(Parser& parser, std::string_view command) {
    const int index = switchIndex(command[4]);
    if (index < 0 || command[5] != ',') return;
    const std::uint8_t byte = parser.printer().native().switches[index];
    parser.reply(std::span(&byte, 1));
}

void stageSwitch(Parser& parser, std::string_view command) {
    const int index = switchIndex(command[4]);
    if (index < 0 || command[5] != ',') return;
    const auto value = static_cast<std::uint8_t>(command[6]);
    parser.printer().editNative([&](NativeState& s) { s.staged[index] = value; });
}

void commitSwitch(Parser& parser, std::string_view command) {
    const int index = static_cast<std::uint8_t>(command[4]) - 1;
    if (index < 0 || index >= NativeState::kSwitches) return;
    const bool locked = languageSwitch(index) && parser.printer().zii().locked(kLockLanguage);
    parser.printer().editNative([&](NativeState& s) {
        if (s.staged[index] && !locked) s.switches[index] = *s.staged[index];
        s.staged[index].reset();
    });
    parser.printer().notifySaved();
}

void setUserValue(Parser& parser, std::string_view line) {
    const std::string_view rest = line.substr(4);
    if (rest == std::string_view("\x0f,99", 4)) {
        parser.printer().editNative([](NativeState& s) { s.values = NativeUserValues{}; });
        parser.printer().notifySaved();
        return;
    }
    if (rest.size() < 3 || rest[1] != ',') return;
    const auto value = wholeNumber(rest.substr(2));
    if (!value) return;
    struct Target {
        int NativeUserValues::*field;
        int min, max;
    };
    static constexpr Target kTargets[] = {
        {&NativeUserValues::paperWidth, 0, 832}, {&NativeUserValues::density, 0, 20},
        {&NativeUserValues::paperLength, 0, 2432}, {&NativeUserValues::hMargin, 0, 832},
        {&NativeUserValues::vMargin, 0, 2432}, {&NativeUserValues::gapLength, -9999, 9999},
    };
    const int n = rest[0] - '0';
    if (n < 0 || n > 5 || *value < kTargets[n].min || *value > kTargets[n].max) return;
    parser.printer().editNative([&](NativeState& s) { s.values.*kTargets[n].field = *value; });
    parser.printer().notifySaved();
}

void setSigned(Parser& parser, std::string_view line, int NativeUserValues::*field) {
    const auto value = signedNumber(line.substr(2));
    if (!value || *value < -100 || *value > 100) return;
    parser.printer().editNative([&](NativeState& s) { s.values.*field = *value; });
    parser.printer().notifySaved();
}

void query(Parser& parser, std::string_view line) {
    const NativeState s = parser.printer().native();
    const std::string_view what = line.substr(3);
    std::optional<std::string> text;
    if (what == "0") {
        text = s.modelName;
    } else if (what == "2") {
        text = s.firmware;
    } else if (what.size() == 5 && what.substr(0, 2) == "3," && what[3] == ',') {
        const int kind = what[2] - '0';
        const int which = what[4] - '0';
        if (kind >= 0 && kind < kCounterKinds && (which == 0 || which == 1))
            text = std::to_string(s.counters[kind][which]);
    } else if (what == "4,1") {
        text = std::to_string(s.values.density);
    } else if (what == "4,2") {
        parser.reply(signedReply(s.values.tearOff));
        return;
    } else if (what.size() == 3 && what.substr(0, 2) == "5,") {
        const int values[] = {s.values.paperWidth, s.values.paperLength, s.values.gapLength, s.values.hMargin,
                              s.values.vMargin};
        const int n = what[2] - '0';
        if (n >= 0 && n <= 4) text = std::to_string(values[n]);
    }
    if (text) parser.reply(*text + "\r\n");
}

void identity(Parser& parser, std::string_view line) {
    const bool read = line[3] == 'X';
    std::string_view rest = line.substr(4);
    if (read) {
        const int i = rest.size() == 1 ? rest[0] - '0' : -1;
        if (i >= 0 && i <= 2) parser.reply(parser.printer().native().identity[i] + "\r\n");
        return;
    }
    if (rest.size() == 3 && rest[0] == kResetMark && rest[1] == ',') {
        const int i = rest[2] - '0';
        static const NativeState kFactory;
        if (i < 0 || i > 2) return;
        parser.printer().editNative([&](NativeState& s) { s.identity[i] = kFactory.identity[i]; });
        parser.printer().notifySaved();
        return;
    }
    if (rest.size() < 2 || rest[1] != ',') return;
    const int i = rest[0] - '0';
    if (i < 0 || i > 2) return;
    const std::string text(rest.substr(2, NativeState::kIdentityLimits[i]));
    parser.printer().editNative([&](NativeState& s) { s.identity[i] = text; });
    parser.printer().notifySaved();
}

}  // namespace

void addNativeSettingCommands(CommandSet& commands) {
    for (const char* prefix : {"^", "*"}) {
        const std::string p(prefix);
        commands.onFixed(p + "MBR", 3, readSwitch);
        commands.onFixed(p + "MBS", 3, stageSwitch);
        commands.onFixed(p + "MBA", 1, commitSwitch);
    }
    commands.onLine("^MBU", setUserValue);
    commands.onLine("SA", [](Parser& parser, std::string_view line) {
        setSigned(parser, line, &NativeUserValues::offset);
    });
    commands.onLine("TA", [](Parser& parser, std::string_view line) {
        setSigned(parser, line, &NativeUserValues::tearOff);
    });
    commands.onLine("^SA", [](Parser& parser, std::string_view line) {
        if (line == "^SA") parser.reply(signedReply(parser.printer().native().values.offset));
    });
    commands.onFixed("^MBL", 1, [](Parser& parser, std::string_view command) {
        if (command[4] != '0' && command[4] != '1') return;
        parser.printer().editNative([&](NativeState& s) { s.labelLengthCheck = command[4] == '1'; });
        parser.printer().notifySaved();
    });
    commands.onLine("^PI", query);
    commands.onLine("^MBX", identity);
    commands.onLine("^MBY", identity);
    commands.onFixed(std::string("*MBY") + kResetMark, 1, [](Parser& parser, std::string_view command) {
        const int kind = static_cast<std::uint8_t>(command[5]) - 0x0C;
        if (kind < 0 || kind >= kCounterKinds) return;
        parser.printer().editNative([&](NativeState& s) { s.counters[kind][0] = 0; });
        parser.printer().notifySaved();
    });
    commands.onFixed("\x1b\x1c\x1d", 13, [](Parser& parser, std::string_view command) {
        parser.printer().editNative([&](NativeState& s) { s.usbSerial = std::string(command.substr(3)); });
        parser.printer().notifySaved();
    });
}

}  // namespace velmora::sim
