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

// The first byte in [p, end) that is a, b or c (pass a byte twice for two), or end. 16 bytes at
// a step; a run shorter than that byte by byte.
inline const std::uint8_t* findAnyOf(const std::uint8_t* p, const std::uint8_t* end, std::uint8_t a,
                                     std::uint8_t b, std::uint8_t c) {
#if defined(__SSE2__)
    if (end - p >= 16) {
        const __m128i va = _mm_set1_epi8(static_cast<char>(a)), vb = _mm_set1_epi8(static_cast<char>(b)),
                      vc = _mm_set1_epi8(static_cast<char>(c));
        const auto hitsAt = [&](const std::uint8_t* q) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
            return static_cast<unsigned>(_mm_movemask_epi8(
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, va), _mm_cmpeq_epi8(bytes, vb)),
                             _mm_cmpeq_epi8(bytes, vc))));
        };
        for (; end - p >= 16; p += 16)
            if (const unsigned mask = hitsAt(p)) return p + __builtin_ctz(mask);
        if (p == end) return end;
        // The last few bytes within the last 16, those already seen masked off.
        const std::uint8_t* last = end - 16;
        const unsigned mask = hitsAt(last) >> (p - last);
        return mask ? p + __builtin_ctz(mask) : end;
    }
#endif
    for (; p < end; ++p)
        if (*p == a || *p == b || *p == c) return p;
    return end;
}

inline const char* findAnyOf(const char* p, const char* end, char a, char b, char c) {
    const auto* u = reinterpret_cast<const std::uint8_t*>(p);
    return reinterpret_cast<const char*>(findAnyOf(u, reinterpret_cast<const std::uint8_t*>(end),
                                                   static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b),
                                                   static_cast<std::uint8_t>(c)));
}

}  // namespace velmora::sim
