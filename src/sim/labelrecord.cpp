// The bounded label book, and the JSON form of a printed label.
#include "sim/labelrecord.h"

#include <cstdio>
#include <type_traits>
#include <utility>

#include "platform/codepage.h"

namespace velmora::sim {

namespace {

constexpr std::size_t kMaxCommandInError = 80;

std::size_t dataBytes(const LabelField& field) {
    return std::visit(
        [](const auto& f) -> std::size_t {
            if constexpr (requires { f.data; }) {
                return f.data.size();
            } else {
                return 0;
            }
        },
        field);
}

}  // namespace

void LabelBook::addField(LabelField field) {
    const std::size_t bytes = dataBytes(field);
    if (pending_.fields.size() >= kMaxFields || pendingBytes_ + bytes > kMaxDataBytes) {
        // Said once per label; a flood of fields must not become a flood of errors.
        if (!fieldsDropped_) {
            fieldsDropped_ = true;
            addError("", "the label is full (" + std::to_string(kMaxFields) + " fields or " +
                             std::to_string(kMaxDataBytes) + " bytes of data); later fields are dropped");
        }
        return;
    }
    pendingBytes_ += bytes;
    // A label has a dozen fields or two: room for them at once rather than growing by doubling.
    if (pending_.fields.empty()) pending_.fields.reserve(16);
    pending_.fields.push_back(std::move(field));
}

void LabelBook::addError(std::string_view command, std::string_view why) {
    if (pending_.errors.size() >= kMaxErrors) {
        ++pending_.errorsNotKept;
        return;
    }
    std::string message;
    if (!command.empty()) {
        message.assign(command.substr(0, kMaxCommandInError));
        if (command.size() > kMaxCommandInError) message += "...";
        message += ": ";
    }
    message += why;
    pending_.errors.push_back(std::move(message));
}

const LabelRecord& LabelBook::print(int quantity, int copies) {
    LabelRecord record = std::exchange(pending_, {});
    pendingBytes_ = 0;
    fieldsDropped_ = false;
    record.quantity = quantity;
    record.copies = copies;
    record.format = format_;
    return keep(std::move(record));
}

const LabelRecord& LabelBook::keep(LabelRecord record) {
    record.number = ++totalPrinted_;
    const std::size_t at = next_;
    if (kept_.size() < kKeptRecords) {
        kept_.push_back(std::move(record));
    } else {
        kept_[at] = std::move(record);
    }
    next_ = (next_ + 1) % kKeptRecords;
    return kept_[at];
}

std::vector<LabelRecord> LabelBook::printed() const {
    if (kept_.size() < kKeptRecords) return kept_;
    std::vector<LabelRecord> out;
    out.reserve(kept_.size());
    for (std::size_t i = 0; i < kept_.size(); ++i) out.push_back(kept_[(next_ + i) % kKeptRecords]);
    return out;
}

std::string_view barcode1DName(int type) {
    static constexpr std::string_view kNames[] = {"Code39", "Code128", "I2of5", "Codabar", "Code93",
                                                  "UPC-A",  "UPC-E",   "EAN13", "EAN8",    "UCC/EAN128"};
    return type >= 0 && type < static_cast<int>(std::size(kNames)) ? kNames[type] : std::string_view();
}

namespace {

// Builds one JSON object member by member; nested objects and arrays open and close explicitly.
class JsonWriter {
  public:
    std::string take() { return std::move(out_); }

    void open(std::string_view key, char bracket) {
        member(key);
        out_ += bracket;
        first_ = true;
        ++depth_;
    }
    void close(char bracket) {
        --depth_;
        if (!first_) newline();
        out_ += bracket;
        first_ = false;
    }
    void value(std::string_view key, long long number) {
        member(key);
        out_ += std::to_string(number);
    }
    void boolean(std::string_view key, bool on) {
        member(key);
        out_ += on ? "true" : "false";
    }
    void string(std::string_view key, std::string_view bytes) {
        member(key);
        quote(bytes);
    }
    void letter(std::string_view key, char c) { string(key, std::string_view(&c, 1)); }
    template <typename T>
    void optional(std::string_view key, const std::optional<T>& v) {
        if constexpr (std::is_same_v<T, char>) {
            if (v) return letter(key, *v);
        } else {
            if (v) return value(key, *v);
        }
        member(key);
        out_ += "null";
    }

  private:
    // A member of the open object, or (empty key) an element of the open array.
    void member(std::string_view key) {
        if (!first_) out_ += ',';
        first_ = false;
        if (depth_ > 0) newline();
        if (!key.empty()) {
            quote(key);
            out_ += ": ";
        }
    }
    void newline() {
        out_ += '\n';
        out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
    }
    // Bytes stand for the characters of their numbers, whatever code page the label used.
    void quote(std::string_view bytes) { platform::appendJsonString(out_, bytes, true); }

