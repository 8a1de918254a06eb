// What typed text must be before it goes into a command, checked alike by every tool, the window
// and the command line: the printer gets the text in its code page, where a character the page
// lacks would arrive as "?", and quoted data must not be able to end its field early.
#pragma once

#include <string>
#include <string_view>

namespace velmora::app {

// Empty when the code page holds every character of `utf8`; otherwise the message that refuses
// the text, which is then not sent at all.
std::string codePageRefusal(std::string_view utf8);
// That message for text with `count` characters the code page cannot hold.
std::string cannotHoldMessage(std::size_t count);

// Whether text between apostrophes could end its field early. Inside quoted data the printer
// takes \' as an apostrophe and \\ as a backslash, so the text goes out exactly as typed when
// every apostrophe is escaped and no lone backslash is left at its end (it would escape the
// closing apostrophe); a CR or LF would end the command line itself. Nothing is ever escaped
// for the user: the bytes sent are the bytes typed.
bool breaksQuotedField(std::string_view text);

}  // namespace velmora::app
