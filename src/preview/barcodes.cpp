// Encoding with libzint and drawing the module matrix; the mapping from each command's values to
// a symbology and its options.
#include "preview/barcodes.h"

#include <zint.h>

#include <QImage>
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <memory>

#include "preview/code128.h"
#include "preview/gs1.h"
#include "preview/textdraw.h"

namespace velmora::preview {

namespace {

// No symbol is larger than the widest label's length; a value beyond is a typing error.
constexpr int kMaxSymbolDots = 2432;
constexpr int kMaxModuleDots = 40;

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

bool moduleSet(const zint_symbol& s, int row, int col) { return (s.encoded_data[row][col >> 3] >> (col & 7)) & 1; }

bool linear(int symbology) {
    switch (symbology) {
        case BARCODE_QRCODE:
        case BARCODE_DATAMATRIX:
        case BARCODE_PDF417:
        case BARCODE_MAXICODE:
        case BARCODE_AZTEC:
            return false;
        default:
            return true;
    }
}

int number(const std::vector<std::string>& values, std::size_t i, int fallback, int min, int max) {
    if (i >= values.size() || values[i].empty()) return fallback;
    int v = 0;
    const std::string& t = values[i];
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return ec == std::errc() && end == t.data() + t.size() && v >= min && v <= max ? v : fallback;
}

char letter(const std::vector<std::string>& values, std::size_t i, char fallback) {
    return i < values.size() && values[i].size() == 1 ? values[i][0] : fallback;
}

int orientation(char o) {
    switch (o) {
        case 'R': return 90;
        case 'I': return 180;
        case 'B': return 270;
        default: return 0;
    }
}

// Codabar needs its start and stop characters; data without them gets "A".
std::string codabar(std::string data, char start = 'A', char stop = 'A') {
    const auto isGuard = [](char c) { return std::strchr("ABCDabcd", c) != nullptr && c != 0; };
    if (data.empty() || !isGuard(data.front())) data.insert(data.begin(), start);
    if (data.size() < 2 || !isGuard(data.back())) data.push_back(stop);
    return data;
}

// A MaxiCode structured carrier message "class,country,postal,...,message" (native mode 0, 2, 3):
// libzint takes the postal code, country and class as its primary message.
void maxicodeCarrier(BarcodeRequest& request, const std::string& data, int mode) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = data.find(',', start);
        if (comma == std::string::npos) break;
        parts.push_back(data.substr(start, comma - start));
        start = comma + 1;
    }
    if (parts.size() < 3) {
        request.option1 = 4;  // no carrier fields: a plain message
        return;
    }
    std::string postal = parts[2];
    std::string message = data.substr(start);
    if (parts.size() == 4) {
        if (mode == 3) {
            message = parts[3] + "," + message;  // the fourth value belongs to the message
        } else {
            postal += parts[3];
        }
    }
    request.option1 = mode == 3 ? 3 : 2;
    request.primary = postal + parts[1] + parts[0];
    request.data = message;
}

// GS1 element strings ("0109501101530003" GS "10AB") with their application identifiers in
// brackets, as libzint takes them; nullopt when an identifier is not one GS1 defines the length of.
std::optional<std::string> gs1Brackets(const std::string& data) {
    std::string out;
    std::size_t i = 0;
    while (i < data.size()) {
        if (data[i] == '\x1d') {
            ++i;
            continue;
        }
        if (i + 2 > data.size() || !std::isdigit(static_cast<unsigned char>(data[i])) || !std::isdigit(static_cast<unsigned char>(data[i + 1])))
            return std::nullopt;
        const int two = (data[i] - '0') * 10 + data[i + 1] - '0';
        const auto ai = static_cast<std::size_t>(gs1IdentifierLength(two));
        if (i + ai > data.size()) return std::nullopt;
        std::size_t end = gs1FixedLength(two) > 0 ? i + static_cast<std::size_t>(gs1FixedLength(two)) : data.find('\x1d', i);
        end = std::min(end, data.size());
        out += "[" + data.substr(i, ai) + "]" + data.substr(i + ai, end - i - ai);
        i = end;
    }
    return out;
}

}  // namespace

