// velmora-sim's command line.
#include "sim/options.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace velmora::sim {
namespace {

std::optional<Options> parse(std::vector<std::string_view> args, std::string& error) {
    return parseOptions(args, error);
}

TEST(Options, Accepted) {
    struct Case {
        std::vector<std::string_view> args;
        unsigned port;
        bool tcp;
        bool pty;
        Faults faults;
        Printer::StatusBytes status;
    };
    const Case cases[] = {
        {{}, 9100, true, false, {}, {0, 0}},
        {{"--port", "0"}, 0, true, false, {}, {0, 0}},
        {{"--port=65535", "--pty"}, 65535, true, true, {}, {0, 0}},
        {{"--pty", "--no-tcp"}, 9100, false, true, {}, {0, 0}},
        {{"--silent", "--short-replies", "--delay", "25", "--drop-after=100"},
         9100,
         true,
         false,
         {true, true, 25, 100},
         {0, 0}},
        {{"--paper-empty", "--ribbon-end", "--paused"}, 9100, true, false, {}, {0x84, 0x20}},
        {{"--pty", "--baud", "57600"}, 9100, true, true, {false, false, 0, 0, 57600}, {0, 0}},
        {{"--garbage"}, 9100, true, false, {false, false, 0, 0, 0, true}, {0, 0}},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto options = parse(c.args, error);
        ASSERT_TRUE(options) << error;
        EXPECT_EQ(options->port, c.port);
        EXPECT_EQ(options->tcp, c.tcp);
        EXPECT_EQ(options->pty, c.pty);
        EXPECT_EQ(options->faults.silent, c.faults.silent);
        EXPECT_EQ(options->faults.shortReplies, c.faults.shortReplies);
        EXPECT_EQ(options->faults.delayMs, c.faults.delayMs);
        EXPECT_EQ(options->faults.dropAfterBytes, c.faults.dropAfterBytes);
        EXPECT_EQ(options->faults.baud, c.faults.baud);
        EXPECT_EQ(options->faults.garbage, c.faults.garbage);
        EXPECT_EQ(options->status, c.status);
    }
}

TEST(Options, Rejected) {
    const std::vector<std::vector<std::string_view>> cases = {
        {"--port"},          {"--port", "65536"}, {"--port", "12a"},     {"--port", "-1"},
        {"--delay", "soon"}, {"--drop-after"},    {"--bogus"},           {"port"},
        {"--no-tcp"},        {"--silent=1"},      {"--paper-empty=yes"}, {"--labels"},
        {"--labels="},
        {"--no-tcp"},        {"--silent=1"},      {"--paper-empty=yes"}, {"--state"},
        {"--state="},        {"--baud", "9601"},  {"--baud"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(parse(args, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(Options, LabelsDirectory) {
    std::string error;
    EXPECT_EQ(parse({}, error)->labelsDirectory, "");
    EXPECT_EQ(parse({"--labels", "out/labels"}, error)->labelsDirectory, "out/labels");
    EXPECT_EQ(parse({"--labels=/tmp/x"}, error)->labelsDirectory, "/tmp/x");
}

}  // namespace
}  // namespace velmora::sim
