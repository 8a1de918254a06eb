// What the simulated printer "prints" from either language: the label format in force, the fields
// of one label, and the record made when a print command (native "P", ZII "^XZ") ends the label. The
// records are plain values, so tests and a label preview can read them without the parser, and
// labelToJson() turns one into the JSON that `velmora-sim --labels DIR` writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmora::sim {

// Settings that stay in force from label to label. Empty until a command sets them: the
// simulator does not invent a printer's factory values.
struct LabelFormat {
    std::optional<int> width{};    // "SW", dots
    std::optional<int> length{};   // "SL", dots
    std::optional<int> gap{};      // "SL" second field, dots
    std::optional<char> media{};   // "SL" third field: 'G' gap, 'C' continuous, 'B' black mark
    std::optional<int> marginX{};  // "SM", dots
    std::optional<int> marginY{};
    std::optional<int> speed{};         // "SS", index 0 to 4 (2.5, 3.0, 4.0, 5.0, 6.0 ips)
    std::optional<int> density{};       // "SD", 0 to 20
    std::optional<char> direction{};    // 'T' ("SOT") or 'B' ("SOB")
    std::optional<int> characterSet{};  // "CS" first field, international set 0 to 15
    std::optional<int> codeTable{};     // "CS" second field, 0 to 24

    bool operator==(const LabelFormat&) const = default;
};

// Rotations are kept in degrees (the commands send the index 0 to 3). Texts and barcode data are
// the bytes received, escapes resolved, two-byte characters left as their two bytes.

// "T": text in a bitmap font.
struct TextField {
    int x = 0, y = 0;
    char font = '0';
    int xMultiplier = 1, yMultiplier = 1;
    int rightSpace = 0;
    int rotation = 0;
    bool reverse = false;
    bool bold = false;
    std::string data{};
    // The "CS" setting in force when the text arrived: one label may mix national sets.
    std::optional<int> characterSet{};
    std::optional<int> codeTable{};
    bool operator==(const TextField&) const = default;
};

// "V": text in a scalable font.
struct VectorTextField {
    int x = 0, y = 0;
    char font = 'U';
    int width = 0, height = 0;
    int spacing = 0;  // may be negative
    bool bold = false, reverse = false, italic = false;
    int rotation = 0;
    char justification = 'L';  // 'R', 'C' or 'L'
    bool rightToLeft = false;
    std::string data{};
    // The "CS" setting in force when the text arrived: one label may mix national sets.
    std::optional<int> characterSet{};
    std::optional<int> codeTable{};
    bool operator==(const VectorTextField&) const = default;
};

// "B1": a linear barcode.
struct Barcode1DField {
    int x = 0, y = 0;
    int type = 0;  // 0 Code39 ... 9 UCC/EAN128, see barcode1DName()
    int narrow = 0, wide = 0;
    int height = 0;
    int rotation = 0;
    bool humanReadable = false;
    std::optional<int> quietZone{};
    std::string data{};
    bool operator==(const Barcode1DField&) const = default;
};

// "B2": a Maxicode ('M'), PDF417 ('P') or QR Code ('Q') symbol. Only the members of its
// symbology are meaningful.
struct Barcode2DField {
    int x = 0, y = 0;
    char symbology = 'M';
    int mode = 0;  // Maxicode mode 0, 2, 3 or 4
    // PDF417
    int rows = 0, columns = 0;
    int errorLevel = 0;   // 0 to 8
    int compression = 0;  // 0 text, 1 numeric, 2 binary
    bool humanReadable = false;
    bool centered = false;  // origin: upper left or center
    int moduleWidth = 0;
    int barHeight = 0;
    // QR Code
    int model = 1;
    char errorCorrection = 'L';  // 'L', 'M', 'Q' or 'H'
    int size = 0;
    int rotation = 0;  // PDF417 and QR Code
    std::string data{};
    bool operator==(const Barcode2DField&) const = default;
};

// "BD": a line, box or other shape between two corners.
struct BoxField {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    char type = 'O';             // 'O', 'E', 'D', 'S' or 'B'
    std::optional<int> value{};  // types 'S' and 'B' only
    bool operator==(const BoxField&) const = default;
};

