// The "system ANSI code page": command text is kept as UTF-8 and converted to the printer's
// single-byte code page when written; replies are converted back. Windows-1252 unless
// VELMORA_CODEPAGE or --codepage names another iconv encoding.
#pragma once

#include <string>
#include <string_view>

namespace velmora::platform {

// The code page in force (an iconv name such as "WINDOWS-1252").
const std::string& systemCodePage();
// Changes it; false (and no change) when iconv does not know the name.
bool setSystemCodePage(const std::string& name);

// UTF-8 to the system code page; characters it cannot hold become '?'.
std::string toCodePage(std::string_view utf8);
// The system code page to UTF-8; undecodable bytes become U+FFFD.
std::string fromCodePage(std::string_view bytes);

}  // namespace velmora::platform
