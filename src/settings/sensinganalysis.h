// The sensing calibration's arithmetic, free of dialogs: the 64-byte distribution the printer
// answers, the search for the two populations in it (labels and gaps, or labels and black marks),
// the proposed level between them, the finer levels, and the chart content the window paints.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "ui/control.h"

namespace velmora::settings {

inline constexpr int kBuckets = 32;
using SensingValues = std::array<int, kBuckets>;

enum SensingType { kGapSensing = 0, kMarkSensing = 1 };

struct SensingAnalysis {
    int low = 0;    // L: the lower population's bucket
    int high = 0;   // H: the upper population's bucket
    int middle = 0;  // M = (L + H) / 2
    // The proposed level; -1 when no two populations were found (H <= L), so none is chosen.
    int proposed = -1;
    // The level radios offered: firstEnabled to lastEnabled; none when last < first.
    int firstEnabled = 0;
    int lastEnabled = -1;

    int distance() const { return high - low; }
    bool separable() const { return high > low; }
    bool operator==(const SensingAnalysis&) const = default;
};

// Bucket i of the reply: byte 2i + 256 x byte 2i+1 (a shorter reply leaves the rest at 0).
SensingValues decodeSensingReply(std::span<const std::uint8_t> bytes);

SensingAnalysis analyseSensing(const SensingValues& v, SensingType type);

// The finer levels between populations `distance` (1 to 3) buckets apart, on the 32-per-level
// scale: choice a of 1 to 7 lies a/8 of the way from the lower population's level (L + 1) x 32
// to the upper one's (H + 1) x 32, so every choice falls between them.
int finerLevel(int low, int distance, int choice);

// What the calibration chart shows; the window program paints it as bars (gui/sensingchart).
class SensingChart final : public ui::CustomContent {
  public:
    SensingValues values{};
    bool measured = false;  // false: nothing sampled yet
    SensingAnalysis analysis{};
    int levelStep = 32;     // level of bucket i is (i + 1) x levelStep

    void clear() {
        values = {};
        measured = false;
        analysis = {};
        invalidate();
    }
};

}  // namespace velmora::settings
