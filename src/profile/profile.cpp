// The profile file: reading with a line and a reason for everything refused, and writing.
#include "profile/profile.h"

#include <set>

namespace velmora::profile {

namespace {

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool validName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_')) return false;
    return true;
}

}  // namespace

const ProfileSection* Profile::find(const std::string& name) const {
    for (const auto& s : sections)
        if (s.name == name) return &s;
    return nullptr;
}

std::string ProfileError::text() const { return line > 0 ? "line " + std::to_string(line) + ": " + reason : reason; }

const char* menuModeName(int menuMode) { return menuMode == 0 ? "native" : "zii"; }

std::string quotedValue(const std::string& value) {
    constexpr std::size_t kShown = 40;
    if (value.size() <= kShown) return "\"" + value + "\"";
    return "\"" + value.substr(0, kShown) + "...\" (" + std::to_string(value.size()) + " characters)";
}

std::optional<Profile> parseProfile(const std::string& text, ProfileError& error) {
    Profile p;
    std::set<std::string> seenSections;
    std::set<std::string> seenKeys;
    bool inHeader = false;
    bool headerSeen = false;
    int headerLine = 0;
    ProfileSection* current = nullptr;
    auto fail = [&error](int line, std::string reason) {
        error = {line, std::move(reason)};
        return std::nullopt;
    };
    int lineNo = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        // Lines end with LF, CR LF or a lone CR (as an old Mac editor saves them).
        const auto end = text.find_first_of("\r\n", at);
        const std::string raw = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() + 1
             : text.compare(end, 2, "\r\n") == 0 ? end + 2
                                                 : end + 1;
        ++lineNo;
        if (raw.find('\0') != std::string::npos) return fail(lineNo, "a zero byte: this is not a profile");
        const std::string line = trim(raw);
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return fail(lineNo, "a section header must end with ']'");
            const std::string name = trim(line.substr(1, line.size() - 2));
            if (!validName(name)) return fail(lineNo, "a section name is lowercase letters, digits, '-', '.' and '_'");
            if (!seenSections.insert(name).second) return fail(lineNo, "section [" + name + "] is given twice");
            seenKeys.clear();
            inHeader = name == Profile::kHeaderSection;
            current = nullptr;
            if (inHeader) {
                headerSeen = true;
                headerLine = lineNo;
            } else {
                p.sections.push_back({name, {}, {}, lineNo});
                current = &p.sections.back();
            }
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) return fail(lineNo, "expected KEY=VALUE, a [section] or a comment");
        const std::string key = trim(line.substr(0, eq));
        const std::string value = trim(line.substr(eq + 1));
        if (!validName(key)) return fail(lineNo, "a key is lowercase letters, digits, '-', '.' and '_'");
        if (!inHeader && !current) return fail(lineNo, "a setting before any [section]");
        if (!seenKeys.insert(key).second) return fail(lineNo, "key " + key + " is given twice in its section");
        if (inHeader) {
            if (key == "model") {
                p.model = value;
                p.modelLine = lineNo;
            } else if (key == "firmware") {
                p.firmware = value;
            } else if (key == "menu-mode") {
                p.menuMode = value;
                p.menuModeLine = lineNo;
            } else {
                return fail(lineNo, "unknown key " + key + " in [printer] (model, firmware, menu-mode)");
            }
            continue;
        }
        current->values.emplace_back(key, value);
        current->lines.push_back(lineNo);
    }
    if (!headerSeen) return fail(0, "the [printer] section is missing");
    if (p.model.empty()) return fail(p.modelLine ? p.modelLine : headerLine, "[printer] names no model");
    if (p.menuMode != "zii" && p.menuMode != "native")
        return fail(p.menuModeLine ? p.menuModeLine : headerLine, "[printer] menu-mode must be zii or native");
    return p;
}

std::string formatProfile(const Profile& p) {
    std::string out = "# Velmora settings profile\n[printer]\nmodel=" + p.model + "\nfirmware=" + p.firmware +
                      "\nmenu-mode=" + p.menuMode + "\n";
    for (const auto& s : p.sections) {
        out += "\n[" + s.name + "]\n";
        for (const auto& [k, v] : s.values) out += k + "=" + v + "\n";
    }
    return out;
}

}  // namespace velmora::profile
