// The label side of ZII formats: the field commands between ^XA and ^XZ, gathered into one
// printed-label record per format. Settings commands (^PW, ~SD, ...) stay in zii.h; this builder
// keeps what a label shows: field origins, fonts, data, barcodes, graphics and shapes, and lists
// every other "^" command of the format as not drawn, so nothing a user sent disappears silently.
// Values are read as a printer reads them (zii_values.h).
//
//   ^FOx,y  ^FTx,y        field origin, top left or baseline
//   ^Afo,h,w  ^CFf,h,w    field font (font name, orientation N R I B, height, width); default font
//   ^A@o,h,w,file  ^CWa,file   a font by its file name; a font letter as another name for one
//   ^FWo                  default orientation
//   ^FDdata  ^FVdata      field data, up to the next "^" (it may continue on the next line)
//   ^FHi                  the field's data holds hexadecimal escapes: i (default "_") and two digits
//   ^FBw,l,s,j,h  ^TBo,w,h   text block;  ^FR reverse;  ^FS field end;  ^FNn field number
//   ^B...                 a barcode (any ^B command but ^BY), its values kept as sent
//   ^BYw,r,h              barcode defaults: module width, wide-to-narrow ratio, height
//   ^GBw,h,t,c,r          box or line;  ^GCd,t,c circle;  ^GEw,h,t,c ellipse;  ^GDw,h,t,c,o diagonal
//   ^GSo,h,w              symbol characters;  ^GFa,b,c,d,data  graphic field (zii_graphic.h)
//   ~DGname,t,w,data      store a graphic (in any place of the stream);  ^XGname,mx,my  recall it
//   ^DFname ... ^XZ       store the format instead of printing it;  ^XFname  recall it here
//   ^LHx,y  ^LSs  ^LRY  ^MCN  ^CIn  ^PQq,p,r   label home, shift, reverse, keep the picture,
//                         code page, quantity (q labels, r replicates)
//
// A format prints a label at ^XZ when it holds at least one field or a ^PQ.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "sim/labelrecord.h"
#include "sim/zii_values.h"

namespace velmora::sim {

struct ZiiSettings;

// The settings of a printed ZII label, as they stand in `settings` (home and code page are the
// builder's and stay zero here).
ZiiLabelFormat labelFormatOf(const ZiiSettings& settings);

class ZiiLabelBuilder {
  public:
    // ^XA: a new label; the defaults (^CF, ^FW, ^BY, ^LH, ^CI, ...) stay from the last format.
    void start();
    // One "^" command of an open format that the settings table does not know, or a ~DG anywhere.
    // True when it belongs to a label (it is then held, or listed as not drawn).
    bool command(std::string_view command, Leniencies* notes = nullptr);
    // True while data runs on to the next line: ^FD up to the next "^", graphic data up to the
    // next "^" or "~" (dataEnds()).
    bool inData() const { return pending_ != Pending::None; }
    std::string_view dataEnds() const { return pending_ == Pending::FieldData ? "^" : "^~"; }
    void appendData(std::string_view text);
    // ^GFB: binary bytes still due, which no line end or command ends; and those bytes.
    std::size_t binaryWanted() const {
        return pending_ == Pending::Graphic && graphicFormat_ == 'B' && graphicBinary_ > pendingText_.size()
                   ? graphicBinary_ - pendingText_.size()
                   : 0;
    }
    void appendBinary(std::string_view bytes) {
        if (binaryWanted() > 0) pendingText_.append(bytes.substr(0, binaryWanted()));
    }
    // A command the builder does not take ends the data before it.
    void endData(Leniencies* notes) { flushPending(notes); }
    // ^XZ: the label to print, when the format has something to print.
    std::optional<LabelRecord> finish(const ZiiSettings& settings);

    // ^DF: the rest of the format is stored under its name, not run.
    bool storing() const { return storing_.has_value(); }
    void store(std::string_view command);
    // ^XF: the stored format, or nullptr.
    const std::string* storedFormat(std::string_view name) const;
    // While a stored format runs, its ^FN fields take the data the recalling format gives them.
    void replaying(bool on) { replaying_ = on; }
    // A ^LL reached the printer.
    void lengthGiven() { lengthGiven_ = true; }

  private:
    enum class Pending { None, FieldData, Graphic, StoredGraphic };
    struct Field {
        int x = 0, y = 0;
        bool positioned = false;
        bool rightAligned = false;
        bool typeset = false;
        std::optional<char> font{};
        std::string fontFile{};
        char orientation = 0;  // 0: the ^FW default
        int height = -1, width = -1;  // -1: the ^CF default
        std::optional<ZiiFieldBlock> block{};
        bool reverse = false;
        std::optional<char> hexIndicator{};
        std::optional<ZiiBarcodeField> barcode{};
        std::optional<ZiiBoxField> box{};
        std::optional<ZiiGraphicField> graphic{};
        std::optional<ZiiShapeField> shape{};
        bool symbol = false;
        int number = 0;  // ^FN
        std::optional<std::string> data{};
    };
    struct StoredGraphic {
        int bytesPerRow = 0;
        std::string bits;
    };

    void flushPending(Leniencies* notes);
    void endField();
    void addField(LabelField field, std::size_t dataBytes);
    void notDrawn(std::string_view command);
    void error(std::string_view command, std::string why);

    // Defaults in force from format to format.
    char defaultFont_ = 'A';
    int defaultHeight_ = 0, defaultWidth_ = 0;  // 0: the font's own size
    char defaultOrientation_ = 'N';
    int moduleWidth_ = 2;
    double ratio_ = 3.0;
    int barHeight_ = 10;
    int homeX_ = 0, homeY_ = 0;
    int codePage_ = 0;
    int shift_ = 0;
    bool labelReverse_ = false;
    bool mapClear_ = true;
    bool lengthGiven_ = false;
    std::map<char, std::string> fontAliases_;
    // What the printer keeps in its memory: graphics and formats, by name.
    std::map<std::string, StoredGraphic> graphics_;
    std::size_t graphicBytes_ = 0;
    std::map<std::string, std::string> formats_;

    // The label and field being built.
    LabelRecord label_;
    bool quantityGiven_ = false;
    std::size_t dataBytes_ = 0;
    std::size_t graphicBytesInLabel_ = 0;
    bool full_ = false;
    Field field_;
    Pending pending_ = Pending::None;
    std::string pendingText_;
    std::string pendingCommand_;  // the graphic command, for its errors
    char graphicFormat_ = 'A';
    std::size_t graphicTotal_ = 0, graphicRow_ = 0, graphicBinary_ = 0;
    std::string graphicName_;
    std::optional<std::string> storing_;
    bool replaying_ = false;
    std::map<int, std::string> numberedData_;      // ^FN data the format gives
    std::vector<std::pair<int, std::size_t>> slots_;  // ^FN fields of a stored format: number, field
};

}  // namespace velmora::sim
