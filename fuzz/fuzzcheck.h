// What the fuzz target bodies share: a check that aborts with a message when something that must
// hold for any input does not, and a reader that takes small numbers from the end of an input
// (chunk sizes, reply lengths) while the front stays the data itself, so the fuzzer's mutations
// of the data and of its framing do not disturb each other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace velmora::fuzz {

inline void fuzzCheck(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

class InputReader {
  public:
    InputReader(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}

    bool empty() const { return p_ == end_; }
    std::size_t left() const { return static_cast<std::size_t>(end_ - p_); }
    // A byte taken from the back; 0 when nothing is left.
    std::uint8_t backByte() { return p_ == end_ ? 0 : *--end_; }
    // A byte taken from the front; 0 when nothing is left.
    std::uint8_t frontByte() { return p_ == end_ ? 0 : *p_++; }
    // Up to n bytes from the front.
    std::string_view front(std::size_t n) {
        if (n > left()) n = left();
        std::string_view out(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        return out;
    }
    std::string_view rest() { return front(left()); }

  private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

}  // namespace velmora::fuzz
