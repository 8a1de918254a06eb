// The settings pages a profile covers, each driven through its own get and set commands, and
// the printer's model and firmware for the profile's header.
#pragma once

#include <optional>

#include "cli/commands.h"
#include "profile/profilerun.h"

namespace velmora::cli {

// One page of a profile: its section name, the menu modes that show it, and its commands.
struct ProfilePage {
    const char* section;
    bool native;  // shown in the native menu mode
    bool zii;     // shown in the ZII menu mode
    const char* getCommand;
    const char* setCommand;
    bool identity = false;
    // Keys the get command prints that no set takes (counters), space-separated: not profiled.
    const char* readOnly = "";
};

// In apply order: the interface pages come last, since a changed interface may need a restart.
const std::vector<ProfilePage>& profilePageTable();

// Providers bound to the session, one per page of the table whose commands are registered.
profile::Providers profilePages(Session& s);

// A profile file read, parsed and checked against the session's printer and menu mode; nothing,
// with `error` ("FILE: line 12: ...") set, when it is refused.
std::optional<profile::Profile> loadCheckedProfile(Session& s, const std::string& path, profile::Providers& pages,
                                                   std::string& error);

// Installs the profile service of the user-setting manager's buttons: the same pages and checks
// as the profile commands, their page messages kept out of the window.
void installProfileService();

// Model and firmware as the printer information page reads them; nothing when it does not answer.
std::optional<profile::PrinterFacts> readPrinterFacts(Session& s);

}  // namespace velmora::cli
