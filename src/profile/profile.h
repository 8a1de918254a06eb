// A settings profile: every setting the tools can read, grouped by page, as a readable INI file.
// The [printer] section says which printer and menu mode it was taken from; every other section
// is one settings page, its keys as the page's command-line commands name them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::profile {

using KeyValues = std::vector<std::pair<std::string, std::string>>;  // in page order

struct ProfileSection {
    std::string name;  // "zii.basic"
    KeyValues values;
    std::vector<int> lines;  // the file line of each value (0 for a profile made in memory)
    int line = 0;            // the line of the section's header
};

struct Profile {
    static constexpr const char* kHeaderSection = "printer";
    std::string model;
    std::string firmware;
    std::string menuMode;  // "zii" or "native"
    std::vector<ProfileSection> sections;
    int modelLine = 0;     // where the header named them (0 for a profile made in memory)
    int menuModeLine = 0;

    const ProfileSection* find(const std::string& name) const;
};

// Why a profile file was refused, and where.
struct ProfileError {
    int line = 0;  // 0: the file as a whole
    std::string reason;
    std::string text() const;  // "line 12: ..." or the reason alone
};

// The menu mode's name in a profile.
const char* menuModeName(int menuMode);
// A value as a message quotes it: whole when short, else its start and its length, so a huge
// value in a file never becomes a huge message.
std::string quotedValue(const std::string& value);

// Parses a profile: [section] headers, KEY=VALUE lines, blank lines and '#' or ';' comments.
// Refused: a line that is none of these, a value outside a section, a section or key given
// twice, a header without model, firmware or menu mode.
std::optional<Profile> parseProfile(const std::string& text, ProfileError& error);
std::string formatProfile(const Profile& profile);

}  // namespace velmora::profile
