// The communication window's send.
#include "terminal/terminalops.h"

#include "app/sent.h"
#include "app/typedtext.h"
#include "platform/codepage.h"

namespace velmora::terminal {

app::Outcome sendToPrinter(link::CComm& comm, const std::string& text) {
    app::Outcome out;
    if (std::string why = app::codePageRefusal(text); !why.empty())
        return out.refuse(0, std::move(why), "text");
    const std::string bytes = platform::toCodePage(text);
    // A failed write is the port object's to report.
    if (!app::wrote(comm.WriteText(text), bytes.size())) return out.fail(0, "text");
    app::noteSent(out.written, "text", bytes);
    return out.finish(0);
}

}  // namespace velmora::terminal
