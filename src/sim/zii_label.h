// The label side of ZII formats: the field commands between ^XA and ^XZ, gathered into one
// printed-label record per format. Settings commands (^PW, ~SD, ...) stay in zii.h; this builder
// keeps what a label shows: field origins, fonts, data, barcodes and boxes, and lists every other
// "^" command of the format as not drawn, so nothing a user sent disappears silently.
//
//   ^FOx,y  ^FTx,y        field origin, top left or baseline
//   ^Afo,h,w  ^CFf,h,w    field font (font name, orientation N R I B, height, width); default font
//   ^FWo                  default orientation
//   ^FDdata  ^FVdata      field data, up to the next "^" (it may continue on the next line)
//   ^FHi                  the field's data holds hexadecimal escapes: i (default "_") and two digits
//   ^FBw,l,s,j,h          text block;  ^FR reverse;  ^FS field end
//   ^B...                 a barcode (any ^B command but ^BY), its values kept as sent
//   ^BYw,r,h              barcode defaults: module width, wide-to-narrow ratio, height
//   ^GBw,h,t,c,r          box or line
//   ^LHx,y  ^CIn  ^PQq,p,r   label home, code page, quantity (q labels, r replicates)
//
// A format prints a label at ^XZ when it holds at least one field or a ^PQ.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sim/labelrecord.h"

namespace velmora::sim {

struct ZiiSettings;

// The settings of a printed ZII label, as they stand in `settings` (home and code page are the
// builder's and stay zero here).
ZiiLabelFormat labelFormatOf(const ZiiSettings& settings);

class ZiiLabelBuilder {
  public:
    // ^XA: a new label; the defaults (^CF, ^FW, ^BY, ^LH, ^CI) stay from the last format.
    void start();
    // One "^" command of an open format that the settings table does not know. True when it
    // belongs to a label (it is then held, or listed as not drawn).
    bool command(std::string_view command);
    // True while a ^FD has not met the next "^": the next line's text up to it is more data.
    bool inData() const { return inData_; }
    void appendData(std::string_view text);
    // ^XZ: the label to print, when the format has something to print.
    std::optional<LabelRecord> finish(const ZiiSettings& settings);

  private:
    struct Field {
        int x = 0, y = 0;
        bool typeset = false;
        std::optional<char> font{};
        char orientation = 0;  // 0: the ^FW default
        int height = -1, width = -1;  // -1: the ^CF default
        std::optional<ZiiFieldBlock> block{};
        bool reverse = false;
        std::optional<char> hexIndicator{};
        std::optional<ZiiBarcodeField> barcode{};
        std::optional<ZiiBoxField> box{};
        std::optional<std::string> data{};
    };

    void endField();
    void addField(LabelField field, std::size_t dataBytes);
    void notDrawn(std::string_view command);

    // Defaults in force from format to format.
    char defaultFont_ = 'A';
    int defaultHeight_ = 0, defaultWidth_ = 0;  // 0: the font's own size
    char defaultOrientation_ = 'N';
    int moduleWidth_ = 2;
    double ratio_ = 3.0;
    int barHeight_ = 10;
    int homeX_ = 0, homeY_ = 0;
    int codePage_ = 0;

    // The label and field being built.
    LabelRecord label_;
    bool quantityGiven_ = false;
    std::size_t dataBytes_ = 0;
    bool full_ = false;
    Field field_;
    bool inData_ = false;
};

}  // namespace velmora::sim
