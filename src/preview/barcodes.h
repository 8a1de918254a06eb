// Barcodes on the label, encoded by libzint and drawn module by module at the printer's dots, so
// a module is exactly the width the command asked for and a scanner reads the picture.
#pragma once

#include <string>
#include <vector>

#include "preview/canvas.h"
#include "sim/labelrecord.h"

namespace velmora::preview {

// One symbol to draw: a libzint symbology with its options, and the sizes in dots.
struct BarcodeRequest {
    int symbology = 0;      // BARCODE_... of zint.h
    int inputMode = 0;      // DATA_MODE, GS1_MODE
    int option1 = -1, option2 = 0, option3 = 0;
    std::string data;
    std::string primary;    // MaxiCode: postal code, country and class
    int module = 2;         // dots per module (the narrow bar)
    int height = 100;       // bar height of a linear symbol, dots
    int rowHeight = 0;      // dots per row of a stacked symbol; 0: one module
    bool humanReadable = false;
    bool textAbove = false;
    int rotation = 0;       // degrees clockwise
    bool reverse = false;
    bool centered = false;  // origin is the symbol's centre, not its top left
    // ZII: the origin is the corner of the symbol as it stands rotated on the label, its top left
    // (^FO) or bottom left (^FT); native: the point the symbol turns about.
    bool boxOrigin = false;
    bool bottomOrigin = false;
    // Linear symbols with wide and narrow elements: a wide one is this many narrow ones (0: as
    // libzint draws it).
    double ratio = 0;
    // A linear symbol encoded here rather than by libzint: bar, space, bar, ... in modules, and
    // its interpretation line.
    std::vector<int> modules{};
    std::string text{};
};

// Draws at (x, y); false, with the reason in `why`, when libzint cannot encode the data or the
// symbol would not fit the label (nothing is drawn then).
bool drawBarcode(Canvas& canvas, const BarcodeRequest& request, int x, int y, std::string& why);

// The native 1D and 2D barcode fields and the ZII ^B commands, as barcode requests; false (and why) for a
// type or symbology the preview does not draw.
bool nativeBarcode1D(const sim::Barcode1DField& f, BarcodeRequest& request, std::string& why);
bool nativeBarcode2D(const sim::Barcode2DField& f, BarcodeRequest& request, std::string& why);
bool ziiBarcode(const sim::ZiiBarcodeField& f, BarcodeRequest& request, std::string& why);

}  // namespace velmora::preview
