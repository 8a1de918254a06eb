// A settings page (app/settingspage.h) as a profile section: its reads and writes are the page's
// operations on one port object, so a profile sends the bytes the page's dialog sends.
#pragma once

#include <memory>

#include "app/settingspage.h"
#include "profile/profilerun.h"

namespace velmora::profile {

std::unique_ptr<SectionProvider> pageProvider(const app::SettingsPage& page, link::CComm& comm,
                                              platform::Clock& clock);

// What came for a value that was not valid, as a profile report names it: "reply 7A 7A (\"zz\")".
std::string describeReply(const app::ReadValue& value);

}  // namespace velmora::profile
