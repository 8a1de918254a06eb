// The drawers of the ZII fields, one file each kind; ziifields.cpp picks by field.
#pragma once

#include "preview/canvas.h"
#include "sim/labelrecord.h"

namespace velmora::preview {

// Each at the label home (dx, dy).
void drawGraphic(Canvas& canvas, const sim::ZiiGraphicField& field, int dx, int dy);
void drawShape(Canvas& canvas, const sim::ZiiShapeField& field, int dx, int dy);

}  // namespace velmora::preview
