// The label preview: a printed-label record of either language (sim/labelrecord.h) drawn as the
// printer would print it, one image dot per printer dot (8 dots per millimetre). Qt GUI only
// (QImage, QPainter, fonts); no widgets, so the simulator and the console program use it too.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/labelrecord.h"
#include "sim/zii.h"

namespace velmora::preview {

constexpr int kDotsPerMm = 8;
// The widest label the printer takes, and its longest; no picture is larger. A ZII label may be
// as wide as the widest head of the models.
constexpr int kMaxWidthDots = 832;
constexpr int kMaxZiiWidthDots = sim::ZiiSettings::kHeadWidthDots;
constexpr int kMaxLengthDots = 2432;
// A label that names no width is as wide as the print head; one that names no length is as long
// as its content (and at least this). A ZII label that was given no ^LL has the printer's label
// length, and grows to its content when that reaches further.
constexpr int kMinLengthDots = 80;

struct RenderedLabel {
    std::uint64_t number = 0;
    QImage image;  // one dot per pixel, black on white
    // Everything of the label that the picture does not show, one line each: malformed commands,
    // commands the preview does not draw, fields that failed ("what: why").
    std::vector<std::string> notDrawn;
};

// A stored image by name ("IR"), as its bytes (PCX).
using ImageLookup = std::function<std::optional<std::string>(const std::string& name)>;

RenderedLabel renderLabel(const sim::LabelRecord& record, const ImageLookup& images = {});

// True when the dot at (x, y) prints.
bool isDark(const QImage& image, int x, int y);

}  // namespace velmora::preview
