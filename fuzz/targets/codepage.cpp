// The code page conversion, both ways, in the code pages printers are set to. The first byte
// picks the page; the rest is taken once as printer bytes and once as typed (UTF-8) text.
//   - Printer bytes that all decode come back unchanged when written again.
//   - Well-formed text the page can hold comes back unchanged when read again.
//   - A single-byte page never writes more bytes than the text had.
#include "platform/codepage.h"

#include <array>
#include <string>

#include "fuzzcheck.h"
#include "fuzztargets.h"

namespace velmora::fuzz {

namespace {

constexpr std::array<const char*, 8> kPages = {"WINDOWS-1252", "ISO-8859-1", "ISO-8859-15", "WINDOWS-1250",
                                               "WINDOWS-1251", "CP437",      "CP850",       "WINDOWS-1253"};

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

std::size_t count(std::string_view text, char c) {
    std::size_t n = 0;
    for (char x : text) n += x == c;
    return n;
}

// Restores the code page in force when the input is done, for the replay test's sake.
class PageScope {
  public:
    explicit PageScope(const char* page) : previous_(platform::systemCodePage()) {
        fuzzCheck(platform::setSystemCodePage(page), "a printer code page iconv does not know");
    }
    ~PageScope() { platform::setSystemCodePage(previous_); }

  private:
    std::string previous_;
};

}  // namespace

int fuzzOneCodePage(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    PageScope page(kPages[data[0] % kPages.size()]);
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

    // Printer bytes to text and back.
    const std::string text = platform::fromCodePage(input);
    fuzzCheck(platform::isWellFormedUtf8(text), "a reply decoded into broken UTF-8");
    if (text.find(kReplacement) == std::string::npos)
        fuzzCheck(platform::toCodePage(text) == input, "printer bytes changed by a read and a write");

    // Typed text to printer bytes and back.
    const std::string bytes = platform::toCodePage(input);
    fuzzCheck(bytes.size() <= input.size(), "a single-byte page wrote more bytes than the text had");
    if (platform::isWellFormedUtf8(input) && count(bytes, '?') == count(input, '?'))
        fuzzCheck(platform::fromCodePage(bytes) == input, "text changed by a write and a read");
    return 0;
}

}  // namespace velmora::fuzz
