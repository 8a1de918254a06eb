// The two populations of a sensing distribution, as the printer's calibration finds them.
#include "settings/sensinganalysis.h"

#include <algorithm>

namespace velmora::settings {

namespace {

constexpr int kLast = kBuckets - 1;
constexpr int kBig = 100;  // a population, not noise

SensingAnalysis gapType(const SensingValues& v) {
    int s = kLast;
    for (int i = 0; i < kBuckets; ++i)
        if (v[i] > 0) {
            s = i;
            break;
        }
    int l = kLast;
    for (int i = s; i < kBuckets; ++i)
        if (v[i] > kBig) {
            l = i;
            break;
        }
    // Up to the top of the lower population.
    int climbed = kLast;
    for (int i = l; i < kLast; ++i)
        if (v[i] > v[i + 1]) {
            climbed = i;
            break;
        }
    l = climbed;
    int h = 0;
    if (l < kLast) {
        h = l + 1;
        for (int i = kLast; i > l; --i)
            if (v[i] > 0) {
                h = i;
                break;
            }
    }
    if (h > l) {
        int top = l + 1;
        for (int i = h; i > l; --i)
            if (v[i] > v[i - 1]) {
                top = i;
                break;
            }
        h = top;
        // A sharp drop below the upper population ends the lower one there.
        for (int c = h; c > l; --c)
            if (v[c] > 0 && v[c - 1] > 0 && 4 * v[c] < v[c - 1]) {
                l = c - 1;
                break;
            }
    }
    SensingAnalysis a;
    a.middle = (l + h) / 2;
    if (l > s) {
        int down = s + 1;
        for (int i = l; i > s; --i)
            if (v[i] > v[i - 1]) {
                down = i;
                break;
            }
        l = down;
    }
    a.low = l;
    a.high = h;
    a.proposed = (a.middle + h) / 2;
    a.firstEnabled = a.middle;
    a.lastEnabled = h - 1;
    return a;
}

SensingAnalysis markType(const SensingValues& v) {
    // With no label population the climbs below would settle on the lowest level, under both
    // populations; like a gap distribution without its second population, it offers none.
    if (std::none_of(v.begin(), v.end(), [](int n) { return n > kBig; })) return {};
    int e = 0;
    for (int i = kLast; i >= 0; --i)
        if (v[i] > 0) {
            e = i;
            break;
        }
    int h = 0;
    if (e > 0) {
        h = 1;
        for (int i = e; i >= 1; --i)
            if (v[i] > kBig) {
                h = i;
                break;
            }
    }
    if (h > 0) {
        int top = 1;
        for (int i = h; i >= 1; --i)
            if (v[i] > v[i - 1]) {
                top = i;
                break;
            }
        h = top;
    }
    int l = 0;
    if (h > 0) {
        l = h - 1;
        for (int i = 0; i < h; ++i)
            if (v[i] > 0) {
                l = i;
                break;
            }
    }
    if (l < h) {
        int top = h - 1;
        for (int i = l; i < h; ++i)
            if (v[i] > v[i + 1]) {
                top = i;
                break;
            }
        l = top;
        // A sharp rise above the lower population starts the upper one there.
        for (int d = l; d < h; ++d)
            if (v[d] > 0 && v[d + 1] > 0 && 4 * v[d] < v[d + 1]) {
                h = d + 1;
                break;
            }
    }
    SensingAnalysis a;
    a.middle = (l + h) / 2;
    if (h < e) {
        int up = e - 1;
        for (int i = h; i < e; ++i)
            if (v[i] > v[i + 1]) {
                up = i;
                break;
            }
        h = up;
    }
    a.low = l;
    a.high = h;
    a.proposed = (a.middle + l) / 2;
    a.firstEnabled = l + 1;
    a.lastEnabled = a.middle;
    return a;
}

}  // namespace

SensingValues decodeSensingReply(std::span<const std::uint8_t> bytes) {
    SensingValues v{};
    for (std::size_t i = 0; i < kBuckets && 2 * i + 1 < bytes.size(); ++i) v[i] = bytes[2 * i] + 256 * bytes[2 * i + 1];
    return v;
}

SensingAnalysis analyseSensing(const SensingValues& v, SensingType type) {
    SensingAnalysis a = type == kMarkSensing ? markType(v) : gapType(v);
    if (!a.separable()) {
        // No two populations: no level is offered or chosen.
        a.proposed = -1;
        a.firstEnabled = 0;
        a.lastEnabled = -1;
    }
    return a;
}

int finerLevel(int low, int distance, int choice) { return (low + 1) * 32 + choice * 4 * distance; }

}  // namespace velmora::settings
