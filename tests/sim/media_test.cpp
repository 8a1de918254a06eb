// The simulated media path: --media, the sampled distribution, stored thresholds and gap errors.
#include <gtest/gtest.h>

#include <numeric>

#include "sim/options.h"
#include "sim/parser.h"

namespace velmora::sim {
namespace {

TEST(Media, OptionNamesTheLabelsLoaded) {
    struct Case {
        std::string_view text;
        bool ok;
        std::string described;
    };
    const Case cases[] = {{"gap:100:3", true, "gap:100:3"}, {"mark:50:5", true, "mark:50:5"},
                          {"continuous", true, "continuous"}, {"gap:0:3", false, ""},
                          {"gap:100", false, ""},           {"hole:100:3", false, ""},
                          {"gap:100:3:1", false, ""},       {"mark:100:x", false, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const std::vector<std::string_view> args = {"--media", c.text};
        const auto options = parseOptions(args, error);
        ASSERT_EQ(options.has_value(), c.ok) << error;
        if (c.ok) {
            EXPECT_EQ(options->media->describe(), c.described);
        }
    }
}

std::vector<int> counts(const std::string& reply) {
    std::vector<int> v;
    for (std::size_t i = 0; i + 1 < reply.size(); i += 2)
        v.push_back(static_cast<unsigned char>(reply[i]) + 256 * static_cast<unsigned char>(reply[i + 1]));
    return v;
}

TEST(Media, SamplingAnswersOneCountPerRowInTwoPopulations) {
    Printer printer;
    Parser parser(printer);
    parser.feed("*MXd,1200,G\r");
    const std::vector<int> v = counts(parser.takeReplies());
    ASSERT_EQ(v.size(), 32u);
    EXPECT_EQ(std::accumulate(v.begin(), v.end(), 0), 1200);
    const int labels = v[7] + v[8] + v[9] + v[10], gaps = v[21] + v[22] + v[23] + v[24];
    EXPECT_GT(labels, 1100);
    EXPECT_GT(gaps, 20);
    EXPECT_EQ(labels + gaps, 1200);
    // Malformed or unbounded requests go unanswered.
    for (const char* bad : {"*MXd,0,G\r", "*MXd,1200,X\r", "^MXd,99999999,G\r", "*MXd\r"}) {
        parser.feed(bad);
        EXPECT_EQ(parser.takeReplies(), "") << bad;
    }
    EXPECT_EQ(printer.media().samplings, 1u);
}

TEST(Media, TheThresholdStoredLastDecidesWhetherEdgesAreFound) {
    Printer printer;
    Parser parser(printer);
    struct Step {
        const char* command;
        bool gapError;
        int threshold;
    };
    const Step steps[] = {
        {"~PH\r", false, 512},          // the factory threshold
        {"*MXs,1000,7\r", true, 1000},  // above the gaps
        {"^MXs,160,7\r", false, 640},   // native scale: x4
        {"^MXs,257,7\r", false, 640},   // out of range: nothing stored
        {"*MXs,320,3\r", false, 640},   // gap count out of range
        {"*MXs,320,4\r", true, 320},    // among the labels
        {"~JC\r", false, 512},          // measured
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.command);
        parser.feed(s.command);
        EXPECT_EQ(printer.status("gap-error"), s.gapError);
        EXPECT_EQ(printer.media().threshold(), s.threshold);
    }
    EXPECT_EQ(printer.media().native, (SensorThreshold{160, 7}));
    EXPECT_EQ(printer.media().zii, (SensorThreshold{512, 4}));
}

}  // namespace
}  // namespace velmora::sim