// "IR": a stored image recalled at a position. `size` is the stored image's byte count.
struct ImageField {
    int x = 0, y = 0;
    std::string name{};
    std::uint64_t size = 0;
    bool operator==(const ImageField&) const = default;
};

// ZII fields. Positions are dots from the label home (^LH) as sent; `typeset` is true for ^FT
// (the origin is the text's baseline, a barcode's bottom left) and false for ^FO (top left).
// Data is the ^FD bytes with ^FH hexadecimal escapes resolved; two-byte characters stay as
// their two bytes. `codePage` is the ^CI value in force when the field ended.

// ^FB: the field is a text block.
struct ZiiFieldBlock {
    int width = 0;
    int lines = 1;
    int lineSpacing = 0;
    char justification = 'L';  // L, C, R or J
    int hangingIndent = 0;
    int height = 0;  // ^TB: the block's height in dots; lines that do not fit are left out
    bool textBlock = false;  // ^TB rather than ^FB
    bool operator==(const ZiiFieldBlock&) const = default;
};

// ^A (or the ^CF default) with ^FD.
struct ZiiTextField {
    int x = 0, y = 0;
    bool typeset = false;
    char font = '0';         // ^A font name: a letter or a digit ('@': the font file `fontFile`)
    char orientation = 'N';  // N, R (90), I (180) or B (270)
    int height = 0, width = 0;
    std::string fontFile{};  // ^A@ or a ^CW alias: the font's file name ("E:ARIAL.TTF")
    bool symbol = false;     // ^GS: each letter of the data is a symbol (A (R), B (C), C TM, ...)
    char defaultFont = 'A';  // the ^CF font, for a font the printer does not have
    bool rightAligned = false;  // ^FOx,y,1 or ^FTx,y,1: x is where the text ends
    std::optional<ZiiFieldBlock> block{};
    bool reverse = false;  // ^FR
    int codePage = 0;
    std::string data{};
    bool operator==(const ZiiTextField&) const = default;
};

// A ^B command with its ^FD. `symbology` is the command's two letters ("BC", "B3", "BQ", ...);
// `parameters` its comma-separated values as sent (empty ones kept), the module width and ratio
// the ^BY in force; the bar height a linear symbol gives itself, else the ^BY one.
struct ZiiBarcodeField {
    int x = 0, y = 0;
    bool typeset = false;
    std::string symbology{};
    std::vector<std::string> parameters{};
    int moduleWidth = 2;
    double ratio = 3.0;
    int barHeight = 10;
    bool reverse = false;
    int codePage = 0;
    std::string data{};
    bool operator==(const ZiiBarcodeField&) const = default;
};

// ^GB: a box, or a line when one side is no larger than the thickness.
struct ZiiBoxField {
    int x = 0, y = 0;
    bool typeset = false;
    int width = 1, height = 1, thickness = 1;
    char color = 'B';  // B black, W white
    int rounding = 0;  // 0 to 8
    bool reverse = false;
    bool operator==(const ZiiBoxField&) const = default;
};

// ^GF, or a stored graphic recalled by ^XG: rows of bytesPerRow bytes, the first byte's high bit
// the top left dot, a set bit printing black. `name` is the recalled graphic's (empty for ^GF).
struct ZiiGraphicField {
    int x = 0, y = 0;
    bool typeset = false;
    int bytesPerRow = 0, rows = 0;
    int magnificationX = 1, magnificationY = 1;  // ^XG
    bool reverse = false;
    std::string name{};
    std::string bits{};
    bool operator==(const ZiiGraphicField&) const = default;
};

// ^GC circle, ^GE ellipse, ^GD diagonal line: the shape within width x height dots.
struct ZiiShapeField {
    int x = 0, y = 0;
    bool typeset = false;
    char shape = 'C';  // C circle, E ellipse, D diagonal
    int width = 3, height = 3, thickness = 1;
    char color = 'B';
    char lean = 'R';  // ^GD: R from bottom left to top right, L from top left to bottom right
    bool reverse = false;
    bool operator==(const ZiiShapeField&) const = default;
};

