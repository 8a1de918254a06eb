// Finding the first of a few bytes in a run of bytes, in one pass. The simulator scans every line
// for the bytes that end it (CR, LF, ESC) and every ZII line for the bytes that begin a command
// ("^", "~"); three memchr calls a line cost more than the scan itself at label-stream rates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::sim {

// The first byte in [p, end) that is a, b or c (pass a byte twice for two), or end.
inline const std::uint8_t* findAnyOf(const std::uint8_t* p, const std::uint8_t* end, std::uint8_t a, std::uint8_t b,
                                     std::uint8_t c) {
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(static_cast<char>(a)), vb = _mm_set1_epi8(static_cast<char>(b)),
                  vc = _mm_set1_epi8(static_cast<char>(c));
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, va), _mm_cmpeq_epi8(bytes, vb)),
                                          _mm_cmpeq_epi8(bytes, vc));
        if (const int mask = _mm_movemask_epi8(hits)) return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    for (; p < end; ++p)
        if (*p == a || *p == b || *p == c) return p;
    return end;
}

inline const char* findAnyOf(const char* p, const char* end, char a, char b, char c) {
    const auto* u = reinterpret_cast<const std::uint8_t*>(p);
    return reinterpret_cast<const char*>(findAnyOf(u, reinterpret_cast<const std::uint8_t*>(end), static_cast<std::uint8_t>(a),
                                                   static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c)));
}

}  // namespace velmora::sim
