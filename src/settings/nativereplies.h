// What the native setting operations share in reading replies: a switch read that keeps every
// byte that came (so a reply of more than the one switch byte shows), and a single read of a
// text reply.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/operation.h"
#include "ui/dataexchange.h"
#include "link/comm.h"
#include "platform/clock.h"

namespace velmora::settings {

// Sends a switch read, waits, and reads once into a small area: the bytes that came, NUL bytes
// included (a switch may hold 0); empty when none came. Nothing when the read command could not
// be written.
std::optional<std::string> querySwitchBytes(link::CComm& comm, platform::Clock& clock, char prefix,
                                            int switchNumber, unsigned waitMs);

// Sends `query`, waits, and reads once up to `limit` bytes, text cut at a NUL (`text` false: every
// byte that came). Nothing when the query could not be written.
std::optional<std::string> queryOnce(link::CComm& comm, platform::Clock& clock, std::string_view query,
                                     unsigned waitMs, std::size_t limit, bool text = true);

using app::ReplyOrder;

// Whether a text reply read into an area of `limit` bytes ended: by its line end, and not by a
// CR that filled the area (its LF may still be on the way).
bool lineEnded(std::string_view reply, std::size_t limit);
using ui::characterCount;

}  // namespace velmora::settings