bool drawBarcode(Canvas& canvas, const BarcodeRequest& request, int x, int y, std::string& why) {
    if (request.data.empty() && request.modules.empty()) {
        why = "no data";
        return false;
    }
    const int module = std::clamp(request.module, 1, kMaxModuleDots);
    // A linear symbol as bar, space, bar, ... widths in dots, and its interpretation line.
    std::vector<int> bars;
    std::string hrt;
    for (const int m : request.modules) bars.push_back(m * module);
    hrt = request.text;
    Symbol symbol(ZBarcode_Create());
    if (!symbol) {
        why = "out of memory";
        return false;
    }
    zint_symbol& s = *symbol;
    if (request.modules.empty()) {
        s.symbology = request.symbology;
        s.input_mode = request.inputMode;
        s.option_1 = request.option1;
        s.option_2 = request.option2;
        s.option_3 = request.option3;
        s.show_hrt = request.humanReadable ? 1 : 0;
        std::strncpy(s.primary, request.primary.c_str(), sizeof(s.primary) - 1);
        const int rc = ZBarcode_Encode(&s, reinterpret_cast<const unsigned char*>(request.data.data()),
                                       static_cast<int>(request.data.size()));
        if (rc >= ZINT_ERROR) {
            why = s.errtxt;
            return false;
        }
        if (linear(request.symbology)) {
            // Every row of a linear symbol (EAN add-ons aside) is the same: one row of bars. An
            // element wider than one module is a wide one, as wide as the ratio asks.
            const int wide = request.ratio > 0 ? static_cast<int>(request.ratio * module + 0.5) : 0;
            for (int c = 0; c < s.width;) {
                int end = c;
                while (end < s.width && moduleSet(s, 0, end) == moduleSet(s, 0, c)) ++end;
                if (c == 0 && !moduleSet(s, 0, 0)) bars.push_back(0);  // bars come first
                bars.push_back(wide > 0 && end - c > 1 ? wide : (end - c) * module);
                c = end;
            }
            hrt = reinterpret_cast<const char*>(s.text);
        }
    }
    const bool isLinear = !request.modules.empty() || linear(request.symbology);

    QPainter& p = canvas.painter;
    QImage maxi;
    int width = 0, height = 0;
    if (request.symbology == BARCODE_MAXICODE) {
        // Hexagons and rings: libzint's own raster, scaled to the symbol's 1.11 inch (226 dots).
        s.scale = 4.0f;
        if (ZBarcode_Buffer(&s, 0) >= ZINT_ERROR || !s.bitmap) {
            why = s.errtxt;
            return false;
        }
        // Dark hexagons only: what lies below the symbol's light parts stays, as the printer leaves it.
        QImage raw(s.bitmap_width, s.bitmap_height, QImage::Format_ARGB32_Premultiplied);
        for (int r = 0; r < s.bitmap_height; ++r) {
            auto* line = reinterpret_cast<QRgb*>(raw.scanLine(r));
            for (int c = 0; c < s.bitmap_width; ++c) {
                const unsigned char* px = s.bitmap + (static_cast<std::size_t>(r) * s.bitmap_width + c) * 3;
                line[c] = px[0] < 128 ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0);
            }
        }
        maxi = raw.scaledToWidth(226, Qt::FastTransformation);
        width = maxi.width();
        height = maxi.height();
    } else if (isLinear) {
        for (const int b : bars) width += b;
        height = std::max(1, request.height);
    } else {
        width = s.width * module;
        height = s.rows * (request.rowHeight > 0 ? request.rowHeight : module);
    }
    if (width > kMaxSymbolDots || height > kMaxSymbolDots) {
        why = "the symbol (" + std::to_string(width) + " x " + std::to_string(height) + " dots) is larger than any label";
        return false;
    }

    const int textHeight = isLinear && request.humanReadable ? std::max(14, module * 9) : 0;
    p.save();
    p.translate(x, y);
    if (request.boxOrigin) {
        // The origin is the top left (or bottom left) of the symbol as it stands on the label.
        const int w = width, h = height + textHeight;
        if (request.bottomOrigin) p.translate(0, -(request.rotation % 180 == 0 ? h : w));
        if (request.rotation == 90) p.translate(h, 0);
        if (request.rotation == 180) p.translate(w, h);
        if (request.rotation == 270) p.translate(0, w);
    }
    p.rotate(request.rotation);
    if (request.centered) p.translate(-width / 2, -height / 2);
    const int barTop = request.textAbove ? textHeight : 0;
    {
        ReverseScope reverse(p, request.reverse);
        if (!maxi.isNull()) {
            p.drawImage(0, 0, maxi);
        } else if (isLinear) {
            int at = 0;
            for (std::size_t i = 0; i < bars.size(); at += bars[i], ++i)
                if (i % 2 == 0 && bars[i] > 0) p.fillRect(at, barTop, bars[i], height, Qt::black);
        } else {
            const int row = request.rowHeight > 0 ? request.rowHeight : module;
            for (int r = 0; r < s.rows; ++r) {
                for (int c = 0; c < s.width;) {
                    if (!moduleSet(s, r, c)) {
                        ++c;
                        continue;
                    }
                    int end = c;
                    while (end < s.width && moduleSet(s, r, end)) ++end;
                    p.fillRect(c * module, r * row, (end - c) * module, row, Qt::black);
                    c = end;
                }
            }
        }
        if (textHeight > 0) {
            const std::string& text = hrt;
            const int cellW = std::max(6, textHeight * 6 / 10);
            const int textW = cellW * static_cast<int>(text.size());
            const int textY = request.textAbove ? 0 : height + 2;
            drawCellText(p, QString::fromUtf8(text.c_str()), (width - textW) / 2, textY, cellW, textHeight - 2, 0, false);
        }
    }
    canvas.reached(QRectF(0, 0, width, height + textHeight));
    p.restore();
    return true;
}

