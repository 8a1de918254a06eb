// The title banner: the bands of its gradient in both directions, and a background that is built
// once, so later subtitle and colour changes do not reach it while a new title is repainted.
#include "shell/prefsstatic.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/dialog.h"
#include "ui/testhost.h"

namespace velmora::shell {

// Where the test framework and the failure messages look for it.
std::ostream& operator<<(std::ostream& os, const GradientStrip& s) {
    return os << "{x " << s.x << ", width " << s.width << ", 0x" << std::hex << s.color << std::dec << "}";
}

namespace {

struct StripCase {
    const char* name;
    int width;
    int height;
    Rgb gradient;
    std::size_t count;
    GradientStrip first;
    GradientStrip last;
};

TEST(GradientStrips, BandsForBothDirections) {
    const StripCase cases[] = {
        // Left to right: nearly black at x 0, the full colour in the last band.
        {"wide", 300, 40, 0x8080EC, 150, {0, 2, 0x020204}, {298, 2, 0x8080EC}},
        // The band that passes the right edge is clipped to the banner.
        {"wide, partial last band", 301, 40, 0x8080EC, 151, {0, 2, 0x020204}, {300, 1, 0x8080EC}},
        {"exactly 256", 256, 30, 0x80EC80, 128, {0, 2, 0x020402}, {254, 2, 0x80EC80}},
        // t²·c passes 32 bits here.
        {"very wide", 5000, 40, 0xFF8080, 129, {0, 39, 0x040202}, {4992, 8, 0xFF8080}},
        {"narrow: 1-pixel bands", 100, 20, 0x8080EC, 100, {0, 1, 0x030305}, {99, 1, 0x8080EC}},
        // Button face: right to left, brightest first, then black at the left end.
        {"button face", 300, 40, kButtonFaceColor, 150, {298, 2, 0xF0F0F0}, {0, 2, 0x000000}},
        {"button face, 1000/128 = 7", 1000, 40, kButtonFaceColor, 143, {993, 7, 0xF0F0F0}, {0, 6, 0x000000}},
        {"button face, narrow", 100, 20, kButtonFaceColor, 100, {99, 1, 0xF0F0F0}, {0, 1, 0x000000}},
        {"button face, 1 pixel", 1, 20, kButtonFaceColor, 1, {0, 1, 0x000000}, {0, 1, 0x000000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto strips = gradientStrips(c.width, c.height, c.gradient);
        ASSERT_EQ(strips.size(), c.count);
        EXPECT_EQ(strips.front(), c.first);
        EXPECT_EQ(strips.back(), c.last);

        // Together the bands cover the banner once, with no gap and nothing outside.
        std::vector<int> cover(c.width, 0);
        const int step = std::max(c.width / 128, 1);
        for (const auto& s : strips) {
            ASSERT_GE(s.x, 0) << s;
            ASSERT_LE(s.x + s.width, c.width) << s;
            EXPECT_LE(s.width, step) << s;
            for (int x = s.x; x < s.x + s.width; ++x) ++cover[x];
        }
        EXPECT_EQ(std::count(cover.begin(), cover.end(), 1), c.width);
    }
}

TEST(GradientStrips, NoAreaNoBands) {
    for (auto [w, h] : {std::pair{0, 40}, {300, 0}, {0, 0}, {-5, 40}, {300, -1}}) {
        EXPECT_TRUE(gradientStrips(w, h, 0x8080EC).empty()) << w << "x" << h;
        EXPECT_TRUE(gradientStrips(w, h, kButtonFaceColor).empty()) << w << "x" << h;
    }
}

// A window stand-in: counts how often the banner control asks to be shown again.
struct Repaints : ui::DialogObserver {
    void controlChanged(ui::Control& c) override {
        if (c.id() == 1005) ++count;
    }
    int count = 0;
};

const ui::DialogTemplate& bannerTemplate() {
    static const ui::DialogTemplate t{
        100, "Banner", ui::layout::column({ui::layout::control(1005, ui::ControlKind::Custom)})};
    return t;
}

class BannerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog.Create();
        dialog.setObserver(&repaints);
        banner->faceName = "Verdana";
        banner->fontHeight = 14;
        banner->fontWeight = 700;
        banner->gradientColor = 0x8080EC;
        banner->subtitle = "Bar Code Printer Norvik";
        dialog.control(1005).setCustom(banner);
    }

    ui::TestHost host;
    ui::Dialog dialog{host, bannerTemplate()};
    Repaints repaints;
    std::shared_ptr<CPrefsStatic> banner = std::make_shared<CPrefsStatic>();
};

TEST_F(BannerTest, BackgroundIsBuiltOnceAndKept) {
    EXPECT_FALSE(banner->backgroundBuilt());
    const auto first = banner->background(300, 40);
    EXPECT_EQ(first->width, 300);
    EXPECT_EQ(first->strips, gradientStrips(300, 40, 0x8080EC));
    EXPECT_EQ(first->subtitle, "Bar Code Printer Norvik");
    EXPECT_EQ(first->subtitleFont, (BannerFont{"Verdana", 14, 700}));

    banner->subtitle = "Other";
    banner->gradientColor = 0x80EC80;
    banner->faceName = "Other Face";
    banner->invalidate();
    const auto later = banner->background(500, 60);
    EXPECT_EQ(later, first);
    EXPECT_EQ(later->subtitle, "Bar Code Printer Norvik");
    EXPECT_EQ(later->strips.front().color, 0x020204u);
}

TEST_F(BannerTest, TitleFontIsFixedOnceAFaceIsSet) {
    banner->faceName.clear();
    EXPECT_FALSE(banner->titleFont());  // the dialog's font, and nothing fixed yet
    banner->faceName = "Verdana";
    EXPECT_EQ(banner->titleFont(), (BannerFont{"Verdana", 14, 700}));
    banner->fontHeight = 30;
    EXPECT_EQ(banner->titleFont(), (BannerFont{"Verdana", 14, 700}));
}

TEST_F(BannerTest, TitleIsTheControlTextAndRepaintsOverTheSameBackground) {
    const auto bg = banner->background(300, 40);
    const int before = repaints.count;
    banner->setTitle("Velmora-II (Version 1.0.0)");
    EXPECT_EQ(dialog.control(1005).text(), "Velmora-II (Version 1.0.0)");
    EXPECT_EQ(repaints.count, before + 1);
    dialog.control(1005).setText("Velmora-II");
    EXPECT_EQ(banner->title(), "Velmora-II");
    EXPECT_EQ(banner->background(300, 40), bg);

    banner->textColor = 0xFFFFFF;
    banner->invalidate();
    EXPECT_EQ(repaints.count, before + 3);
}

TEST_F(BannerTest, ContentFollowsTheControlItIsOn) {
    EXPECT_EQ(banner->control(), &dialog.control(1005));
    EXPECT_EQ(dialog.control(1005).custom(), banner.get());
    dialog.control(1005).setCustom(nullptr);
    EXPECT_EQ(banner->control(), nullptr);
    banner->setTitle("ignored");  // no control, no title
    EXPECT_EQ(banner->title(), "");
    {
        ui::Control other(nullptr, 7, ui::ControlKind::Custom, "", {});
        other.setCustom(banner);
        EXPECT_EQ(banner->control(), &other);
    }
    EXPECT_EQ(banner->control(), nullptr);  // the control went, the content stayed
}

}  // namespace
}  // namespace velmora::shell
