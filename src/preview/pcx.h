// A small PCX reader for the images the printer stores ("IS"): run-length encoded, one plane of
// 1 bit or 8 bits per pixel. It gives a picture of dark and light dots, the printer's view of it.
#pragma once

#include <QImage>
#include <string>
#include <string_view>

namespace velmora::preview {

// The image as Format_Mono (index 1 dark), or a null image and the reason. Images wider or longer
// than the given bound are refused before anything is allocated.
QImage readPcx(std::string_view bytes, int maxWidth, int maxHeight, std::string& why);

}  // namespace velmora::preview
