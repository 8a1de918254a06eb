// What the user-setting manager's profile buttons ask for: save the printer's settings to a
// profile, compare a profile with the printer, apply one. The program that has the settings pages'
// commands installs the service; without one the buttons are disabled.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/toolcontext.h"

namespace velmora::app {

// One line of a diff table: the setting, what the printer has, what the profile asks for, and
// after an apply what came of it ("applied", "unchanged", "failed (...)").
struct ProfileRow {
    std::string key;  // "zii.basic.darkness"
    std::string printer;
    std::string profile;
    std::string result;
};

class ProfileService {
public:
    virtual ~ProfileService() = default;
    // A summary line ("saved 25 settings ...") or nothing with `error` set.
    virtual std::optional<std::string> save(ToolContext& ctx, const std::string& path, std::string& error) = 0;
    // The keys that differ (empty: none), or nothing with `error` set (a refused profile).
    virtual std::optional<std::vector<ProfileRow>> compare(ToolContext& ctx, const std::string& path,
                                                           std::string& error) = 0;
    // Writes what differs and verifies it: every key of the profile with its result, or nothing
    // with `error` set when the profile was refused and nothing was written.
    virtual std::optional<std::vector<ProfileRow>> apply(ToolContext& ctx, const std::string& path,
                                                         std::string& error) = 0;
};

void setProfileService(ProfileService* service);
ProfileService* profileService();

}  // namespace velmora::app
