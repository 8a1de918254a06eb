// The settings pages a profile covers, on one port object: every registered settings page
// (app/settingspage.h) as a section, the printer's model and firmware for the header, and a
// profile file read and checked against the printer before anything is written.
#pragma once

#include <optional>
#include <string>

#include "link/comm.h"
#include "platform/clock.h"
#include "profile/profilerun.h"

namespace velmora::profile {

// One section provider a settings page, in apply order (the interface pages last).
Providers settingsProviders(link::CComm& comm, platform::Clock& clock);

// Model and firmware as the printer information page reads them; nothing, with why, when the
// printer does not report both as valid text.
std::optional<PrinterFacts> readPrinterFacts(link::CComm& comm, platform::Clock& clock, std::string& why);

// A profile file read, parsed and checked against the printer and menu mode; nothing, with
// `error` ("FILE: line 12: ..."), when it is refused.
std::optional<Profile> loadCheckedProfile(link::CComm& comm, platform::Clock& clock, const std::string& path,
                                          Providers& pages, int menuMode, std::string& error);

// Installs the user-setting manager's profile service (app/profileservice.h) over the same pages.
void installProfileService();

}  // namespace velmora::profile