    std::string out_;
    bool first_ = true;
    int depth_ = 0;
};

const char* mediaName(char media) {
    switch (media) {
        case 'G':
            return "gap";
        case 'C':
            return "continuous";
        default:
            return "black-mark";
    }
}

const char* justificationName(char justification) {
    switch (justification) {
        case 'R':
            return "right";
        case 'C':
            return "center";
        default:
            return "left";
    }
}

void writeFormat(JsonWriter& json, const LabelFormat& f) {
    json.open("format", '{');
    json.optional("width", f.width);
    json.optional("length", f.length);
    json.optional("gap", f.gap);
    if (f.media) {
        json.string("media", mediaName(*f.media));
    } else {
        json.optional("media", f.media);
    }
    json.optional("marginX", f.marginX);
    json.optional("marginY", f.marginY);
    json.optional("speed", f.speed);
    json.optional("density", f.density);
    if (f.direction) {
        json.string("direction", *f.direction == 'T' ? "top" : "bottom");
    } else {
        json.optional("direction", f.direction);
    }
    json.optional("characterSet", f.characterSet);
    json.optional("codeTable", f.codeTable);
    json.close('}');
}

void writeField(JsonWriter& json, const TextField& f) {
    json.string("kind", "text");
    json.value("x", f.x);
    json.value("y", f.y);
    json.letter("font", f.font);
    json.value("xMultiplier", f.xMultiplier);
    json.value("yMultiplier", f.yMultiplier);
    json.value("rightSpace", f.rightSpace);
    json.value("rotation", f.rotation);
    json.boolean("reverse", f.reverse);
    json.boolean("bold", f.bold);
    json.optional("characterSet", f.characterSet);
    json.optional("codeTable", f.codeTable);
    json.string("data", f.data);
}

void writeField(JsonWriter& json, const VectorTextField& f) {
    json.string("kind", "vector-text");
    json.value("x", f.x);
    json.value("y", f.y);
    json.letter("font", f.font);
    json.value("width", f.width);
    json.value("height", f.height);
    json.value("spacing", f.spacing);
    json.boolean("bold", f.bold);
    json.boolean("reverse", f.reverse);
    json.boolean("italic", f.italic);
    json.value("rotation", f.rotation);
    json.string("justification", justificationName(f.justification));
    json.boolean("rightToLeft", f.rightToLeft);
    json.optional("characterSet", f.characterSet);
    json.optional("codeTable", f.codeTable);
    json.string("data", f.data);
}

void writeField(JsonWriter& json, const Barcode1DField& f) {
    json.string("kind", "barcode-1d");
    json.value("x", f.x);
    json.value("y", f.y);
    json.string("symbology", barcode1DName(f.type));
    json.value("type", f.type);
    json.value("narrow", f.narrow);
    json.value("wide", f.wide);
    json.value("height", f.height);
    json.value("rotation", f.rotation);
    json.boolean("humanReadable", f.humanReadable);
    json.optional("quietZone", f.quietZone);
    json.string("data", f.data);
}

void writeField(JsonWriter& json, const Barcode2DField& f) {
    json.string("kind", "barcode-2d");
    json.value("x", f.x);
    json.value("y", f.y);
    if (f.symbology == 'M') {
        json.string("symbology", "Maxicode");
        json.value("mode", f.mode);
    } else if (f.symbology == 'P') {
        json.string("symbology", "PDF417");
        json.value("rows", f.rows);
        json.value("columns", f.columns);
        json.value("errorLevel", f.errorLevel);
        json.string("compression", f.compression == 0 ? "text" : f.compression == 1 ? "numeric" : "binary");
        json.boolean("humanReadable", f.humanReadable);
        json.string("origin", f.centered ? "center" : "upper-left");
        json.value("moduleWidth", f.moduleWidth);
        json.value("barHeight", f.barHeight);
        json.value("rotation", f.rotation);
    } else {
        json.string("symbology", "QR Code");
        json.value("model", f.model);
        json.letter("errorCorrection", f.errorCorrection);
        json.value("size", f.size);
        json.value("rotation", f.rotation);
    }
    json.string("data", f.data);
}

void writeField(JsonWriter& json, const BoxField& f) {
    json.string("kind", "box");
    json.value("x1", f.x1);
    json.value("y1", f.y1);
    json.value("x2", f.x2);
    json.value("y2", f.y2);
    json.letter("type", f.type);
    json.optional("value", f.value);
}

void writeField(JsonWriter& json, const ImageField& f) {
    json.string("kind", "image");
    json.value("x", f.x);
    json.value("y", f.y);
    json.string("name", f.name);
    json.value("size", static_cast<long long>(f.size));
}

void writeField(JsonWriter& json, const ZiiTextField& f) {
    json.string("kind", "zii-text");
    json.value("x", f.x);
    json.value("y", f.y);
    json.string("origin", f.typeset ? "baseline" : "top-left");
    json.letter("font", f.font);
    json.letter("orientation", f.orientation);
    json.value("height", f.height);
    json.value("width", f.width);
    if (f.block) {
        json.open("block", '{');
        json.value("width", f.block->width);
        json.value("lines", f.block->lines);
        json.value("lineSpacing", f.block->lineSpacing);
        json.letter("justification", f.block->justification);
        json.value("hangingIndent", f.block->hangingIndent);
        json.value("height", f.block->height);
        json.boolean("textBlock", f.block->textBlock);
        json.close('}');
    }
    json.string("fontFile", f.fontFile);
    json.boolean("symbol", f.symbol);
    json.letter("defaultFont", f.defaultFont);
    json.boolean("rightAligned", f.rightAligned);
    json.boolean("reverse", f.reverse);
    json.value("codePage", f.codePage);
    json.string("data", f.data);
}

void writeField(JsonWriter& json, const ZiiBarcodeField& f) {
    json.string("kind", "zii-barcode");
    json.value("x", f.x);
    json.value("y", f.y);
    json.string("origin", f.typeset ? "baseline" : "top-left");
    json.string("symbology", "^" + f.symbology);
    json.open("parameters", '[');
    for (const std::string& p : f.parameters) json.string("", p);
    json.close(']');
    json.value("moduleWidth", f.moduleWidth);
    char ratio[16];
    std::snprintf(ratio, sizeof ratio, "%.1f", f.ratio);
    json.string("ratio", ratio);
    json.value("barHeight", f.barHeight);
    json.boolean("reverse", f.reverse);
    json.value("codePage", f.codePage);
    json.string("data", f.data);
}

void writeField(JsonWriter& json, const ZiiBoxField& f) {
    json.string("kind", "zii-box");
    json.value("x", f.x);
    json.value("y", f.y);
    json.string("origin", f.typeset ? "baseline" : "top-left");
    json.value("width", f.width);
    json.value("height", f.height);
    json.value("thickness", f.thickness);
    json.letter("color", f.color);
    json.value("rounding", f.rounding);
    json.boolean("reverse", f.reverse);
}

void writeField(JsonWriter& json, const ZiiGraphicField& f) {
    json.string("kind", "zii-graphic");
    json.value("x", f.x);
    json.value("y", f.y);
    json.string("origin", f.typeset ? "baseline" : "top-left");
    json.string("name", f.name);
    json.value("bytesPerRow", f.bytesPerRow);
    json.value("rows", f.rows);
    json.value("magnificationX", f.magnificationX);
    json.value("magnificationY", f.magnificationY);
    json.boolean("reverse", f.reverse);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(f.bits.size() * 2);
    for (const char c : f.bits) {
        hex += kHex[(static_cast<unsigned char>(c) >> 4) & 15];
        hex += kHex[static_cast<unsigned char>(c) & 15];
    }
    json.string("bits", hex);
}

void writeField(JsonWriter& json, const ZiiShapeField& f) {
    json.string("kind", "zii-shape");
    json.value("x", f.x);
    json.value("y", f.y);
    json.string("origin", f.typeset ? "baseline" : "top-left");
    json.string("shape", f.shape == 'C' ? "circle" : f.shape == 'E' ? "ellipse" : "diagonal");
    json.value("width", f.width);
    json.value("height", f.height);
    json.value("thickness", f.thickness);
    json.letter("color", f.color);
    json.letter("lean", f.lean);
    json.boolean("reverse", f.reverse);
}

void writeZiiFormat(JsonWriter& json, const ZiiLabelFormat& f) {
    json.open("format", '{');
    json.value("width", f.width);
    json.value("length", f.length);
    json.value("homeX", f.homeX);
    json.value("homeY", f.homeY);
    json.value("printOffset", f.printOffset);
    json.boolean("inverted", f.inverted);
    json.boolean("mirror", f.mirror);
    json.value("darkness", f.darkness);
    json.value("printSpeed", f.printSpeed);
    json.value("slewSpeed", f.slewSpeed);
    json.letter("mediaType", f.mediaType);
    json.letter("printMode", f.printMode);
    json.value("codePage", f.codePage);
    json.boolean("lengthGiven", f.lengthGiven);
    json.value("shift", f.shift);
    json.boolean("reverse", f.reverse);
    json.boolean("mapClear", f.mapClear);
    json.close('}');
}

}  // namespace

std::string labelToJson(const LabelRecord& record) {
    JsonWriter json;
    json.open("", '{');
    json.value("label", static_cast<long long>(record.number));
    json.value("quantity", record.quantity);
    json.value("copies", record.copies);
    const bool zii = record.language == LabelLanguage::Zii;
    json.string("language", zii ? "zii" : "tavl");
    if (zii) {
        writeZiiFormat(json, record.zii);
    } else {
        writeFormat(json, record.format);
    }
    json.open("fields", '[');
    for (const LabelField& field : record.fields) {
        json.open("", '{');
        std::visit([&json](const auto& f) { writeField(json, f); }, field);
        json.close('}');
    }
    json.close(']');
    json.open("errors", '[');
    for (const std::string& error : record.errors) json.string("", error);
    json.close(']');
    json.value("errorsNotKept", static_cast<long long>(record.errorsNotKept));
    if (zii) {
        json.open("notDrawn", '[');
        for (const std::string& command : record.notDrawn) json.string("", command);
        json.close(']');
    }
    json.close('}');
    std::string text = json.take();
    text += '\n';
    return text;
}

}  // namespace velmora::sim
