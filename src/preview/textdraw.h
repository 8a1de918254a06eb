// Text at printer dots: a monospace face stretched so each character fills a given cell (bitmap
// fonts), and a proportional face at a given height and width (vector fonts). Drawn without
// smoothing, as a thermal head prints.
#pragma once

#include <QPainter>
#include <QString>

namespace velmora::preview {

// Draws `text` from (x, y), its top left, one character per cellWidth x cellHeight dots with
// `gap` dots after each; the width taken.
int drawCellText(QPainter& p, const QString& text, int x, int y, int cellWidth, int cellHeight, int gap, bool bold);

struct VectorStyle {
    int width = 0, height = 0;  // character size, dots
    int spacing = 0;            // extra dots between characters
    bool bold = false, italic = false;
};
// The width `text` takes in the style.
int vectorTextWidth(const QString& text, const VectorStyle& style);
// Draws from (x, y), its top left.
void drawVectorText(QPainter& p, const QString& text, int x, int y, const VectorStyle& style);

}  // namespace velmora::preview
