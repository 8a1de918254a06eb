// The ZII real-time clock as an operation: the "^ST" block for a date and time, saved at once,
// and the date and time texts the page's pickers and the command line use.
#pragma once

#include <string>

#include "app/operation.h"
#include "platform/localtime.h"

namespace velmora::zii {

// The pickers' texts: "yyyy-MM-dd" for the date picker, "HH:mm:ss" for the time picker.
std::string formatPickerDate(const platform::LocalTime& t);
std::string formatPickerTime(const platform::LocalTime& t);
// Reads a picker text back: exact shape, four-digit year, a real calendar day, 24-hour time.
// The fields the text does not carry are left as they are in `into`.
bool parsePickerDate(const std::string& text, platform::LocalTime& into);
bool parsePickerTime(const std::string& text, platform::LocalTime& into);
// "^ST" + month, day, year, hour, minute, second + ",M" (24-hour clock), without CR LF.
std::string clockLine(const platform::LocalTime& t);

// Sets the printer's clock to `t`: "^XA", the clock line, "^XZ", "^XA^JUS^XZ", in one write.
app::Outcome setPrinterClock(link::CComm& comm, const platform::LocalTime& t);

}  // namespace velmora::zii
