// Conversion between the program's UTF-8 text and the printer's code page ("system ANSI code
// page") with iconv. Clean text goes through in one iconv call over the whole buffer; a character
// the target cannot hold or a byte the source cannot decode is replaced where iconv stops, and the
// conversion goes on from there, so multi-megabyte texts convert at iconv's own speed.
#include "platform/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace velmora::platform {

namespace {

constexpr const char* kDefaultCodePage = "WINDOWS-1252";
constexpr const char* kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

// Both directions for one code page, opened once and kept for the life of the process.
struct Descriptors {
    iconv_t toPage = kNoDescriptor;
    iconv_t fromPage = kNoDescriptor;
};

struct State {
    State();
    ~State();
    std::mutex mutex;  // an iconv_t is not safe to share between threads
    std::string name;
    std::map<std::string, Descriptors> cache;
};

// Opens (or finds) the descriptors of a code page; nullptr when iconv does not know it.
Descriptors* descriptorsFor(State& state, const std::string& name) {
    if (auto it = state.cache.find(name); it != state.cache.end()) return &it->second;
    Descriptors d;
    d.toPage = iconv_open(name.c_str(), "UTF-8");
    if (d.toPage == kNoDescriptor) return nullptr;
    d.fromPage = iconv_open("UTF-8", name.c_str());
    if (d.fromPage == kNoDescriptor) {
        iconv_close(d.toPage);
        return nullptr;
    }
    return &state.cache.emplace(name, d).first->second;
}

// The environment is read at first use; a name iconv does not know leaves the default.
State::State() : name(kDefaultCodePage) {
    const char* env = std::getenv("VELMORA_CODEPAGE");
    if (env && *env && descriptorsFor(*this, env)) name = env;
}

State::~State() {
    for (auto& [page, d] : cache) {
        iconv_close(d.toPage);
        iconv_close(d.fromPage);
    }
}

State& state() {
    static State s;
    return s;
}

// Length of the well-formed UTF-8 sequence at p (RFC 3629: no overlong forms, no surrogates,
// nothing above U+10FFFF), or 0 when the bytes at p do not start one.
std::size_t utf8SequenceLength(const unsigned char* p, std::size_t left) {
    const unsigned char b = p[0];
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;
        if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (left < len) return 0;
    if (p[1] < lo || p[1] > hi) return 0;
    for (std::size_t i = 2; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
    }
    return len;
}

// Runs the conversion over the input. At each place iconv cannot convert, `substitute` appends
// the replacement and returns how many input bytes to skip.
//
// glibc's iconv converts ahead into an internal buffer and, on an error, converts that part
// again up to the failing place, so each stop costs as much as the buffer. Where stops come
// thick (a Chinese text into Windows-1252) iconv is therefore shown a short window of input
// after each stop, doubled after each clean pass, so clean text still goes through in one call.
template <typename Substitute>
std::string convert(iconv_t cd, std::string_view input, std::size_t initialCapacity, Substitute substitute) {
    constexpr std::size_t kWindowAfterStop = 64;
    std::string out(initialCapacity, '\0');
    std::size_t used = 0;
    // Grows the output so that at least `need` more bytes fit.
    auto reserveFree = [&](std::size_t need) {
        if (out.size() - used < need) out.resize(std::max(out.size() * 2, used + need));
    };

    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t window = inLeft;
    for (;;) {
        reserveFree(16);
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const bool whole = window >= inLeft;
        std::size_t windowLeft = whole ? inLeft : window;
        const std::size_t shown = windowLeft;
        const std::size_t r = inLeft == 0 ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)  // closing shift
                                          : iconv(cd, &in, &windowLeft, &outPtr, &outLeft);
        const int err = errno;
        used = static_cast<std::size_t>(outPtr - out.data());
        const bool flushed = inLeft == 0;
        inLeft -= shown - windowLeft;
        if (r != static_cast<std::size_t>(-1)) {
            if (flushed) break;
            if (!whole) window *= 2;
            continue;
        }
        if (err == E2BIG) {
            reserveFree(out.size());
            continue;
        }
        if (flushed) break;  // a closing shift that cannot be written: nothing more to do
        if (err == EINVAL && !whole) {
            window = std::max(window * 2, windowLeft + 16);  // a sequence cut by the window only
            continue;
        }
        // EILSEQ (cannot convert here) or EINVAL (a sequence cut off at the end of the input).
        std::string replacement;
        const std::size_t skip =
            std::min(inLeft, substitute(reinterpret_cast<const unsigned char*>(in), inLeft, replacement));
        reserveFree(replacement.size());
        std::memcpy(out.data() + used, replacement.data(), replacement.size());
        used += replacement.size();
        in += skip;
        inLeft -= skip;
        window = kWindowAfterStop;
    }
    out.resize(used);
    return out;
}

}  // namespace

const std::string& systemCodePage() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.name;
}

bool setSystemCodePage(const std::string& name) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (name.empty() || !descriptorsFor(s, name)) return false;
    s.name = name;
    return true;
}

std::string toCodePage(std::string_view utf8) {
    if (utf8.empty()) return {};
    State& s = state();
    std::lock_guard lock(s.mutex);
    Descriptors* d = descriptorsFor(s, s.name);
    if (!d) return std::string(utf8.size(), '?');  // cannot happen: the name was checked when set
    auto substitute = [](const unsigned char* p, std::size_t left, std::string& replacement) {
        replacement = "?";
        // A character the page lacks is one '?'; each byte of broken UTF-8 is one '?'.
        const std::size_t len = utf8SequenceLength(p, left);
        return len ? len : std::size_t{1};
    };
    // A single-byte page needs at most one byte per input byte; others grow on demand.
    auto run = [&](std::string_view text) { return convert(d->toPage, text, text.size() + 16, substitute); };

    // glibc's iconv drops a Unicode tag character (U+E0000 to U+E007F) that the page lacks
    // without reporting it, so it would vanish from the text unseen: each one is converted on
    // its own, and becomes '?' when nothing came of it.
    std::string out;
    std::size_t from = 0;
    constexpr std::string_view kTagLead = "\xF3\xA0";
    for (auto at = utf8.find(kTagLead); at != std::string_view::npos; at = utf8.find(kTagLead, at + 1)) {
        const auto* p = reinterpret_cast<const unsigned char*>(utf8.data() + at);
        if (at + 4 > utf8.size() || utf8SequenceLength(p, 4) != 4 || p[2] > 0x81) continue;
        out += run(utf8.substr(from, at - from));
        const std::string tag = run(utf8.substr(at, 4));
        out += tag.empty() ? "?" : tag;
        from = at + 4;
    }
    if (from == 0) return run(utf8);
    return out + run(utf8.substr(from));
}

std::string fromCodePage(std::string_view bytes) {
    if (bytes.empty()) return {};
    State& s = state();
    std::lock_guard lock(s.mutex);
    Descriptors* d = descriptorsFor(s, s.name);
    if (!d) return {};
    // Each byte of a single-byte page becomes at most three UTF-8 bytes (U+FFFD included).
    return convert(d->fromPage, bytes, bytes.size() * 3 + 16,
                   [](const unsigned char*, std::size_t, std::string& replacement) {
                       replacement = kReplacementUtf8;
                       return std::size_t{1};
                   });
}

}  // namespace velmora::platform