bool nativeBarcode1D(const sim::Barcode1DField& f, BarcodeRequest& request, std::string& why) {
    static constexpr int kSymbologies[] = {BARCODE_CODE39, BARCODE_CODE128, BARCODE_C25INTER, BARCODE_CODABAR,
                                           BARCODE_CODE93, BARCODE_UPCA,    BARCODE_UPCE,     BARCODE_EANX,
                                           BARCODE_EANX,   BARCODE_GS1_128};
    if (f.type < 0 || f.type >= static_cast<int>(std::size(kSymbologies))) {
        why = "barcode type " + std::to_string(f.type) + " is unknown";
        return false;
    }
    request.symbology = kSymbologies[f.type];
    request.data = f.data;
    if (request.symbology == BARCODE_CODABAR) request.data = codabar(request.data);
    if (request.symbology == BARCODE_GS1_128) request.inputMode = f.data.find('(') != std::string::npos ? GS1_MODE | GS1PARENS_MODE : GS1_MODE;
    request.module = std::max(1, f.narrow);
    request.height = f.height;
    request.humanReadable = f.humanReadable;
    request.rotation = f.rotation;
    return true;
}

bool nativeBarcode2D(const sim::Barcode2DField& f, BarcodeRequest& request, std::string& why) {
    request.data = f.data;
    request.rotation = f.rotation;
    switch (f.symbology) {
        case 'M':
            request.symbology = BARCODE_MAXICODE;
            request.rotation = 0;
            if (f.mode == 4) {
                request.option1 = 4;
            } else {
                maxicodeCarrier(request, f.data, f.mode);
            }
            return true;
        case 'P':
            request.symbology = BARCODE_PDF417;
            request.option1 = std::clamp(f.errorLevel, 0, 8);
            request.option2 = std::clamp(f.columns, 0, 30);
            request.option3 = f.rows >= 3 && f.rows <= 90 ? f.rows : 0;
            request.module = std::max(1, f.moduleWidth);
            request.rowHeight = std::max(request.module, f.barHeight);
            request.centered = f.centered;
            return true;
        case 'Q': {
            request.symbology = BARCODE_QRCODE;
            static constexpr std::string_view kLevels = "LMQH";
            const std::size_t level = kLevels.find(f.errorCorrection);
            request.option1 = level == std::string_view::npos ? 1 : static_cast<int>(level) + 1;
            request.module = std::max(1, f.size);
            return true;
        }
        default:
            why = std::string("2D symbology '") + f.symbology + "' is unknown";
            return false;
    }
}

