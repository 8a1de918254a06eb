// Label pictures as PNG files: the bytes of a picture, and the file the simulator writes beside
// each label record. A one-bit PNG of a 4 x 6 inch label is a few kilobytes.
#pragma once

#include <QImage>
#include <string>

#include "preview/labelrenderer.h"

namespace velmora::preview {

std::string pngBytes(const QImage& image);

// Renders the record and writes it to `path` (replacing the file whole). False, with the reason.
bool writeLabelPng(const sim::LabelRecord& record, const ImageLookup& images, const std::string& path,
                   std::string& error);

// Makes the application object fonts need, on the offscreen platform (no display), unless one
// exists; call once on the main thread before the first picture. The object lives to the end.
void ensureGuiApplication();

}  // namespace velmora::preview
