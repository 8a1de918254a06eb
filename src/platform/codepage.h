// The "system ANSI code page": command text is kept as UTF-8 and converted to the printer's
// single-byte code page when written; replies are converted back. Windows-1252 unless
// VELMORA_CODEPAGE or --codepage names another iconv encoding.
#pragma once

#include <string>
#include <string_view>

namespace velmora::platform {

// The code page in force (an iconv name such as "WINDOWS-1252").
const std::string& systemCodePage();

// Whether a name can be the printer's code page: iconv must know it, and it must keep ASCII as
// the same single bytes (command text is ASCII; UTF-16 or UTF-7 would garble every command).
enum class CodePageCheck { Ok, Unknown, NotAsciiCompatible };
CodePageCheck checkCodePage(const std::string& name);
// Changes it; false (and no change) unless checkCodePage says Ok.
bool setSystemCodePage(const std::string& name);
// What is wrong with VELMORA_CODEPAGE (empty when it is unset or fine). A refused name leaves
// the default in force; programs report this instead of ignoring it.
std::string codePageEnvironmentProblem();
// The message for a refused name, e.g. "unknown code page FOO".
std::string codePageProblem(const std::string& name, CodePageCheck check);

// UTF-8 to the system code page; characters it cannot hold become '?' (counted in
// `unconvertible` when given). Bytes 80-9F a page leaves undefined (Windows-1252: 81, 8D, 8F,
// 90, 9D) stand for the C1 controls of the same number, both ways, so no byte is lost.
std::string toCodePage(std::string_view utf8, std::size_t* unconvertible = nullptr);
// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool isWellFormedUtf8(std::string_view text);
// `text` as a JSON string, appended to `out`: quotes, backslashes and control bytes escaped.
// Well-formed UTF-8 passes as it is unless `bytesAsCharacters`; otherwise each byte above 0x7F
// stands for the character of its number (U+0080 to U+00FF), so the output is always valid JSON.
void appendJsonString(std::string& out, std::string_view text, bool bytesAsCharacters = false);
// The system code page to UTF-8; undecodable bytes become U+FFFD.
std::string fromCodePage(std::string_view bytes);

}  // namespace velmora::platform
