// Conversion between the program's UTF-8 text and the printer's code page ("system ANSI code
// page") with iconv. Clean text goes through in one iconv call over the whole buffer; a character
// the target cannot hold or a byte the source cannot decode is replaced where iconv stops, and the
// conversion goes on from there, so multi-megabyte texts convert at iconv's own speed.
#include "platform/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

namespace velmora::platform {

namespace {

constexpr const char* kDefaultCodePage = "WINDOWS-1252";
constexpr const char* kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

// Both directions for one code page, opened once and kept for the life of the process.
struct Descriptors {
    iconv_t toPage = kNoDescriptor;
    iconv_t fromPage = kNoDescriptor;
    // Bytes 80-9F that the page leaves undefined and whose C1 control it cannot hold either:
    // they pass through as that control.
    std::array<bool, 32> c1Gaps{};
    bool asciiCompatible = false;
};

struct State {
    State();
    ~State();
    std::mutex mutex;  // an iconv_t is not safe to share between threads
    std::string name;
    std::string environmentProblem;
    std::map<std::string, Descriptors> cache;
};

// One whole conversion of `in` with a fresh state: the output, or nothing when iconv stops.
std::optional<std::string> convertExactly(iconv_t cd, std::string_view in) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(static_cast<std::size_t>(outPtr - out.data()));
    return out;
}

// Fills in what a page does with ASCII and with the bytes 80-9F.
void probe(Descriptors& d) {
    std::string ascii;
    for (int c = 1; c < 128; ++c) ascii += static_cast<char>(c);
    d.asciiCompatible = convertExactly(d.toPage, ascii) == ascii && convertExactly(d.fromPage, ascii) == ascii;
    for (int i = 0; i < 32; ++i) {
        const char byte[] = {static_cast<char>(0x80 + i)};
        const char control[] = {'\xC2', static_cast<char>(0x80 + i)};
        // A lead byte of a multi-byte page is only incomplete, not undefined: not a gap.
        iconv(d.fromPage, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char* in = const_cast<char*>(byte);
        std::size_t inLeft = 1;
        char* outPtr = out;
        std::size_t outLeft = sizeof out;
        const bool undefined =
            iconv(d.fromPage, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) && errno == EILSEQ;
        d.c1Gaps[static_cast<std::size_t>(i)] =
            undefined && !convertExactly(d.toPage, std::string_view(control, 2));
    }
}

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
    probe(d);
    return &state.cache.emplace(name, d).first->second;
}

CodePageCheck check(State& state, const std::string& name) {
    if (name.empty()) return CodePageCheck::Unknown;
    const Descriptors* d = descriptorsFor(state, name);
    if (!d) return CodePageCheck::Unknown;
    return d->asciiCompatible ? CodePageCheck::Ok : CodePageCheck::NotAsciiCompatible;
}

// The environment is read at first use; a name that cannot serve leaves the default, and
// the reason is kept for the program to report.
State::State() : name(kDefaultCodePage) {
    const char* env = std::getenv("VELMORA_CODEPAGE");
    if (!env || !*env) return;
    const CodePageCheck result = check(*this, env);
    if (result == CodePageCheck::Ok)
        name = env;
    else
        environmentProblem = "VELMORA_CODEPAGE: " + codePageProblem(env, result);
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

CodePageCheck checkCodePage(const std::string& name) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return check(s, name);
}

bool setSystemCodePage(const std::string& name) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (check(s, name) != CodePageCheck::Ok) return false;
    s.name = name;
    return true;
}

std::string codePageEnvironmentProblem() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.environmentProblem;
}

std::string codePageProblem(const std::string& name, CodePageCheck check) {
    switch (check) {
        case CodePageCheck::Ok:
            return {};
        case CodePageCheck::Unknown:
            return "unknown code page \"" + name + "\"";
        case CodePageCheck::NotAsciiCompatible:
            break;
    }
    return "code page " + name + " does not keep ASCII as single bytes; choose a single-byte code page such as WINDOWS-1252";
}

std::string toCodePage(std::string_view utf8, std::size_t* unconvertible) {
    if (unconvertible) *unconvertible = 0;
    if (utf8.empty()) return {};
    State& s = state();
    std::lock_guard lock(s.mutex);
    Descriptors* d = descriptorsFor(s, s.name);
    if (!d) return std::string(utf8.size(), '?');  // cannot happen: the name was checked when set
    auto substitute = [d, unconvertible](const unsigned char* p, std::size_t left, std::string& replacement) {
        if (left >= 2 && p[0] == 0xC2 && p[1] >= 0x80 && p[1] <= 0x9F && d->c1Gaps[p[1] - 0x80]) {
            replacement = std::string(1, static_cast<char>(p[1]));
            return std::size_t{2};
        }
        replacement = "?";
        if (unconvertible) ++*unconvertible;
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
        if (tag.empty() && unconvertible) ++*unconvertible;
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
                   [d](const unsigned char* p, std::size_t, std::string& replacement) {
                       if (p[0] >= 0x80 && p[0] <= 0x9F && d->c1Gaps[p[0] - 0x80])
                           replacement = {'\xC2', static_cast<char>(p[0])};
                       else
                           replacement = kReplacementUtf8;
                       return std::size_t{1};
                   });
}

bool isWellFormedUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = utf8SequenceLength(p + i, text.size() - i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

void appendJsonString(std::string& out, std::string_view text, bool bytesAsCharacters) {
    const bool asText = !bytesAsCharacters && isWellFormedUtf8(text);
    out += '"';
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b == 0x7F || (b >= 0x80 && !asText)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", b);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace velmora::platform
