// Label text to pictures, offline: the text goes through an in-process simulated printer, and
// every label it prints (and a native label left without its print command) is rendered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "preview/labelrenderer.h"

namespace velmora::preview {

enum class Language { Auto, Native, Zii };

// ZII when the text opens a format ("^XA"), else native.
Language detectLanguage(std::string_view text);

struct LabelPictures {
    std::vector<RenderedLabel> labels;
    std::size_t notShown = 0;  // printed labels beyond the simulator's kept ones
};

// Labels of the other language than `language` (when given) are left out. Images the text stores
// ("IS") are found by the labels that recall them.
LabelPictures renderText(std::string_view text, Language language = Language::Auto);

}  // namespace velmora::preview
