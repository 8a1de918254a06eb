// Command text typed on the command line: C escapes (\r, \n, \t, \\, \e, \0, \xNN) become raw
// bytes; the rest is text converted to the printer's code page.
#pragma once

#include <string>
#include <string_view>

namespace velmora::cli {

std::string encodeCommandText(std::string_view text);
// Bytes as "41 42 0D".
std::string hexBytes(std::string_view bytes);

}  // namespace velmora::cli
