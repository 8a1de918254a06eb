// The calibration's search for two populations, gap and black-mark types, and the finer levels.
#include <gtest/gtest.h>

#include <map>

#include "settings/sensinganalysis.h"

namespace velmora::testing {
namespace {

using namespace settings;

SensingValues dist(std::map<int, int> buckets) {
    SensingValues v{};
    for (auto [i, n] : buckets) v[i] = n;
    return v;
}

struct Case {
    const char* name;
    SensingType type;
    SensingValues values;
    int low, high, proposed, firstEnabled, lastEnabled;
};

TEST(SensingAnalysis, FindsThePopulationsAndProposesALevelBetween) {
    const Case cases[] = {
        // Nothing sampled: L = 31, H = 0 for the gap type; no level is chosen or offered.
        {"zero gap", kGapSensing, dist({}), 31, 0, -1, 0, -1},
        {"zero mark", kMarkSensing, dist({}), 0, 0, -1, 0, -1},
        // What the simulator's gap media gives: labels low, gaps high.
        {"gap media", kGapSensing, dist({{8, 300}, {9, 600}, {10, 265}, {22, 9}, {23, 18}, {24, 8}}), 9, 23, 19, 16,
         22},
        {"mark media", kMarkSensing, dist({{5, 8}, {6, 18}, {7, 9}, {23, 300}, {24, 600}, {25, 265}}), 6, 24, 10, 7,
         15},
        // Peaks one bucket apart.
        {"adjacent gap", kGapSensing, dist({{11, 800}, {12, 140}}), 11, 12, 11, 11, 11},
        // A sharp drop (rise): the other population starts where the count falls below a quarter;
        // the marked buckets then climb back to their own tops.
        {"sharp drop", kGapSensing, dist({{5, 900}, {6, 800}, {7, 700}, {8, 100}, {9, 120}}), 6, 9, 8, 8, 8},
        {"sharp rise", kMarkSensing, dist({{20, 120}, {21, 100}, {22, 700}, {23, 800}, {24, 900}}), 20, 23, 20, 21, 21},
        // Populations at the ends of the scale.
        {"ends gap", kGapSensing, dist({{0, 500}, {31, 50}}), 0, 31, 23, 15, 30},
        {"ends mark", kMarkSensing, dist({{0, 50}, {31, 500}}), 0, 31, 7, 1, 15},
        // One population only.
        {"one population", kGapSensing, dist({{9, 1200}}), 9, 10, 9, 9, 9},
        {"continuous mark", kMarkSensing, dist({{24, 1200}}), 23, 24, 23, 24, 23},
        // No label population (nothing above 100): no level, rather than one below both.
        {"mark without labels", kMarkSensing, dist({{5, 50}, {20, 80}}), 0, 0, -1, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SensingAnalysis a = analyseSensing(c.values, c.type);
        EXPECT_EQ(a.low, c.low);
        EXPECT_EQ(a.high, c.high);
        EXPECT_EQ(a.proposed, c.proposed);
        EXPECT_EQ(a.firstEnabled, c.firstEnabled);
        EXPECT_EQ(a.lastEnabled, c.lastEnabled);
        // Level i stands for the edge above bucket i: the proposal lies between the populations.
        if (a.proposed >= 0) {
            EXPECT_TRUE(a.proposed >= a.low && a.proposed < a.high);
        }
    }
}

TEST(SensingAnalysis, FinerLevelsLieBetweenThePopulationsForEveryDistance) {
    for (int d = 1; d <= 3; ++d) {
        const int low = 10, high = low + d;
        for (int a = 1; a <= 7; ++a) {
            const int level = finerLevel(low, d, a);
            EXPECT_GT(level, (low + 1) * 32) << d << " " << a;
            EXPECT_LT(level, (high + 1) * 32) << d << " " << a;
            if (d == 1) {
                EXPECT_EQ(level, high * 32 + 4 * a);
            }
        }
    }
}

TEST(SensingAnalysis, DecodesLittleEndianCounts) {
    std::array<std::uint8_t, 64> bytes{};
    bytes[0] = 0x34;
    bytes[1] = 0x12;
    bytes[62] = 0xFF;
    bytes[63] = 0xFF;
    const SensingValues v = decodeSensingReply(bytes);
    EXPECT_EQ(v[0], 0x1234);
    EXPECT_EQ(v[31], 65535);
    EXPECT_EQ(v[1], 0);
}

}  // namespace
}  // namespace velmora::testing
