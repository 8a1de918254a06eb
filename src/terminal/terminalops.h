// The communication window's send as an operation: the text as edited, in one write. Its read is
// the command tester's (tester/testerops.h), and so are its command files.
#pragma once

#include <string>

#include "app/operation.h"

namespace velmora::terminal {

// "Send to Printer": `text` (UTF-8) converted to the code page and written once, nothing added;
// refused, with nothing sent, when the code page cannot hold a character of it.
app::Outcome sendToPrinter(link::CComm& comm, const std::string& text);

}  // namespace velmora::terminal
