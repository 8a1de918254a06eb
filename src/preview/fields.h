// The field drawers of the label renderer, one per language; labelrenderer.cpp picks by record.
#pragma once

#include "preview/canvas.h"
#include "preview/labelrenderer.h"

namespace velmora::preview {

// A native field at the label's margins (dx, dy).
void drawNativeField(Canvas& canvas, const sim::LabelField& field, int dx, int dy, const ImageLookup& images);
// A ZII field at the label home (dx, dy).
void drawZiiField(Canvas& canvas, const sim::LabelField& field, int dx, int dy);

// "T20,20,...: why", short enough for a list line.
std::string fieldName(const sim::LabelField& field);

}  // namespace velmora::preview
