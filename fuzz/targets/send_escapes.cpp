// The escape decoder of `velmora-cli send` on any typed text. In a single-byte code page no
// character becomes more than one byte and no escape more than one byte, so the bytes sent are
// never more than the text typed; text without a backslash is converted as plain text.
#include <string>

#include "cli/escapes.h"
#include "fuzzcheck.h"
#include "fuzztargets.h"
#include "platform/codepage.h"

namespace velmora::fuzz {

int fuzzOneSendEscapes(const std::uint8_t* data, std::size_t size) {
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    const std::string bytes = cli::encodeCommandText(typed);
    fuzzCheck(bytes.size() <= typed.size(), "escapes decoded into more bytes than were typed");
    if (typed.find('\\') == std::string_view::npos)
        fuzzCheck(bytes == platform::toCodePage(typed), "text without escapes not sent as plain text");
    fuzzCheck(cli::hexBytes(bytes).size() == (bytes.empty() ? 0 : bytes.size() * 3 - 1),
              "hexadecimal output of the wrong length");
    return 0;
}

}  // namespace velmora::fuzz
