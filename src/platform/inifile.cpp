// The INI reader behind the model catalog and the settings file: the subset of the Windows
// private-profile rules the program relies on, tolerant of whatever bytes a file holds.
#include "platform/inifile.h"

#include <string_view>

#include "platform/files.h"

namespace velmora::platform {

namespace {

constexpr std::string_view kBlanks = " \t\f\v";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Letter case is ignored for ASCII letters only, whatever the locale. Lookups go through hash
// maps of folded names, so a file with many keys reads in linear time.
std::string folded(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = asciiLower(c);
    return out;
}

}  // namespace

bool IniFile::load(const std::string& path, std::string* note, std::size_t maxBytes) {
    const TextFileRead read = readTextFile(path, maxBytes);
    if (note) *note = ignoredNote(read, path, maxBytes);
    parse(read.text);
    return read.hasText();
}

// Replaces the contents with those of `text`. Lines end with LF, CR LF or CR. Key lines before
// the first section header belong to no section and are dropped, as Windows drops them.
void IniFile::parse(const std::string& text) {
    sections_.clear();
    byName_.clear();
    std::string_view rest(text);
    if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) rest.remove_prefix(kUtf8Bom.size());

    Section* current = nullptr;
    while (!rest.empty()) {
        const auto end = rest.find_first_of("\r\n");
        const std::string_view line = trim(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            // The name runs to the last ']'; a header without one is not a header.
            const auto close = line.rfind(']');
            if (close == std::string_view::npos) continue;
            const std::string name(trim(line.substr(1, close - 1)));
            current = find(name);
            if (!current) {
                byName_.emplace(folded(name), sections_.size());
                current = &sections_.emplace_back(Section{name, {}, {}});
            }
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos || !current) continue;
        const std::string_view key = trim(line.substr(0, eq));
        if (key.empty()) continue;
        const std::string value(trim(line.substr(eq + 1)));
        const auto [at, added] = current->byKey.emplace(folded(key), current->entries.size());
        if (added)
            current->entries.push_back(Entry{std::string(key), value});
        else
            current->entries[at->second].value = value;  // a later duplicate wins; first spelling and place stay
    }
}

std::optional<std::string> IniFile::value(const std::string& section, const std::string& key) const {
    const Section* s = find(section);
    if (!s) return std::nullopt;
    const auto it = s->byKey.find(folded(trim(key)));
    if (it == s->byKey.end()) return std::nullopt;
    return s->entries[it->second].value;
}

std::string IniFile::value(const std::string& section, const std::string& key,
                           const std::string& fallback) const {
    return value(section, key).value_or(fallback);
}

std::vector<std::string> IniFile::sections() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& s : sections_) names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::keys(const std::string& section) const {
    std::vector<std::string> names;
    if (const Section* s = find(section)) {
        names.reserve(s->entries.size());
        for (const Entry& entry : s->entries) names.push_back(entry.key);
    }
    return names;
}

IniFile::Section* IniFile::find(const std::string& name) {
    return const_cast<Section*>(static_cast<const IniFile*>(this)->find(name));
}

const IniFile::Section* IniFile::find(const std::string& name) const {
    const auto it = byName_.find(folded(trim(name)));
    return it == byName_.end() ? nullptr : &sections_[it->second];
}

}  // namespace velmora::platform
