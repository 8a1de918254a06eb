// Find and replace in the communication window's send text, as its find/replace dialog works:
// forward from the end of the selection, case-sensitive, no whole-word rule, never wrapping to the
// start. Positions are byte offsets in the UTF-8 text (a match never starts inside a character).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::terminal {

struct Selection {
    std::size_t start = 0, end = 0;
    bool operator==(const Selection&) const = default;
};

// The first match of `what` at or after `from`; nothing for an empty `what` or no match.
std::optional<Selection> findNext(std::string_view text, std::string_view what, std::size_t from);

struct ReplaceResult {
    std::string text;
    bool replaced = false;
    std::optional<Selection> next;  // the match to select next, in the new text
};
// "Replace": the selection is replaced only when it holds exactly `what`; either way the next
// match after the selection is found, so a first press on a caret finds and a second replaces.
ReplaceResult replaceSelection(std::string_view text, Selection selection, std::string_view what,
                               std::string_view with);

struct ReplaceAllResult {
    std::string text;
    std::size_t count = 0;
    std::optional<Selection> last;  // the last replacement, in the new text
};
// "Replace All": every match of `what` in the text as it was, left to right; the replacements are
// never searched again, so it always ends ("a" by "aa" in "abab" gives "aabaab").
ReplaceAllResult replaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace velmora::terminal
