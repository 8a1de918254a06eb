// What the native setting operations share in reading replies: a switch read that keeps every
// byte that came (so a reply of more than the one switch byte shows), and the order of the
// replies of one action (a reply after one that never ended may be that one's late answer).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/operation.h"
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

// The replies of one action, in order. Once a reply did not end as its form says (none came, or
// it stopped before its end), the rest of it may still be on the way, so no later reply of the
// action is taken as valid.
class ReplyOrder {
public:
    // `settled`: this reply ended as its form says.
    void take(app::ReadValue& value, bool settled);

private:
    bool unsettled_ = false;
};

// Whether a text reply read into an area of `limit` bytes ended: by its line end, and not by a
// CR that filled the area (its LF may still be on the way).
bool lineEnded(std::string_view reply, std::size_t limit);

// The number of characters of UTF-8 text.
std::size_t characterCount(const std::string& text);

}  // namespace velmora::settings
