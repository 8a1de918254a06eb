// Building one printed-label record from the field commands of a ZII format.
#include "sim/zii_label.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/zii.h"
#include "sim/zii_graphic.h"

namespace velmora::sim {

namespace {

// Where a linear ^B command takes its bar height among its parameters; none for the others,
// whose heights mean rows or modules.
std::optional<std::size_t> linearHeightParameter(std::string_view symbology) {
    static constexpr std::pair<std::string_view, std::size_t> kAt[] = {
        {"BC", 1}, {"B3", 2}, {"B1", 2}, {"BL", 1}, {"BA", 1}, {"BE", 1},
        {"B8", 1}, {"BU", 1}, {"B9", 1}, {"B2", 1}, {"BK", 2},
    };
    for (const auto& [name, at] : kAt)
        if (name == symbology) return at;
    return std::nullopt;
}

// No position or size on a label comes near this; larger values are typing errors kept as given.
constexpr int kMaxValue = 99999;
constexpr std::size_t kMaxNotDrawnText = 60;

// A stored format or graphic is known by its name without the drive ("R:"), in capitals, with
// the extension its kind has when none is given.
std::string objectName(std::string_view text, std::string_view extension) {
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos && colon <= 1) text.remove_prefix(colon + 1);
    std::string name;
    for (const char c : text) {
        if (c == ' ' || c == '\t') continue;
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (name.find('.') == std::string::npos) name += extension;
    return name;
}

// Where the data of a command begins: after its `values`-th comma (the rest may hold commas).
std::string_view afterValues(std::string_view command, int values) {
    std::size_t at = 3;
    for (int i = 0; i < values; ++i) {
        const std::size_t comma = command.find(',', at);
        if (comma == std::string_view::npos) return {};
        at = comma + 1;
    }
    return command.substr(at);
}

constexpr std::size_t kMaxStoredGraphicBytes = 16u << 20;
constexpr std::size_t kMaxFormatBytes = 1u << 20;
constexpr std::size_t kMaxFormats = 64;
constexpr std::size_t kMaxLabelGraphicBytes = 8u << 20;

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
    // Graphic data left open before the format (a ~DG) ends where the format begins.
    flushPending(nullptr);
    label_ = LabelRecord{};
    label_.language = LabelLanguage::Zii;
    quantityGiven_ = false;
    dataBytes_ = 0;
    graphicBytesInLabel_ = 0;
    full_ = false;
    field_ = Field{};
    pending_ = Pending::None;
    storing_.reset();
    numberedData_.clear();
    slots_.clear();
}

void ZiiLabelBuilder::appendData(std::string_view text) {
    if (storing_) {
        std::string& stored = formats_[*storing_];
        if (stored.size() + text.size() <= kMaxFormatBytes) stored.append(text);
        return;
    }
    if (pending_ == Pending::FieldData) {
        if (field_.data && field_.data->size() + text.size() <= LabelBook::kMaxDataBytes) field_.data->append(text);
    } else if (pending_ != Pending::None && pendingText_.size() + text.size() <= 2 * kMaxGraphicBytes + 64) {
        pendingText_.append(text);
    }
}

void ZiiLabelBuilder::store(std::string_view command) {
    if (!storing_) return;
    std::string& text = formats_[*storing_];
    if (text.size() + command.size() <= kMaxFormatBytes) text.append(command);
    // Field data of the stored format runs on over line ends, as when it runs.
    pending_ = command.starts_with("^FD") || command.starts_with("^FV") ? Pending::FieldData : Pending::None;
}

const std::string* ZiiLabelBuilder::storedFormat(std::string_view name) const {
    const auto it = formats_.find(objectName(name, ".ZPL"));
    return it == formats_.end() ? nullptr : &it->second;
}

void ZiiLabelBuilder::flushPending(Leniencies* notes) {
    const Pending kind = std::exchange(pending_, Pending::None);
    if (kind != Pending::Graphic && kind != Pending::StoredGraphic) return;
    std::string text = std::exchange(pendingText_, {});
    DecodedGraphic g = decodeGraphic(graphicFormat_, text, graphicTotal_, graphicRow_);
    if (!g.ok) return error(pendingCommand_, g.error);
    if (!g.error.empty()) noteLeniency(notes, pendingCommand_, g.error);
    if (kind == Pending::Graphic) {
        if (!field_.graphic) return;
        field_.graphic->bytesPerRow = static_cast<int>(graphicRow_);
        field_.graphic->rows = static_cast<int>((graphicTotal_ + graphicRow_ - 1) / graphicRow_);
        field_.graphic->bits = std::move(g.bits);
        return;
    }
    StoredGraphic& stored = graphics_[graphicName_];
    graphicBytes_ -= std::min(graphicBytes_, stored.bits.size());
    if (graphicBytes_ + g.bits.size() > kMaxStoredGraphicBytes) {
        graphics_.erase(graphicName_);
        return error(pendingCommand_, "the graphic memory is full");
    }
    graphicBytes_ += g.bits.size();
    stored.bytesPerRow = static_cast<int>(graphicRow_);
    stored.bits = std::move(g.bits);
}

bool ZiiLabelBuilder::command(std::string_view command, Leniencies* notes) {
    flushPending(notes);
    if (command.size() < 3 || (command[0] != '^' && command[0] != '~')) return false;
    const std::string_view name = command.substr(1, 2);
    const ZiiValues v(command, notes);
    const char c1 = name[0];
    const auto number = [&](std::size_t i, int fallback, int min = 0, int max = kMaxValue) {
        return v.number(i, fallback, min, max);
    };

    if (command[0] == '~') {
        if (name != "DG") return false;
        // ~DGname,total,row,data: the data runs on until the next command.
        graphicName_ = objectName(v[0], ".GRF");
        graphicFormat_ = 'A';
        graphicTotal_ = static_cast<std::size_t>(number(1, 0, 0, static_cast<int>(kMaxGraphicBytes)));
        graphicRow_ = static_cast<std::size_t>(number(2, 0, 0, 99999));
        pendingCommand_ = std::string(command.substr(0, std::min<std::size_t>(command.size(), 40)));
        pendingText_.assign(afterValues(command, 3));
        pending_ = Pending::StoredGraphic;
        return true;
    }

    if (c1 == 'A') {  // ^Afo,h,w: the font name is the command's third character
        field_.font = name[1];
        field_.orientation = v.letter(0, "NRIB", 0);
        field_.height = number(1, -1);
        field_.width = number(2, -1);
        field_.fontFile = name[1] == '@' ? std::string(v[3]) : std::string();
        return true;
    }
    if (name == "BY") {
        moduleWidth_ = number(0, moduleWidth_, 1, 10);
        ratio_ = v.decimal(1, ratio_, 2.0, 3.0);
        barHeight_ = number(2, barHeight_, 1, 32000);
        return true;
    }
    if (c1 == 'B') {
        ZiiBarcodeField barcode;
        barcode.symbology = std::string(name);
        barcode.parameters = v.all();
        // A linear symbol's own height wins over the ^BY one (0: the ^BY height at ^FS).
        const auto heightAt = linearHeightParameter(name);
        barcode.barHeight = heightAt ? v.number(*heightAt, 0, 1, 32000) : 0;
        field_.barcode = std::move(barcode);
        return true;
    }
    if (name == "FO" || name == "FT") {
        field_.x = number(0, 0);
        field_.y = number(1, 0);
        field_.positioned = true;
        field_.typeset = name == "FT";
        field_.rightAligned = number(2, 0, 0, 2) == 1;
        return true;
    }
    if (name == "FD" || name == "FV") {
        std::string_view data = command.substr(3);
        if (data.size() > LabelBook::kMaxDataBytes) data = data.substr(0, LabelBook::kMaxDataBytes);
        field_.data = std::string(data);
        pending_ = Pending::FieldData;
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
    if (name == "FN") {
        int n = 0;
        for (std::size_t i = 3; i < command.size() && std::isdigit(static_cast<unsigned char>(command[i])) && n < 10000; ++i)
            n = n * 10 + (command[i] - '0');
        field_.number = n;
        return true;
    }
    if (name == "FB") {
        ZiiFieldBlock block;
        block.width = number(0, 0);
        block.lines = number(1, 1, 1, 9999);
        block.lineSpacing = number(2, 0, -9999, 9999);
        block.justification = v.letter(3, "LCRJ", 'L');
        block.hangingIndent = number(4, 0);
        field_.block = block;
        return true;
    }
    if (name == "TB") {
        ZiiFieldBlock block;
        field_.orientation = v.letter(0, "NRIB", 0);
        block.width = number(1, 0);
        block.height = number(2, 0);
        block.lines = 9999;
        block.textBlock = true;
        field_.block = block;
        return true;
    }
    if (name == "GB" || name == "GC" || name == "GE" || name == "GD") {
        const bool box = name == "GB";
        const int thickness = number(name == "GC" ? 1 : 2, 1, 1, kMaxValue);
        const char color = v.letter(name == "GC" ? 2 : 3, "BW", 'B');
        if (box) {
            ZiiBoxField b;
            b.thickness = thickness;
            b.width = std::max(thickness, number(0, thickness));
            b.height = std::max(thickness, number(1, thickness));
            b.color = color;
            b.rounding = number(4, 0, 0, 8);
            field_.box = b;
            return true;
        }
        ZiiShapeField s;
        s.shape = name[1];
        s.thickness = thickness;
        s.color = color;
        if (name == "GC") {
            s.width = s.height = std::max(3, number(0, 3));
        } else {
            s.width = std::max(name == "GE" ? 3 : thickness, number(0, thickness));
            s.height = std::max(name == "GE" ? 3 : thickness, number(1, thickness));
        }
        if (name == "GD") s.lean = v.letter(4, "RL/\\", 'R') == 'L' || v[4] == "\\" ? 'L' : 'R';
        field_.shape = s;
        return true;
    }
    if (name == "GS") {
        field_.symbol = true;
        field_.orientation = v.letter(0, "NRIB", 0);
        field_.height = number(1, -1);
        field_.width = number(2, -1);
        return true;
    }
    if (name == "GF") {
        // ^GFa,b,c,d,data: compression, bytes sent, bytes of the graphic, bytes a row.
        field_.graphic = ZiiGraphicField{};
        graphicFormat_ = v.letter(0, "ABC", 'A');
        graphicTotal_ = static_cast<std::size_t>(number(2, 0, 0, static_cast<int>(kMaxGraphicBytes)));
        graphicRow_ = static_cast<std::size_t>(number(3, 0, 0, 99999));
        std::string_view data = afterValues(command, 4);
        graphicBinary_ = static_cast<std::size_t>(number(1, 0, 0, static_cast<int>(kMaxGraphicBytes)));
        if (graphicFormat_ == 'B') data = data.substr(0, graphicBinary_);
        pendingCommand_ = std::string(command.substr(0, std::min<std::size_t>(command.size(), 40)));
        pendingText_.assign(data);
        pending_ = Pending::Graphic;
        return true;
    }
    if (name == "XG") {
        ZiiGraphicField g;
        g.name = objectName(v[0], ".GRF");
        g.magnificationX = number(1, 1, 1, 10);
        g.magnificationY = number(2, 1, 1, 10);
        field_.graphic = std::move(g);
        return true;
    }
    if (name == "DF") {
        storing_ = objectName(v[0], ".ZPL");
        if (formats_.size() >= kMaxFormats && !formats_.contains(*storing_)) {
            error(command, "the format memory is full");
            storing_.reset();
            return true;
        }
        formats_[*storing_].clear();
        return true;
    }
    if (name == "CF") {
        if (v[0].size() == 1) defaultFont_ = v[0][0];
        defaultHeight_ = number(1, defaultHeight_);
        defaultWidth_ = number(2, defaultWidth_);
        return true;
    }
    if (name == "CW") {
        if (v[0].size() == 1 && !v[1].empty()) fontAliases_[v[0][0]] = std::string(v[1]);
        return true;
    }
    if (name == "FW") {
        defaultOrientation_ = v.letter(0, "NRIB", defaultOrientation_);
        return true;
    }
    if (name == "LH") {
        homeX_ = number(0, homeX_);
        homeY_ = number(1, homeY_);
        return true;
    }
    if (name == "LS") {
        shift_ = number(0, 0, -9999, 9999);
        return true;
    }
    if (name == "LR") {
        labelReverse_ = v.letter(0, "YN", labelReverse_ ? 'Y' : 'N') == 'Y';
        return true;
    }
    if (name == "MC") {
        mapClear_ = v.letter(0, "YN", 'Y') == 'Y';
        return true;
    }
    if (name == "CI") {
        codePage_ = number(0, codePage_, 0, 99);
        return true;
    }
    if (name == "PQ") {
        label_.quantity = number(0, 1, 1, 99999999);
        label_.copies = number(2, 1, 1, 99999999);
        quantityGiven_ = true;
        return true;
    }
    notDrawn(command);
    return true;
}

void ZiiLabelBuilder::endField() {
    flushPending(nullptr);
    Field f = std::exchange(field_, Field{});
    std::string data = f.data ? std::move(*f.data) : std::string();
    if (f.hexIndicator) data = resolveHex(data, *f.hexIndicator);
    const bool reverse = f.reverse || labelReverse_;
    // ^FN without a place of its own gives the data of the stored format's field of that number.
    if (f.number > 0 && !replaying_ && !f.positioned) {
        numberedData_[f.number] = std::move(data);
        return;
    }
    if (f.number > 0 && replaying_) slots_.emplace_back(f.number, label_.fields.size());
    const std::size_t bytes = data.size();
    if (f.barcode) {
        ZiiBarcodeField b = std::move(*f.barcode);
        b.x = f.x;
        b.y = f.y;
        b.typeset = f.typeset;
        b.moduleWidth = moduleWidth_;
        b.ratio = ratio_;
        if (b.barHeight == 0) b.barHeight = barHeight_;
        b.reverse = reverse;
        b.codePage = codePage_;
        b.data = std::move(data);
        addField(std::move(b), bytes);
    } else if (f.graphic) {
        ZiiGraphicField g = std::move(*f.graphic);
        if (!g.name.empty()) {
            const auto it = graphics_.find(g.name);
            if (it == graphics_.end()) return error("^XG" + g.name, "no graphic of that name is stored");
            g.bytesPerRow = it->second.bytesPerRow;
            g.rows = static_cast<int>(it->second.bits.size() / static_cast<std::size_t>(std::max(1, g.bytesPerRow)));
            g.bits = it->second.bits;
        }
        if (g.bits.empty()) return;
        if (graphicBytesInLabel_ + g.bits.size() > kMaxLabelGraphicBytes) return error("^GF", "the label holds too many graphics");
        graphicBytesInLabel_ += g.bits.size();
        g.x = f.x;
        g.y = f.y;
        g.typeset = f.typeset;
        g.reverse = reverse;
        addField(std::move(g), 0);
    } else if (f.box) {
        ZiiBoxField b = *f.box;
        b.x = f.x;
        b.y = f.y;
        b.typeset = f.typeset;
        b.reverse = reverse;
        addField(b, 0);
    } else if (f.shape) {
        ZiiShapeField s = *f.shape;
        s.x = f.x;
        s.y = f.y;
        s.typeset = f.typeset;
        s.reverse = reverse;
        addField(s, 0);
    } else if (f.data) {
        ZiiTextField t;
        t.x = f.x;
        t.y = f.y;
        t.typeset = f.typeset;
        t.font = f.symbol ? '0' : f.font.value_or(defaultFont_);
        t.fontFile = f.fontFile;
        if (const auto alias = fontAliases_.find(t.font); alias != fontAliases_.end() && t.fontFile.empty())
            t.fontFile = alias->second;
        t.orientation = f.orientation ? f.orientation : defaultOrientation_;
        t.height = f.height >= 0 ? f.height : defaultHeight_;
        t.width = f.width >= 0 ? f.width : defaultWidth_;
        t.block = f.block;
        t.reverse = reverse;
        t.symbol = f.symbol;
        t.defaultFont = defaultFont_;
        t.rightAligned = f.rightAligned;
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

void ZiiLabelBuilder::error(std::string_view command, std::string why) {
    if (label_.errors.size() >= LabelBook::kMaxErrors) {
        ++label_.errorsNotKept;
        return;
    }
    label_.errors.push_back(std::string(command.substr(0, kMaxNotDrawnText)) + ": " + why);
}

std::optional<LabelRecord> ZiiLabelBuilder::finish(const ZiiSettings& s) {
    flushPending(nullptr);
    if (storing_) {
        // A stored format prints nothing; its fields wait for the format that recalls it.
        start();
        return std::nullopt;
    }
    // A field left open at the end of the format still prints, as the printer would.
    if (field_.data || field_.box || field_.graphic || field_.shape) endField();
    for (const auto& [number, index] : slots_) {
        const auto data = numberedData_.find(number);
        if (data == numberedData_.end() || index >= label_.fields.size()) continue;
        std::visit(
            [&](auto& f) {
                if constexpr (requires { f.data; }) f.data = data->second;
            },
            label_.fields[index]);
    }
    // A label whose fields all failed still prints, blank, with what went wrong.
    if (label_.fields.empty() && !quantityGiven_ && label_.errors.empty()) {
        start();
        return std::nullopt;
    }
    LabelRecord record = std::exchange(label_, LabelRecord{});
    record.language = LabelLanguage::Zii;
    record.zii = labelFormatOf(s);
    record.zii.homeX = homeX_;
    record.zii.homeY = homeY_;
    record.zii.codePage = codePage_;
    record.zii.lengthGiven = lengthGiven_;
    record.zii.shift = shift_;
    record.zii.reverse = labelReverse_;
    record.zii.mapClear = mapClear_;
    start();
    return record;
}

}  // namespace velmora::sim
