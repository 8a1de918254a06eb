// Label streams for the simulator benchmark, made from a fixed seed so every run sends the same
// bytes.
#include "sim_streams.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tester/tavlcommands.h"

namespace velmora::bench {

namespace {

class Dice {
  public:
    explicit Dice(std::uint64_t seed) : engine_(seed) {}
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(N) - 1))];
    }
    std::string digits(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>('0' + between(0, 9));
        return s;
    }
    std::string letters(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>('A' + between(0, 25));
        return s;
    }
    std::mt19937_64& engine() { return engine_; }

  private:
    std::mt19937_64 engine_;
};

const char* const kFirstNames[] = {"Maria", "James",  "Aiko", "Lars",   "Fatima", "Chen",  "Olga",   "Pedro",
                                   "Grace", "Tomasz", "Noor", "Ingrid", "Kwame",  "Lucia", "Henrik", "Priya"};
const char* const kLastNames[] = {"Lindqvist", "Okafor", "Tanaka", "Moreau",  "Kowalski", "Haddad",
                                  "Brennan",   "Silva",  "Novak",  "Fischer", "Nakamura", "Andersen",
                                  "Ruiz",      "Osei",   "Petrov", "Walsh"};
const char* const kStreets[] = {"Harbour Road",   "Main Street", "Industrial Park Dr", "Elm Avenue",
                                "Station Square", "Mill Lane",   "Commerce Blvd",      "Lakeview Terrace",
                                "Warehouse Way",  "Birch Court"};
const char* const kCities[] = {"SPRINGFIELD", "RIVERTON", "LAKEWOOD", "FAIRVIEW", "GEORGETOWN", "MADISON",
                               "ASHLAND",     "CLINTON",  "SALEM",    "FRANKLIN", "GREENVILLE", "BRISTOL"};
const char* const kStates[] = {"TN", "OH", "CA", "TX", "WA", "NY", "GA", "IL", "MN", "OR", "CO", "AZ"};
const char* const kCompanies[] = {"Northwind Traders", "Blue Heron Outfitters", "Acme Parts Supply",
                                  "Copperleaf Books",  "Granite Peak Tools",    "Meadow & Vine Ltd",
                                  "Polar Freight Co",  "Sunrise Garden Goods"};
const char* const kServices[] = {"GROUND",        "2ND DAY AIR", "NEXT DAY AIR",
                                 "EXPRESS SAVER", "ECONOMY",     "PRIORITY"};

std::string number(int v) { return std::to_string(v); }

