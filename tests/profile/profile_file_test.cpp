// The profile file: what is refused (with its line), and a round trip through the text.
#include <gtest/gtest.h>

#include "profile/profile.h"

namespace velmora::profile {
namespace {

constexpr const char* kHeader = "[printer]\nmodel=VELMORA SIM\nfirmware=V1.00\nmenu-mode=zii\n";

TEST(ProfileFile, RoundTrip) {
    Profile p{"VELMORA SIM", "V1.00", "zii", {{"zii.basic", {{"speed", "4"}, {"lock.speed", "1"}}, {}, 0},
                                              {"codepage", {{"codepage", "PC850 (Multilingual)"}}, {}, 0}}};
    ProfileError error;
    const auto back = parseProfile(formatProfile(p), error);
    ASSERT_TRUE(back) << error.text();
    EXPECT_EQ(back->model, p.model);
    EXPECT_EQ(back->menuMode, "zii");
    ASSERT_EQ(back->sections.size(), 2u);
    EXPECT_EQ(back->sections[0].values, p.sections[0].values);
    EXPECT_EQ(back->sections[1].values, p.sections[1].values);
    EXPECT_EQ(back->sections[0].lines, (std::vector<int>{8, 9}));  // after the comment and header
}

// Any of the three line ends a text editor saves: the same profile, the same line numbers.
TEST(ProfileFile, LoneCarriageReturnsEndLinesToo) {
    const std::string lf = std::string(kHeader) + "[zii.basic]\nspeed=4\n";
    for (const std::string& ending : {std::string("\r"), std::string("\r\n")}) {
        std::string text;
        for (char c : lf) text += c == '\n' ? ending : std::string(1, c);
        ProfileError error;
        const auto p = parseProfile(text, error);
        ASSERT_TRUE(p) << error.text();
        ASSERT_EQ(p->sections.size(), 1u);
        EXPECT_EQ(p->sections[0].values, (KeyValues{{"speed", "4"}}));
        EXPECT_EQ(p->sections[0].lines, std::vector<int>{6});
    }
}

TEST(ProfileFile, AHugeValueIsQuotedShort) {
    const std::string quoted = quotedValue(std::string(900000, '7'));
    EXPECT_LT(quoted.size(), 80u);
    EXPECT_NE(quoted.find("(900000 characters)"), std::string::npos);
    EXPECT_EQ(quotedValue("4"), "\"4\"");
}

TEST(ProfileFile, RefusedWithLineAndReason) {
    const struct {
        std::string text;
        int line;
        const char* reason;
    } cases[] = {
        {std::string(kHeader) + "[zii.basic]\nspeed 4\n", 6, "expected KEY=VALUE"},
        {"speed=4\n" + std::string(kHeader), 1, "before any [section]"},
        {std::string(kHeader) + "[zii.basic]\nspeed=4\nspeed=5\n", 7, "given twice"},
        {std::string(kHeader) + "[zii.basic]\n[zii.basic]\n", 6, "given twice"},
        {std::string(kHeader) + "[zii.basic\n", 5, "must end with ']'"},
        {std::string(kHeader) + "[Zii Basic]\n", 5, "section name"},
        {"[printer]\nmodel=X\nmenu-mode=zii\ncolour=red\n", 4, "unknown key colour"},
        {"[printer]\nmodel=X\nmenu-mode=kdr\n", 3, "menu-mode must be"},
        {"[printer]\nfirmware=1\nmenu-mode=zii\n", 1, "no model"},
        {"[zii.basic]\nspeed=4\n", 0, "[printer] section is missing"},
        {std::string(kHeader) + "[zii.basic]\n" + std::string("speed=4\0x\n", 10), 6, "zero byte"},
    };
    for (const auto& c : cases) {
        ProfileError error;
        EXPECT_FALSE(parseProfile(c.text, error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
    }
}

}  // namespace
}  // namespace velmora::profile
