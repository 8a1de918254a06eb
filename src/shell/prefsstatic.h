// The title banner across the top of the main window: a dark-to-bright colour gradient with the
// title on the left and an embossed subtitle on the right. This is the banner's content and its
// geometry, free of any window system; the window program paints it (gui/bannerpainter).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace velmora::shell {

using Rgb = std::uint32_t;  // 0xRRGGBB

// The classic system colours the banner was designed against. The gradient's direction depends
// on whether its colour equals the button face, so that one must be a fixed value.
constexpr Rgb kButtonFaceColor = 0xF0F0F0;
constexpr Rgb kButtonHighlightColor = 0xFFFFFF;
constexpr Rgb kButtonShadowColor = 0xA0A0A0;

// One vertical band of the background, as high as the banner.
struct GradientStrip {
    int x = 0;
    int width = 0;
    Rgb color = 0;
    bool operator==(const GradientStrip&) const = default;
};

// The bands of a width x height banner, in drawing order, clipped to the banner (together they
// cover it exactly). A gradient colour other than the button face runs from nearly black at the
// left to the full colour at the right; the button face itself is laid from the right towards
// the left, and whatever is left over at the left edge is filled black. Bands are width/128
// pixels wide (at least 1). A banner with no area has no bands.
std::vector<GradientStrip> gradientStrips(int width, int height, Rgb gradient,
                                          Rgb buttonFace = kButtonFaceColor);

// A font as the banner asks for it: face (empty = the dialog's own font), pixel height and a
// weight on the 100 (thin) to 900 (black) scale, 400 being normal and 700 bold.
struct BannerFont {
    std::string face;
    int height = 0;
    int weight = 400;
    bool operator==(const BannerFont&) const = default;
};

// What the background shows once built: its bands and the embossed subtitle.
struct BannerBackground {
    int width = 0;
    int height = 0;
    std::vector<GradientStrip> strips;
    std::string subtitle;
    BannerFont subtitleFont;                // the title's face, 14 pixels, bold
    Rgb highlight = kButtonHighlightColor;  // drawn 1 pixel right and down...
    Rgb shadow = kButtonShadowColor;        // ...then this at the exact place
};

// The banner's content, carried by a Custom control (id 1005 of the main window). Set the fields
// before the window first paints it; a later change needs invalidate() to be seen, and some are
// not seen at all (below).
class CPrefsStatic final : public ui::CustomContent {
  public:
    std::string faceName;                  // title face; empty = the dialog's own font
    int fontHeight = 12;                   // title height in pixels
    int fontWeight = 400;                  // title weight, 100 to 900
    Rgb textColor = kButtonFaceColor;      // title colour, read at every paint
    Rgb gradientColor = kButtonFaceColor;  // bright end of the gradient
    std::string subtitle;                  // drawn right-aligned, embossed

    // The title is the carrying control's text; setting it repaints the title over the
    // unchanged background. Without a control there is no title.
    std::string title() const;
    void setTitle(const std::string& text);

    // The background, built on the first call for the size asked and kept from then on: the
    // subtitle, its font and the gradient colour are those of that moment, and later sizes and
    // field changes do not rebuild it.
    std::shared_ptr<const BannerBackground> background(int width, int height);
    bool backgroundBuilt() const { return background_ != nullptr; }

    // The title font, fixed on the first call made while a face is set; with no face set it is
    // empty and the dialog's own font is used.
    std::optional<BannerFont> titleFont();

  private:
    std::shared_ptr<const BannerBackground> background_;
    std::optional<BannerFont> titleFont_;
};

}  // namespace velmora::shell
