// Reader for initialisation ("private profile") files: [Section] headers and Key=Value lines.
// Sections and keys compare case-insensitively, names and values are trimmed, a later duplicate
// key replaces an earlier one, lines starting with ';' are comments.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::platform {

class IniFile {
public:
    // A settings file of a few mappings is a few hundred bytes; more than this is not one.
    static constexpr std::size_t kMaxFileBytes = 64 * 1024;

    // Reads a regular file of at most maxBytes (whole lines of a longer one) through
    // platform::readTextFile. False when nothing was read (the object is then empty); `note`, when
    // given, says what was ignored and why (empty when the file was read whole or is missing).
    bool load(const std::string& path, std::string* note = nullptr, std::size_t maxBytes = kMaxFileBytes);
    void parse(const std::string& text);

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    std::string value(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Sections in file order (first spelling kept); keys of one section in file order.
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(const std::string& section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> byKey;  // folded key -> position
    };
    Section* find(const std::string& name);
    const Section* find(const std::string& name) const;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> byName_;  // folded section name -> position
};

}  // namespace velmora::platform
