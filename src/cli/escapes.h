// Command text typed on the command line: C escapes (\r, \n, \t, \\, \e, \0, \xNN) become raw
// bytes; the rest is text converted to the printer's code page.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/operation.h"

namespace velmora::cli {

// `unconvertible`, when given, counts the characters the code page could not hold (sent as '?').
std::string encodeCommandText(std::string_view text, std::size_t* unconvertible = nullptr);
// The same bytes; nothing when the code page cannot hold a character of the text (a '?' in its
// place is not what the user asked to send), with `refusal` set to the message that says so.
std::optional<std::string> typedCommandBytes(std::string_view text, std::string& refusal);
using app::hexBytes;

}  // namespace velmora::cli
