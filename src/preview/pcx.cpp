// Decoding PCX: the 128-byte header, the run-length scan lines, the palette of 8-bit images.
#include "preview/pcx.h"

#include <cstdint>
#include <vector>

namespace velmora::preview {

namespace {

constexpr std::size_t kHeaderBytes = 128;

int u16(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

int luminance(int r, int g, int b) { return (r * 299 + g * 587 + b * 114) / 1000; }

}  // namespace

QImage readPcx(std::string_view bytes, int maxWidth, int maxHeight, std::string& why) {
    if (bytes.size() < kHeaderBytes || static_cast<unsigned char>(bytes[0]) != 0x0A) {
        why = "not a PCX image";
        return {};
    }
    const int encoding = static_cast<unsigned char>(bytes[2]);
    const int bits = static_cast<unsigned char>(bytes[3]);
    const int width = u16(bytes, 8) - u16(bytes, 4) + 1;
    const int height = u16(bytes, 10) - u16(bytes, 6) + 1;
    const int planes = static_cast<unsigned char>(bytes[65]);
    const int bytesPerLine = u16(bytes, 66);
    if (encoding != 1 || planes != 1 || (bits != 1 && bits != 8)) {
        why = "PCX with " + std::to_string(planes) + " planes of " + std::to_string(bits) +
              " bits is not read (1-bit or 8-bit, one plane, run-length encoded)";
        return {};
    }
    if (width <= 0 || height <= 0 || width > maxWidth || height > maxHeight) {
        why = "PCX image of " + std::to_string(width) + " x " + std::to_string(height) + " dots does not fit the label";
        return {};
    }
    if (bytesPerLine * 8 / bits < width) {
        why = "PCX scan line is shorter than the image";
        return {};
    }

    // Which pixel values print dark.
    std::vector<bool> dark(bits == 1 ? 2 : 256, false);
    if (bits == 1) {
        // The header palette holds the two colours; writers that leave it empty mean 0 black.
        const auto c = [&](int i, int k) { return static_cast<unsigned char>(bytes[16 + i * 3 + k]); };
        const bool empty = c(0, 0) == c(1, 0) && c(0, 1) == c(1, 1) && c(0, 2) == c(1, 2);
        for (int i = 0; i < 2; ++i)
            dark[i] = empty ? i == 0 : luminance(c(i, 0), c(i, 1), c(i, 2)) < 128;
    } else {
        const std::size_t palette = bytes.size() >= kHeaderBytes + 769 ? bytes.size() - 769 : 0;
        if (palette == 0 || static_cast<unsigned char>(bytes[palette]) != 0x0C) {
            for (int i = 0; i < 256; ++i) dark[i] = i < 128;  // no palette: grey levels
        } else {
            for (int i = 0; i < 256; ++i) {
                const auto p = [&](int k) { return static_cast<unsigned char>(bytes[palette + 1 + i * 3 + k]); };
                dark[i] = luminance(p(0), p(1), p(2)) < 128;
            }
        }
    }

    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    std::vector<unsigned char> line(static_cast<std::size_t>(bytesPerLine));
    std::size_t at = kHeaderBytes;
    for (int y = 0; y < height; ++y) {
        // Runs may cross line ends in some writers; each line takes exactly bytesPerLine bytes.
        std::size_t filled = 0;
        while (filled < line.size()) {
            if (at >= bytes.size()) {
                why = "PCX data ends at line " + std::to_string(y);
                return {};
            }
            auto b = static_cast<unsigned char>(bytes[at++]);
            std::size_t run = 1;
            if ((b & 0xC0) == 0xC0) {
                run = b & 0x3F;
                if (at >= bytes.size()) {
                    why = "PCX data ends at line " + std::to_string(y);
                    return {};
                }
                b = static_cast<unsigned char>(bytes[at++]);
            }
            for (; run > 0 && filled < line.size(); --run) line[filled++] = b;
        }
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int value = bits == 1 ? (line[x / 8] >> (7 - x % 8)) & 1 : line[x];
            if (dark[value]) out[x / 8] |= static_cast<uchar>(0x80 >> (x % 8));
        }
    }
    return image;
}

}  // namespace velmora::preview