// A monochrome picture, rows of `bytesPerRow` bytes.
struct Bitmap {
    int bytesPerRow = 0, rows = 0;
    std::vector<std::uint8_t> bits;
    void set(int x, int y) {
        if (x < 0 || y < 0 || x >= bytesPerRow * 8 || y >= rows) return;
        bits[static_cast<std::size_t>(y * bytesPerRow + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
};

// A company logo: a ring, a filled disc and a bar or two, as logos are mostly white and runs.
Bitmap logo(Dice& dice) {
    Bitmap b;
    b.bytesPerRow = dice.between(10, 28);
    b.rows = dice.between(48, 140);
    b.bits.assign(static_cast<std::size_t>(b.bytesPerRow * b.rows), 0);
    const int width = b.bytesPerRow * 8;
    const int r = std::min(width, b.rows) / 2 - 2;
    const int cx = r + 1, cy = b.rows / 2;
    for (int y = 0; y < b.rows; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = x - cx, dy = y - cy, d = dx * dx + dy * dy;
            if ((d <= r * r && d >= (r - 5) * (r - 5)) || d <= (r / 3) * (r / 3)) b.set(x, y);
            if (x > 2 * r + 6 && (y % 24 < 9) && x < width - (y % 3) * 7) b.set(x, y);
        }
    }
    return b;
}

// A whole label sent as one picture, as some carriers' systems do: text-like specks on white.
Bitmap raster(Dice& dice) {
    Bitmap b;
    b.bytesPerRow = 100;
    b.rows = dice.between(300, 700);
    b.bits.assign(static_cast<std::size_t>(b.bytesPerRow * b.rows), 0);
    for (int y = 0; y < b.rows; ++y) {
        if (y % 40 >= 22) continue;  // line spacing
        for (int x = 40; x < 760; ++x)
            if ((x / 12) % 7 != 6 && dice.chance(35)) b.set(x, y);
    }
    return b;
}

// Repeat count letters of the hexadecimal shorthand: g to z for twenties, G to Y for the rest.
std::string repeatLetters(int n) {
    std::string s;
    while (n >= 20) {
        const int twenties = std::min(n / 20, 20);
        s += static_cast<char>('g' + twenties - 1);
        n -= twenties * 20;
    }
    if (n > 0) s += static_cast<char>('G' + n - 1);
    return s;
}

// Hexadecimal with the shorthand label software writes: runs, "," for a white rest of the row,
// ":" for a row like the one before.
std::string compressedHex(const Bitmap& b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out, previous;
    for (int y = 0; y < b.rows; ++y) {
        std::string row;
        for (int i = 0; i < b.bytesPerRow; ++i) {
            const std::uint8_t v = b.bits[static_cast<std::size_t>(y * b.bytesPerRow + i)];
            row += kHex[v >> 4];
            row += kHex[v & 15];
        }
        if (row == previous) {
            out += ':';
            continue;
        }
        previous = row;
        std::size_t end = row.find_last_not_of('0') + 1;  // npos + 1 == 0 for a white row
        for (std::size_t i = 0; i < end;) {
            std::size_t j = i;
            while (j < end && row[j] == row[i]) ++j;
            const int run = static_cast<int>(j - i);
            if (run > 1) out += repeatLetters(run);
            out += row[i];
            i = j;
        }
        if (end < row.size()) out += ',';
    }
    return out;
}

std::string plainHex(const Bitmap& b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(b.bits.size() * 2);
    for (const std::uint8_t v : b.bits) {
        out += kHex[v >> 4];
        out += kHex[v & 15];
    }
    return out;
}

std::string base64(const std::string& bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(v >> shift) & 63];
    }
    if (i < bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// ":Z64:" base 64 of the zlib stream, then ":" and the CRC-16 of the base 64 text.
std::string z64(const Bitmap& b) {
    uLongf size = compressBound(static_cast<uLong>(b.bits.size()));
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size, b.bits.data(),
              static_cast<uLong>(b.bits.size()), 9);
    packed.resize(size);
    const std::string text = base64(packed);
    std::uint16_t crc = 0;
    for (const char c : text) {
        crc ^= static_cast<std::uint16_t>(static_cast<unsigned char>(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, ":%04X", crc);
    return ":Z64:" + text + tail;
}

std::string graphicField(const Bitmap& b, const std::string& data) {
    const std::string total = number(static_cast<int>(b.bits.size()));
    return "^GFA," + total + "," + total + "," + number(b.bytesPerRow) + "," + data;
}

struct Address {
    std::string name, company, street, city;
};

Address address(Dice& dice) {
    Address a;
    a.name = std::string(dice.pick(kFirstNames)) + " " + dice.pick(kLastNames);
    a.company = dice.pick(kCompanies);
    a.street = number(dice.between(1, 9999)) + " " + dice.pick(kStreets);
    a.city = std::string(dice.pick(kCities)) + " " + dice.pick(kStates) + " " + dice.digits(5);
    return a;
}

// One shipping label. `design` writes positions as a design program does, some with decimals.
std::string shippingLabel(Dice& dice, int serial, bool storedLogo) {
    const bool design = dice.chance(12);
    const auto at = [&](int x, int y) {
        if (design && dice.chance(30))
            return number(x) + "." + dice.digits(2) + "," + number(y) + "." + dice.digits(1);
        return number(x) + "," + number(y);
    };
    const Address from = address(dice), to = address(dice);
    const std::string tracking = "1Z" + dice.letters(3) + dice.digits(3) + dice.letters(2) + dice.digits(8);
    std::string s;
    s += "^XA\r\n";
    s += "^MMT^PW812^LL1218^LS0^CI28\r\n";
    if (dice.chance(30))
        s += "^PR" + number(dice.between(2, 6)) + "~SD" + number(dice.between(10, 25)) + "\r\n";
    s += "^LH0,0^FWN\r\n";
    s += "^FX sender and logo^FS\r\n";
    s += "^FO10,10^GB792,1198,3^FS\r\n";
    if (storedLogo) {
        s += "^FO" + at(24, 24) + "^XGR:LOGO.GRF,1,1^FS\r\n";
    } else {
        const Bitmap l = logo(dice);
        s += "^FO" + at(24, 24) + graphicField(l, dice.chance(25) ? z64(l) : compressedHex(l)) + "^FS\r\n";
    }
    s += "^CF0,26\r\n";
    s += "^FO" + at(250, 30) + "^FD" + from.company + "^FS\r\n";
    s += "^FO" + at(250, 62) + "^FD" + from.name + "^FS\r\n";
    s += "^FO" + at(250, 94) + "^FD" + from.street + "^FS\r\n";
    s += "^FO" + at(250, 126) + "^FD" + from.city + "^FS\r\n";
    s += "^FO590,30^A0N,22,22^FDSHIP DATE: " + number(dice.between(1, 28)) + "/" +
         number(dice.between(1, 12)) + "/2025^FS\r\n";
    s += "^FO590,58^A0N,22,22^FDWGT: " + number(dice.between(1, 70)) + "." + dice.digits(1) + " KG^FS\r\n";
    s += "^FO590,86^A0N,22,22^FDDIMS: " + number(dice.between(10, 90)) + "x" + number(dice.between(10, 60)) +
         "x" + number(dice.between(5, 40)) + " CM^FS\r\n";
    s += "^FO10,180^GB792,3,3^FS\r\n";
    s += "^FX recipient^FS\r\n";
    s += "^FT40,230^A0N,28,28^FDSHIP TO:^FS\r\n";
    s += "^FT60,275^A0N,40,40^FD" + to.name + "^FS\r\n";
    s += "^FT60,320^A0N,40,40^FD" + to.company + "^FS\r\n";
    s += "^FT60,365^A0N,40,40^FH_^FD" + to.street +
         (dice.chance(40) ? " _23" + number(dice.between(1, 99)) : "") + "^FS\r\n";
    s += "^FT60,415^A0N,50,50^FD" + to.city + "^FS\r\n";
    s += "^FO10,440^GB792,3,3^FS\r\n";
    s += "^FX routing^FS\r\n";
    if (dice.chance(50)) {
        s += "^FO40,465^BD2^FH_^FD" + dice.digits(3) + "840" + dice.digits(5) + "_5B)>_1E01_1D96" + tracking +
             "_1D" + dice.letters(4) + "_1E_04^FS\r\n";
    } else {
        s += "^FO40,465^BQN,2," + number(dice.between(4, 6)) + "^FDMA," + tracking + "/" + dice.digits(12) +
             "^FS\r\n";
    }
    s += "^FO330,470^A0N,90,80^FD" + std::string(dice.pick(kStates)) + " " + dice.digits(3) + " " +
         number(dice.between(1, 9)) + "-" + dice.digits(2) + "^FS\r\n";
    s += "^BY3,3,100^FO350,570^BCN,100,N,N,N^FD>;420" + dice.digits(5) + "^FS\r\n";
    s += "^FO10,700^GB792,12,12^FS\r\n";
    s += "^FT40,775^A0N,60,60^FD" + std::string(dice.pick(kServices)) + "^FS\r\n";
    s += "^FT660,775^A0N,60,60^FD" + number(dice.between(1, 3)) + "^FS\r\n";
    s += "^FT40,815^A0N,28,28^FDTRACKING #: " + tracking.substr(0, 2) + " " + tracking.substr(2, 3) + " " +
         tracking.substr(5, 3) + " " + tracking.substr(8, 2) + " " + tracking.substr(10) + "^FS\r\n";
    s += "^FO10,830^GB792,3,3^FS\r\n";
    s += "^BY" + number(dice.between(2, 4)) + ",3,200^FO" + at(80, 860) + "^BCN,200,N,N,N,A^FD" + tracking +
         "^FS\r\n";
    s += "^FO10,1080^GB792,3,3^FS\r\n";
    s += "^FO30,1095^FB500,3,4,L,0^A0N,24,24^FDREF 1: PO-" + dice.digits(7) + "\\&REF 2: " + dice.letters(4) +
         dice.digits(4) + "\\&Handle with care. Keep dry.^FS\r\n";
    s += "^FO560,1092^GB220,100,2,B,2^FS\r\n";
    s += "^FO580,1110^A0N,30,30^FDBILLING:^FS\r\n";
    s += "^FO580,1145^A0N,30,30^FDP/P^FS\r\n";
    if (dice.chance(40)) s += "^FO700,1120^GC50,3,B^FS\r\n";
    if (dice.chance(5)) {
        const Bitmap r = raster(dice);
        s += "^FO6,220" + graphicField(r, plainHex(r)) + "^FS\r\n";
    }
    s += "^FX serial " + number(serial) + "^FS\r\n";
    s += "^PQ1,0,1,Y^XZ\r\n";
    return s;
}

// A batch of labels printed from one stored format, as warehouse systems send them.
std::string storedFormatBatch(Dice& dice) {
    std::string s =
        "^XA^DFR:SHIP.ZPL^FS\r\n"
        "^FO20,20^GB772,1178,3^FS\r\n"
        "^FO40,40^A0N,36,36^FN1^FS\r\n"
        "^FO40,90^A0N,28,28^FN2^FS\r\n"
        "^FO40,130^A0N,28,28^FN3^FS\r\n"
        "^BY3^FO60,200^BCN,160,Y,N,N^FN4^FS\r\n"
        "^FO500,400^BQN,2,5^FN5^FS\r\n"
        "^XZ\r\n";
    for (int i = dice.between(3, 8); i > 0; --i) {
        const Address to = address(dice);
        const std::string code = dice.digits(12);
        s += "^XA^XFR:SHIP.ZPL^FS\r\n^FN1^FD" + to.name + "^FS\r\n^FN2^FD" + to.street + "^FS\r\n^FN3^FD" +
             to.city + "^FS\r\n^FN4^FD" + code + "^FS\r\n^FN5^FDQA," + code + "^FS\r\n^XZ\r\n";
    }
    return s;
}

}  // namespace

std::string ziiShippingLabels(std::size_t bytes) {
    Dice dice(27);
    std::string s;
    // A stored logo first, as a label file that recalls it begins.
    const Bitmap stored = logo(dice);
    const std::string total = number(static_cast<int>(stored.bits.size()));
    s += "~DGR:LOGO.GRF," + total + "," + number(stored.bytesPerRow) + "," + compressedHex(stored) + "\r\n";
    for (int serial = 1; s.size() < bytes; ++serial) {
        if (dice.chance(3)) {
            s += storedFormatBatch(dice);
        } else {
            s += shippingLabel(dice, serial, dice.chance(30));
        }
    }
    return s;
}

std::string nativeLabels(std::size_t bytes) {
    using namespace tester;
    Dice dice(24);
    std::vector<std::string> lines;
    std::string s;
    while (s.size() < bytes) {
        lines.clear();
        if (dice.chance(20)) {
            LabelSettingValues label;
            label.unit = dice.chance(50) ? Unit::Mm : Unit::Inch;
            if (label.unit == Unit::Mm) {
                label.width = 100;
                label.length = dice.pick({150.0, 100.0, 200.0});
                label.xMargin = label.yMargin = 3;
            }
            label.media = dice.between(0, 2);
            for (std::string& line : composeLabelSetting(label)) lines.push_back(std::move(line));
            PrintingSettingValues printing;
            printing.speed = dice.between(0, 4);
            printing.density = dice.between(8, 20);
            printing.direction = dice.between(0, 1);
            for (std::string& line : composePrintingSetting(printing)) lines.push_back(std::move(line));
        }
        BlockDraw frame;
        frame.startX = 10, frame.startY = 10, frame.endX = 790, frame.endY = 1190;
        lines.push_back(composeBlockDraw(frame));
        const Address from = address(dice), to = address(dice);
        int y = 30;
        for (const std::string& text : {from.company, from.name, from.street, from.city}) {
            BitmapText t;
            t.x = 30, t.y = y, t.font = std::string(1, static_cast<char>('0' + dice.between(1, 4)));
            t.text = text;
            lines.push_back(composeBitmapText(t));
            y += 34;
        }
        BlockDraw rule;
        rule.startX = 10, rule.endX = 790, rule.startY = rule.endY = y + 10;
        chooseBlockType(rule, dice.between(0, 1));
        lines.push_back(composeBlockDraw(rule));
        y += 40;
        for (const std::string& text : {std::string("SHIP TO:"), to.name, to.company, to.street, to.city}) {
            VectorText v;
            v.x = 40, v.y = y, v.width = v.height = dice.between(28, 48);
            v.bold = text == "SHIP TO:" ? 1 : 0;
            v.text = text;
            lines.push_back(composeVectorText(v));
            y += v.height + 10;
        }
        const std::string tracking = "1Z" + dice.letters(3) + dice.digits(13);
        Barcode1D code;
        code.x = 60, code.y = y + 30, code.type = 1, code.narrow = 3, code.height = 160;
        code.data = tracking;
        lines.push_back(composeBarcode1D(code));
        Barcode1D postal;
        postal.x = 420, postal.y = 80, postal.type = dice.pick({0, 1, 7}), postal.height = 80;
        postal.data = postal.type == 7 ? dice.digits(12) : "420" + dice.digits(5);
        lines.push_back(composeBarcode1D(postal));
        Barcode2D two;
        chooseSymbology(
            two, dice.pick({Symbology::QrCode, Symbology::QrCode, Symbology::Pdf417, Symbology::Maxicode}));
        two.x = 560, two.y = y + 240;
        if (two.symbology == Symbology::QrCode) two.data = "https://track.example.com/" + tracking;
        if (two.symbology == Symbology::Pdf417)
            two.data = tracking + "|" + to.name + "|" + to.city + "|" + dice.digits(20);
        if (two.symbology == Symbology::Maxicode) chooseMode(two, dice.between(0, 3));
        lines.push_back(composeBarcode2D(two));
        BitmapText big;
        big.x = 40, big.y = y + 240, big.font = "5", big.hMulti = big.vMulti = 2;
        big.text = std::string(dice.pick(kServices));
        lines.push_back(composeBitmapText(big));
        BitmapText ref;
        ref.x = 40, ref.y = y + 340, ref.font = "2";
        ref.text = "REF: PO-" + dice.digits(7) + " HANDLE WITH CARE";
        lines.push_back(composeBitmapText(ref));
        BlockDraw shade;
        shade.startX = 30, shade.startY = y + 400, shade.endX = 400, shade.endY = y + 470;
        chooseBlockType(shade, dice.pick({0, 3, 4}));
        lines.push_back(composeBlockDraw(shade));
        lines.push_back(composeCopies(dice.chance(90) ? 1 : dice.between(2, 5), 1));
        s += joinLines(lines, "\r\n");
    }
    return s;
}

std::string randomBytes(std::size_t bytes) {
    std::mt19937_64 engine(201);
    std::string s(bytes, '\0');
    for (std::size_t i = 0; i + 8 <= bytes; i += 8) {
        const std::uint64_t v = engine();
        for (int k = 0; k < 8; ++k) s[i + static_cast<std::size_t>(k)] = static_cast<char>(v >> (8 * k));
    }
    s += "\r\n";
    return s;
}

}  // namespace velmora::bench