using LabelField = std::variant<TextField, VectorTextField, Barcode1DField, Barcode2DField, BoxField, ImageField,
                                ZiiTextField, ZiiBarcodeField, ZiiBoxField, ZiiGraphicField, ZiiShapeField>;

// The ZII settings in force when a format printed.
struct ZiiLabelFormat {
    int width = 0, length = 0;  // ^PW, ^LL, dots
    int homeX = 0, homeY = 0;   // ^LH
    int printOffset = 0;        // ^LT
    bool inverted = false;      // ^POI
    bool mirror = false;        // ^PMY
    int darkness = 0;           // ~SD
    int printSpeed = 0;         // ^PR, inch per second
    int slewSpeed = 0;
    char mediaType = 'W';
    char printMode = 'T';
    int codePage = 0;  // ^CI at the end of the format
    bool lengthGiven = false;  // a ^LL reached the printer; else `length` is its default
    int shift = 0;             // ^LS: every field this many dots to the left
    bool reverse = false;      // ^LR: every field reverse printed
    bool mapClear = true;      // ^MC: the picture starts blank
    bool operator==(const ZiiLabelFormat&) const = default;
};

enum class LabelLanguage { Native, Zii };

// One print command and the label it printed.
struct LabelRecord {
    std::uint64_t number = 0;  // 1 for the first label printed since the printer started
    int quantity = 1;          // "P" first field
    int copies = 1;            // "P" second field (1 when absent); ZII: ^PQ replicates
    LabelLanguage language = LabelLanguage::Native;
    LabelFormat format;        // native: as in force when the label printed
    ZiiLabelFormat zii{};      // ZII: as in force at ^XZ
    std::vector<LabelField> fields;
    // Commands of this label that could not be understood, each "command text: why".
    std::vector<std::string> errors;
    std::uint64_t errorsNotKept = 0;  // errors beyond kMaxErrors, counted only
    // ZII commands of this format that the record does not hold, as sent (cut short), so a reader
    // sees what the label would show that it cannot.
    std::vector<std::string> notDrawn{};
    bool operator==(const LabelRecord&) const = default;
};

// The label being built, and the printed labels kept for readers. Memory stays bounded however
// many commands arrive: a label keeps at most kMaxFields fields and kMaxDataBytes of text, and
// only the newest kKeptRecords printed labels are kept (the total is counted).
class LabelBook {
  public:
    static constexpr std::size_t kMaxFields = 1000;
    static constexpr std::size_t kMaxDataBytes = 256 * 1024;
    static constexpr std::size_t kMaxErrors = 100;
    static constexpr std::size_t kKeptRecords = 256;

    LabelFormat& format() { return format_; }
    const LabelFormat& format() const { return format_; }
    const LabelRecord& pending() const { return pending_; }

    void addField(LabelField field);
    // `command` is the offending line (cut short in the message), `why` the reason.
    void addError(std::string_view command, std::string_view why);
    // Ends the label being built: its record, as kept (the reference holds until the next label
    // is kept). The format stays in force.
    const LabelRecord& print(int quantity, int copies);
    // Numbers and keeps a label built elsewhere (a ZII format, built per connection). The
    // reference holds until the next label is kept.
    const LabelRecord& keep(LabelRecord record);

    std::uint64_t totalPrinted() const { return totalPrinted_; }
    // The kept records, oldest first.
    std::vector<LabelRecord> printed() const;

  private:
    LabelFormat format_;
    LabelRecord pending_;
    std::size_t pendingBytes_ = 0;
    bool fieldsDropped_ = false;
    std::vector<LabelRecord> kept_;  // ring of kKeptRecords, next write at next_
    std::size_t next_ = 0;
    std::uint64_t totalPrinted_ = 0;
};

// "Code39", "Code128", ... "UCC/EAN128" for types 0 to 9; "" otherwise.
std::string_view barcode1DName(int type);

// The record as one JSON object (UTF-8, two-space indent, ending with a newline). Text and data
// strings map each byte to the character of the same number (U+0000 to U+00FF), so bytes 0x80 and
// above and control bytes appear as \u00XX escapes and every byte received can be recovered.
std::string labelToJson(const LabelRecord& record);

}  // namespace velmora::sim
