// What "velmora-cli preview" gets from the label-picture module: each label as PNG bytes. The
// pictures need Qt and libzint, so they live in a module that only this command loads; every
// other command starts without them. Module and program are built together, so C++ types cross.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::cli {

struct PngLabel {
    std::string png;
    int width = 0;  // dots
    int height = 0;
    std::vector<std::string> notDrawn;  // the fields the picture leaves out, each with why
};

struct PngLabels {
    std::vector<PngLabel> labels;
    std::size_t notShown = 0;  // printed labels beyond those kept
};

enum class PreviewLanguage { Auto, Native, Zii };

inline constexpr const char* kPreviewModule = "velmora-preview.so";
inline constexpr const char* kPreviewEntry = "velmoraRenderPngs";
// The module's entry: the labels `text` prints, as pictures.
using RenderPngs = void (*)(const std::string& text, PreviewLanguage language, PngLabels& out);

}  // namespace velmora::cli