bool ziiBarcode(const sim::ZiiBarcodeField& f, BarcodeRequest& request, std::string& why) {
    const auto& v = f.parameters;
    const std::string& name = f.symbology;
    request.data = f.data;
    request.module = f.moduleWidth;
    request.height = f.barHeight;
    request.reverse = f.reverse;
    request.bottomOrigin = f.typeset;
    request.boxOrigin = true;
    request.rotation = orientation(letter(v, 0, 'N'));
    // The common layout of the linear ones: orientation, height (the record has it), line, line
    // above.
    const auto linearCommon = [&](std::size_t lineAt) {
        request.humanReadable = letter(v, lineAt, 'Y') == 'Y';
        request.textAbove = letter(v, lineAt + 1, 'N') == 'Y';
    };
    if (name == "BC") {
        linearCommon(2);
        const auto symbol = encodeCode128(f.data, letter(v, 5, 'N'), why);
        if (!symbol) return false;
        request.modules = symbol->modules;
        request.text = symbol->text;
        return true;
    }
    // Symbols of wide and narrow elements take the ^BY ratio.
    request.ratio = f.ratio;
    if (name == "B3") {
        request.symbology = BARCODE_CODE39;
        request.option2 = letter(v, 1, 'N') == 'Y' ? 1 : 0;
        linearCommon(3);
        return true;
    }
    if (name == "B1" || name == "BL") {
        request.symbology = name == "B1" ? BARCODE_CODE11 : BARCODE_LOGMARS;
        linearCommon(name == "B1" ? 3 : 99);  // LOGMARS always shows its line
        return true;
    }
    request.ratio = 0;
    if (name == "BA") {
        request.symbology = BARCODE_CODE93;
        linearCommon(2);
        return true;
    }
    if (name == "BE" || name == "B8") {
        request.symbology = BARCODE_EANX;
        linearCommon(2);
        return true;
    }
    if (name == "BU" || name == "B9") {
        request.symbology = name == "BU" ? BARCODE_UPCA : BARCODE_UPCE;
        linearCommon(2);
        return true;
    }
    if (name == "B2") {
        request.ratio = f.ratio;
        request.symbology = BARCODE_C25INTER;
        linearCommon(2);
        return true;
    }
    if (name == "BK") {
        request.ratio = f.ratio;
        request.symbology = BARCODE_CODABAR;
        linearCommon(3);
        request.data = codabar(f.data, letter(v, 5, 'A'), letter(v, 6, 'A'));
        return true;
    }
    if (name == "BQ") {
        request.symbology = BARCODE_QRCODE;
        request.module = number(v, 2, 2, 1, 10);
        // The data leads with the error correction level and the input mode: "QA,text".
        static constexpr std::string_view kLevels = "LMQH";
        const std::size_t comma = f.data.find(',');
        if (comma != std::string::npos && comma <= 2) {
            const std::size_t level = comma > 0 ? kLevels.find(f.data[0]) : std::string_view::npos;
            request.option1 = level == std::string_view::npos ? 2 : static_cast<int>(level) + 1;
            request.data = f.data.substr(comma + 1);
        }
        return true;
    }
    if (name == "B7") {
        request.symbology = BARCODE_PDF417;
        request.rowHeight = number(v, 1, 0, 1, 255);
        if (request.rowHeight == 0) request.rowHeight = std::max(request.module, f.barHeight / 10);
        request.option1 = number(v, 2, -1, 0, 8);
        request.option2 = number(v, 3, 0, 1, 30);
        request.option3 = number(v, 4, 0, 3, 90);
        return true;
    }
    if (name == "BX") {
        request.symbology = BARCODE_DATAMATRIX;
        request.option3 = DM_SQUARE;  // the printer chooses among square sizes
        request.module = number(v, 1, f.moduleWidth, 1, kMaxModuleDots);
        // The escape character: "_1" FNC1 (first, GS1 data; later, a field separator),
        // "_dNNN" the character NNN, "__" itself.
        if (const char escape = letter(v, 6, 0); escape != 0) {
            std::string data;
            bool gs1 = false;
            for (std::size_t i = 0; i < f.data.size(); ++i) {
                if (f.data[i] != escape || i + 1 >= f.data.size()) {
                    data += f.data[i];
                    continue;
                }
                const char code = f.data[++i];
                if (code == '1') {
                    if (data.empty()) gs1 = true; else data += '\x1d';
                } else if (code == 'd' && i + 3 < f.data.size()) {
                    data += static_cast<char>(std::atoi(f.data.substr(i + 1, 3).c_str()) & 0xFF);
                    i += 3;
                } else if (code == escape) {
                    data += escape;
                }
            }
            request.data = gs1 ? gs1Brackets(data).value_or(data) : data;
            if (gs1 && request.data != data) request.inputMode = GS1_MODE | GS1NOCHECK_MODE;
        }
        return true;
    }
    if (name == "B0" || name == "BO") {
        // ^B0o,m,e,s: magnification, extended channel, size (1-99 error correction per cent,
        // 101-104 compact layers, 201-232 full-range layers).
        request.symbology = BARCODE_AZTEC;
        request.module = number(v, 1, 3, 1, 10);
        const int size = number(v, 3, 0, 0, 300);
        if (size >= 1 && size <= 99) request.option1 = size <= 10 ? 1 : size <= 23 ? 2 : size <= 36 ? 3 : 4;
        if (size >= 101 && size <= 104) request.option2 = size - 100;
        if (size >= 201 && size <= 232) request.option2 = size - 200 + 4;
        return true;
    }
    if (name == "BD") {
        request.symbology = BARCODE_MAXICODE;
        request.rotation = 0;
        const int mode = number(v, 0, 2, 2, 6);
        request.option1 = mode;
        if (mode == 2 || mode == 3) {
            // The high-priority message: class of service, country, postal code.
            if (f.data.size() < 7) {
                why = "MaxiCode mode " + std::to_string(mode) + " needs its class, country and postal code";
                return false;
            }
            const std::string service = f.data.substr(0, 3), country = f.data.substr(3, 3);
            const std::size_t postalLength = mode == 2 ? 9 : 6;
            const std::string postal = f.data.substr(6, postalLength);
            request.primary = postal + country + service;
            request.data = f.data.size() > 6 + postalLength ? f.data.substr(6 + postalLength) : std::string(" ");
        }
        return true;
    }
    why = "^" + name + " barcodes are not drawn";
    return false;
}

}  // namespace velmora::preview
