// Reader for initialisation ("private profile") files: [Section] headers and Key=Value lines.
// Sections and keys compare case-insensitively, names and values are trimmed, a later duplicate
// key replaces an earlier one, lines starting with ';' are comments.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::platform {

class IniFile {
public:
    // False when the file cannot be read (the object is then empty).
    bool load(const std::string& path);
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
