// Building one printed-label record from the field commands of a ZII format.
#include "sim/zii_label.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <utility>
#include <vector>

#include "sim/zii.h"

namespace velmora::sim {

namespace {

// No position or size on a label comes near this; larger values are typing errors kept as given.
constexpr int kMaxValue = 99999;
constexpr std::size_t kMaxNotDrawnText = 60;

// A command's comma-separated values, found on demand: most commands of a format read one or
// two, and formats stream in by the million.
class Values {
  public:
    explicit Values(std::string_view text) : text_(text) {}
    std::string_view operator[](std::size_t i) const {
        std::string_view rest = text_;
        for (; i > 0; --i) {
            const std::size_t comma = rest.find(',');
            if (comma == std::string_view::npos) return {};
            rest.remove_prefix(comma + 1);
        }
        return rest.substr(0, rest.find(','));
    }
    std::vector<std::string> all() const {
        std::vector<std::string> out;
        if (text_.empty()) return out;
        for (std::size_t start = 0;;) {
            const std::size_t comma = text_.find(',', start);
            out.emplace_back(text_.substr(start, comma - start));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        return out;
    }

  private:
    std::string_view text_;
};

// A whole number from 0 to kMaxValue, or `fallback` when the value is omitted or not one.
int number(std::string_view text, int fallback) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 || value > kMaxValue)
        return fallback;
    return value;
}

double decimal(std::string_view text, double fallback, double min, double max) {
    if (text.empty()) return fallback;
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() + copy.size() && value >= min && value <= max ? value : fallback;
}

char letter(std::string_view text, std::string_view allowed, char fallback) {
    return text.size() == 1 && allowed.find(text[0]) != std::string_view::npos ? text[0] : fallback;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// `indicator` and two hexadecimal digits become that byte; anything else stays as it is.
std::string resolveHex(std::string_view data, char indicator) {
    std::string out;
    out.reserve(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == indicator && i + 2 < data.size() && hexDigit(data[i + 1]) >= 0 && hexDigit(data[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(data[i + 1]) * 16 + hexDigit(data[i + 2]));
            i += 2;
        } else {
            out += data[i];
        }
    }
    return out;
}

}  // namespace

ZiiLabelFormat labelFormatOf(const ZiiSettings& s) {
    ZiiLabelFormat f;
    f.width = s.labelWidth;
    f.length = s.labelLength;
    f.printOffset = s.printOffset;
    f.inverted = s.inverted;
    f.mirror = s.mirror;
    f.darkness = s.darkness;
    f.printSpeed = s.printSpeed;
    f.slewSpeed = s.slewSpeed;
    f.mediaType = s.mediaType;
    f.printMode = s.printMode;
    return f;
}

void ZiiLabelBuilder::start() {
    label_ = LabelRecord{};
    label_.language = LabelLanguage::Zii;
    quantityGiven_ = false;
    dataBytes_ = 0;
    full_ = false;
    field_ = Field{};
    inData_ = false;
}

void ZiiLabelBuilder::appendData(std::string_view text) {
    if (field_.data && field_.data->size() + text.size() <= LabelBook::kMaxDataBytes) field_.data->append(text);
}

bool ZiiLabelBuilder::command(std::string_view command) {
    inData_ = false;
    if (command.size() < 3 || command[0] != '^') return false;
    const std::string_view name = command.substr(1, 2);
    const Values values(command.substr(3));
    const char c1 = name[0];

    if (c1 == 'A') {  // ^Afo,h,w: the font name is the command's third character
        field_.font = name[1];
        const std::string_view first = values[0];
        field_.orientation = letter(first, "NRIB", 0);
        field_.height = number(values[1], -1);
        field_.width = number(values[2], -1);
        return true;
    }
    if (name == "BY") {
        moduleWidth_ = std::max(1, std::min(10, number(values[0], moduleWidth_)));
        ratio_ = decimal(values[1], ratio_, 2.0, 3.0);
        barHeight_ = number(values[2], barHeight_);
        return true;
    }
    if (c1 == 'B') {
        ZiiBarcodeField barcode;
        barcode.symbology = std::string(name);
        barcode.parameters = values.all();
        field_.barcode = std::move(barcode);
        return true;
    }
    if (name == "FO" || name == "FT") {
        field_.x = number(values[0], 0);
        field_.y = number(values[1], 0);
        field_.typeset = name == "FT";
        return true;
    }
    if (name == "FD" || name == "FV") {
        std::string_view data = command.substr(3);
        if (data.size() > LabelBook::kMaxDataBytes) data = data.substr(0, LabelBook::kMaxDataBytes);
        field_.data = std::string(data);
        inData_ = true;
        return true;
    }
    if (name == "FS") {
        endField();
        return true;
    }
    if (name == "FH") {
        field_.hexIndicator = command.size() > 3 ? command[3] : '_';
        return true;
    }
    if (name == "FR") {
        field_.reverse = true;
        return true;
    }
    if (name == "FB") {
        ZiiFieldBlock block;
        block.width = number(values[0], 0);
        block.lines = std::max(1, number(values[1], 1));
        block.lineSpacing = number(values[2], 0);
        block.justification = letter(values[3], "LCRJ", 'L');
        block.hangingIndent = number(values[4], 0);
        field_.block = block;
        return true;
    }
    if (name == "GB") {
        ZiiBoxField box;
        box.thickness = std::max(1, number(values[2], 1));
        box.width = std::max(box.thickness, number(values[0], box.thickness));
        box.height = std::max(box.thickness, number(values[1], box.thickness));
        box.color = letter(values[3], "BW", 'B');
        box.rounding = std::min(8, number(values[4], 0));
        field_.box = box;
        return true;
    }
    if (name == "CF") {
        defaultFont_ = values[0].size() == 1 ? values[0][0] : defaultFont_;
        defaultHeight_ = number(values[1], defaultHeight_);
        defaultWidth_ = number(values[2], defaultWidth_);
        return true;
    }
    if (name == "FW") {
        defaultOrientation_ = letter(values[0], "NRIB", defaultOrientation_);
        return true;
    }
    if (name == "LH") {
        homeX_ = number(values[0], homeX_);
        homeY_ = number(values[1], homeY_);
        return true;
    }
    if (name == "CI") {
        codePage_ = number(values[0], codePage_);
        return true;
    }
    if (name == "PQ") {
        label_.quantity = std::max(1, number(values[0], 1));
        label_.copies = std::max(1, number(values[2], 1));
        quantityGiven_ = true;
        return true;
    }
    notDrawn(command);
    return true;
}

void ZiiLabelBuilder::endField() {
    Field f = std::exchange(field_, Field{});
    inData_ = false;
    std::string data = f.data ? std::move(*f.data) : std::string();
    if (f.hexIndicator) data = resolveHex(data, *f.hexIndicator);
    const std::size_t bytes = data.size();
    if (f.barcode) {
        ZiiBarcodeField b = std::move(*f.barcode);
        b.x = f.x;
        b.y = f.y;
        b.typeset = f.typeset;
        b.moduleWidth = moduleWidth_;
        b.ratio = ratio_;
        b.barHeight = barHeight_;
        b.reverse = f.reverse;
        b.codePage = codePage_;
        b.data = std::move(data);
        addField(std::move(b), bytes);
    } else if (f.box) {
        ZiiBoxField b = *f.box;
        b.x = f.x;
        b.y = f.y;
        b.typeset = f.typeset;
        b.reverse = f.reverse;
        addField(b, 0);
    } else if (f.data) {
        ZiiTextField t;
        t.x = f.x;
        t.y = f.y;
        t.typeset = f.typeset;
        t.font = f.font.value_or(defaultFont_);
        t.orientation = f.orientation ? f.orientation : defaultOrientation_;
        t.height = f.height >= 0 ? f.height : defaultHeight_;
        t.width = f.width >= 0 ? f.width : defaultWidth_;
        t.block = f.block;
        t.reverse = f.reverse;
        t.codePage = codePage_;
        t.data = std::move(data);
        addField(std::move(t), bytes);
    }
}

void ZiiLabelBuilder::addField(LabelField field, std::size_t dataBytes) {
    if (label_.fields.size() >= LabelBook::kMaxFields || dataBytes_ + dataBytes > LabelBook::kMaxDataBytes) {
        if (!full_) {
            full_ = true;
            label_.errors.push_back("the label is full (" + std::to_string(LabelBook::kMaxFields) + " fields or " +
                                    std::to_string(LabelBook::kMaxDataBytes) + " bytes of data); later fields are dropped");
        }
        return;
    }
    dataBytes_ += dataBytes;
    label_.fields.push_back(std::move(field));
}

void ZiiLabelBuilder::notDrawn(std::string_view command) {
    if (label_.notDrawn.size() >= LabelBook::kMaxErrors) {
        ++label_.errorsNotKept;
        return;
    }
    std::string text(command.substr(0, kMaxNotDrawnText));
    if (command.size() > kMaxNotDrawnText) text += "...";
    label_.notDrawn.push_back(std::move(text));
}

std::optional<LabelRecord> ZiiLabelBuilder::finish(const ZiiSettings& s) {
    // A field left open at the end of the format still prints, as the printer would.
    if (field_.data || field_.box) endField();
    inData_ = false;
    if (label_.fields.empty() && !quantityGiven_) {
        start();
        return std::nullopt;
    }
    LabelRecord record = std::exchange(label_, LabelRecord{});
    record.language = LabelLanguage::Zii;
    record.zii = labelFormatOf(s);
    record.zii.homeX = homeX_;
    record.zii.homeY = homeY_;
    record.zii.codePage = codePage_;
    start();
    return record;
}

}  // namespace velmora::sim
