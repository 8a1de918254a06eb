// The title banner's background geometry and its build-once cache.
#include "shell/prefsstatic.h"

#include <algorithm>

namespace velmora::shell {

namespace {

// Each component c becomes c - t²·c / w², truncated: t = 0 keeps the colour, t = w is black.
// 64-bit intermediates, because t²·c passes 32 bits from a banner of about 2,900 pixels on.
Rgb colorAtDistance(Rgb color, std::int64_t t, std::int64_t w) {
    const std::int64_t t2 = t * t;
    const std::int64_t w2 = w * w;
    Rgb out = 0;
    for (int shift : {16, 8, 0}) {
        const std::int64_t c = (color >> shift) & 0xFF;
        out |= static_cast<Rgb>(c - t2 * c / w2) << shift;
    }
    return out;
}

// A band clipped to [0, width); false when nothing of it is inside.
bool clip(GradientStrip& s, int width) {
    const int end = std::min(s.x + s.width, width);
    s.x = std::max(s.x, 0);
    s.width = end - s.x;
    return s.width > 0;
}

}  // namespace

std::vector<GradientStrip> gradientStrips(int width, int height, Rgb gradient, Rgb buttonFace) {
    std::vector<GradientStrip> strips;
    if (width <= 0 || height <= 0) return strips;
    const int w = width;
    const int step = std::max(w / 128, 1);
    if (gradient != buttonFace) {
        // Left to right, darkest first; the band that passes the right edge is the last one.
        for (std::int64_t k = 1;; ++k) {
            GradientStrip s{static_cast<int>((k - 1) * step), step,
                            colorAtDistance(gradient, w - k * step, w)};
            if (clip(s, w)) strips.push_back(s);
            if (k * step > w) break;
        }
    } else {
        // Right to left, brightest first, then black up to the last band.
        int x = w;
        for (std::int64_t k = 1; x > step; ++k) {
            x -= step;
            strips.push_back({x, step, colorAtDistance(gradient, k * step, w)});
        }
        strips.push_back({0, x, 0x000000});
    }
    return strips;
}

std::string CPrefsStatic::title() const { return control() ? control()->text() : std::string(); }

void CPrefsStatic::setTitle(const std::string& text) {
    if (control()) control()->setText(text);
}

std::shared_ptr<const BannerBackground> CPrefsStatic::background(int width, int height) {
    if (!background_) {
        auto bg = std::make_shared<BannerBackground>();
        bg->width = std::max(width, 0);
        bg->height = std::max(height, 0);
        bg->strips = gradientStrips(width, height, gradientColor);
        bg->subtitle = subtitle;
        bg->subtitleFont = {faceName, 14, 700};
        background_ = std::move(bg);
    }
    return background_;
}

std::optional<BannerFont> CPrefsStatic::titleFont() {
    if (!titleFont_ && !faceName.empty()) titleFont_ = BannerFont{faceName, fontHeight, fontWeight};
    return titleFont_;
}

}  // namespace velmora::shell
