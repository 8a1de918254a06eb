// ZII text: the bytes of a field in its code page (^CI), and the fonts a printer draws them in.
// The scalable font 0 is a bold condensed sans whose capitals stand three quarters of the ^A
// height, stretched to the ^A width; the bitmap fonts fill cells of their own sizes, grown by
// whole multiples.
#pragma once

#include <QPainter>
#include <QString>
#include <optional>
#include <string>

namespace velmora::preview {

// ^CI: 28 UTF-8, 29 and 30 UTF-16 (big and little endian), 27 Windows-1252, 0 to 13 the
// printer's single-byte page (code page 850 above 127); any other page as Latin-1.
QString ziiText(const std::string& data, int codePage);

struct ZiiFont {
    bool scalable = false;
    int height = 0, width = 0;  // scalable: the character size; bitmap: the cell
    int gap = 0;                // bitmap: dots between cells
    // Dots from the top of a line to its baseline.
    int baseline() const;
};

// The font `name` at the ^A height and width (0: not given); nullopt for a font the printer
// does not have. Font names are letters and digits; a lower-case one is its capital.
std::optional<ZiiFont> ziiFont(char name, int height, int width);

int ziiTextWidth(const QString& text, const ZiiFont& font);
// Draws `text` with its baseline at (x, baseline).
void drawZiiText(QPainter& p, const QString& text, int x, int baseline, const ZiiFont& font);

}  // namespace velmora::preview
