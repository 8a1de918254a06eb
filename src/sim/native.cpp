// Parsing the native label commands field by field, and their handlers on the printer.
#include "sim/native.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace velmora::sim {

namespace {

// No position, size or count of the language comes near this; anything beyond is a typing error.
constexpr int kMaxValue = 99999;

constexpr std::string_view kTwoByteBitmapFonts = "abcdefmnj";
constexpr std::string_view kTwoByteVectorFonts = "KGBJ";

std::string quoted(std::string_view text) { return "\"" + std::string(text.substr(0, 20)) + "\""; }

// Reads the comma-separated fields of one command in order, splitting them off as they are read
// (lines come by the hundred thousand a second; no list of fields is made). The first problem
// is kept and later reads return zero, so a parse runs straight through and checks once at the
// end.
class FieldReader {
  public:
    explicit FieldReader(std::string_view fields) : rest_(fields), count_(fields.empty() ? 0 : 1) {
        for (const char c : fields) count_ += c == ',';
    }

    std::size_t count() const { return count_; }
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    void fail(std::string why) {
        if (error_.empty()) error_ = std::move(why);
    }

    // The field as it stands, or nullopt (and the error) when it is missing.
    std::optional<std::string_view> next(const char* name) {
        if (at_ >= count_) {
            fail(std::string(name) + " is missing");
            return std::nullopt;
        }
        const std::string_view field = take();
        if (field.empty()) {
            fail(std::string(name) + " is empty");
            return std::nullopt;
        }
        return field;
    }

    // A decimal number from min to max; a sign only when min is below zero.
    int number(const char* name, int min = 0, int max = kMaxValue) {
        const auto field = next(name);
        if (!field || failed()) return 0;
        std::string_view digits = *field;
        // Most fields are a few plain digits.
        const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
        if (digits.size() <= 9 && std::all_of(digits.begin(), digits.end(), isDigit)) {
            int value = 0;
            for (const char c : digits) value = value * 10 + (c - '0');
            if (value >= min && value <= max) return value;
        }
        if (min < 0 && digits.size() > 1 && digits[0] == '+') digits.remove_prefix(1);
        int value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        const bool signOk = min < 0 || digits[0] != '-';
        if (!signOk || end != digits.data() + digits.size() || ec == std::errc::invalid_argument) {
            fail(std::string(name) + " is not a number: " + quoted(*field));
            return 0;
        }
        if (ec == std::errc::result_out_of_range || value < min || value > max) {
            fail(std::string(name) + " must be " + std::to_string(min) + " to " + std::to_string(max) +
                 ", not " + quoted(*field));
            return 0;
        }
        return value;
    }

    // One character out of `allowed`.
    char letter(const char* name, std::string_view allowed) {
        const auto field = next(name);
        if (!field || failed()) return 0;
        if (field->size() != 1 || allowed.find((*field)[0]) == std::string_view::npos) {
            std::string choices;
            for (const char c : allowed) {
                if (!choices.empty()) choices += ' ';
                choices += c;
            }
            fail(std::string(name) + " must be one of " + choices + ", not " + quoted(*field));
            return 0;
        }
        return (*field)[0];
    }

    // A rotation index 0 to 3, in degrees.
    int rotation() { return number("rotation", 0, 3) * 90; }
    bool flag(const char* name, char off, char on) {
        const char allowed[] = {off, on};
        return letter(name, std::string_view(allowed, 2)) == on;
    }

    // Called when every field is read: more fields than the command has is an error too.
    void finish() {
        if (!failed() && at_ < count_) {
            fail("unexpected field " + quoted(take()));
        }
    }

  private:
    // The next field; the caller has checked that there is one.
    std::string_view take() {
        ++at_;
        std::size_t comma = 0;  // fields are a few bytes: a plain loop beats a search call
        while (comma < rest_.size() && rest_[comma] != ',') ++comma;
        const std::string_view field = rest_.substr(0, comma);
        rest_.remove_prefix(std::min(comma + 1, rest_.size()));
        return field;
    }

    std::string_view rest_;  // the fields not read yet
    std::size_t count_;
    std::size_t at_ = 0;
    std::string error_;
};

// The text field: `line` from its opening apostrophe to the end.
std::optional<std::string> readText(std::string_view line, bool twoByte, std::string& why) {
    std::string text;
    text.reserve(line.size());
    std::size_t i = 1;
    while (i < line.size()) {
        // A run of bytes that are only themselves, at once.
        if (!twoByte) {
            std::size_t end = i;
            while (end < line.size() && line[end] != '\\' && line[end] != '\'') ++end;
            text.append(line.substr(i, end - i));
            i = end;
            if (i == line.size()) break;
        }
        const auto b = static_cast<unsigned char>(line[i]);
        if (twoByte && b >= 0x81 && b <= 0xFE && i + 1 < line.size()) {
            const auto trail = static_cast<unsigned char>(line[i + 1]);
            if (trail >= 0x3F && trail <= 0xFE) {
                text.append(line.substr(i, 2));
                i += 2;
                continue;
            }
        }
        if (b == '\\' && i + 1 < line.size() && (line[i + 1] == '\'' || line[i + 1] == '\\')) {
            text += line[i + 1];
            i += 2;
            continue;
        }
        if (b == '\'') {
            if (i + 1 != line.size()) {
                why = "characters after the closing apostrophe: " + quoted(line.substr(i + 1));
                return std::nullopt;
            }
            return text;
        }
        text += line[i];
        ++i;
    }
    why = "the text has no closing apostrophe";
    return std::nullopt;
}

// A command with fields and then a text: the fields before the text and the text itself.
struct Split {
    FieldReader fields;
    std::string_view textPart;  // from the opening apostrophe
};

std::optional<Split> splitText(std::string_view rest, std::string& why) {
    const std::size_t quote = rest.find('\'');
    if (quote == std::string_view::npos) {
        why = "the text in apostrophes is missing";
        return std::nullopt;
    }
    if (quote == 0 || rest[quote - 1] != ',') {
        why = "a comma must come before the text";
        return std::nullopt;
    }
    return Split{FieldReader(rest.substr(0, quote - 1)), rest.substr(quote)};
}

using Result = NativeCommand;

Result fail(std::string why) { return CommandError{std::move(why)}; }

// Finishes a command whose text is read last.
template <typename Field>
Result withText(Field field, FieldReader& fields, std::string_view textPart, bool twoByte) {
    fields.finish();
    if (fields.failed()) return fail(fields.error());
    std::string why;
    auto text = readText(textPart, twoByte, why);
    if (!text) return fail(why);
    field.data = std::move(*text);
    return LabelField(std::move(field));
}

Result parseText(std::string_view rest) {
    std::string why;
    auto split = splitText(rest, why);
    if (!split) return fail(why);
    FieldReader& r = split->fields;
    TextField f;
    f.x = r.number("x");
    f.y = r.number("y");
    f.font = r.letter("font", "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    f.xMultiplier = r.number("horizontal multiplier", 1);
    f.yMultiplier = r.number("vertical multiplier", 1);
    f.rightSpace = r.number("right space");
    f.rotation = r.rotation();
    f.reverse = r.flag("reverse", 'N', 'R');
    f.bold = r.flag("bold", 'N', 'B');
    const bool twoByte = kTwoByteBitmapFonts.find(f.font) != std::string_view::npos;
    return withText(std::move(f), r, split->textPart, twoByte);
}

Result parseVectorText(std::string_view rest) {
    std::string why;
    auto split = splitText(rest, why);
    if (!split) return fail(why);
    FieldReader& r = split->fields;
    VectorTextField f;
    f.x = r.number("x");
    f.y = r.number("y");
    f.font = r.letter("font", "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    f.width = r.number("width", 1);
    f.height = r.number("height", 1);
    f.spacing = r.number("spacing", -kMaxValue);
    f.bold = r.flag("bold", 'N', 'B');
    f.reverse = r.flag("reverse", 'N', 'R');
    f.italic = r.flag("italic", 'N', 'I');
    f.rotation = r.rotation();
    f.justification = r.letter("justification", "RCL");
    f.rightToLeft = r.number("direction", 0, 1) == 1;
    const bool twoByte = kTwoByteVectorFonts.find(f.font) != std::string_view::npos;
    return withText(std::move(f), r, split->textPart, twoByte);
}

Result parseBarcode1D(std::string_view rest) {
    std::string why;
    auto split = splitText(rest, why);
    if (!split) return fail(why);
    FieldReader& r = split->fields;
    Barcode1DField f;
    const bool hasQuietZone = r.count() == 9;
    f.x = r.number("x");
    f.y = r.number("y");
    f.type = r.number("barcode type", 0, 9);
    f.narrow = r.number("narrow bar width", 1);
    f.wide = r.number("wide bar width", 1);
    f.height = r.number("height");
    f.rotation = r.rotation();
    f.humanReadable = r.number("human-readable text", 0, 1) == 1;
    if (hasQuietZone) f.quietZone = r.number("quiet zone");
    return withText(std::move(f), r, split->textPart, false);
}

Result parseBarcode2D(std::string_view rest) {
    std::string why;
    auto split = splitText(rest, why);
    if (!split) return fail(why);
    FieldReader& r = split->fields;
    Barcode2DField f;
    f.x = r.number("x");
    f.y = r.number("y");
    f.symbology = r.letter("symbology", "MPQ");
    if (f.symbology == 'M') {
        f.mode = r.number("mode", 0, 4);
        if (f.mode == 1) r.fail("mode must be 0, 2, 3 or 4");
    } else if (f.symbology == 'P') {
        f.rows = r.number("maximum rows", 3, 90);
        f.columns = r.number("maximum columns", 1, 30);
        f.errorLevel = r.number("error correction level", 0, 8);
        f.compression = r.number("compression", 0, 2);
        f.humanReadable = r.number("human-readable text", 0, 1) == 1;
        f.centered = r.number("origin", 0, 1) == 1;
        f.moduleWidth = r.number("module width", 1);
        f.barHeight = r.number("bar height", 1);
        f.rotation = r.rotation();
    } else if (f.symbology == 'Q') {
        f.model = r.number("model", 1, 2);
        f.errorCorrection = r.letter("error correction", "LMQH");
        f.size = r.number("size", 1);
        f.rotation = r.rotation();
    }
    return withText(std::move(f), r, split->textPart, false);
}

Result parseBox(std::string_view rest) {
    FieldReader r(rest);
    BoxField f;
    f.x1 = r.number("start x");
    f.y1 = r.number("start y");
    f.x2 = r.number("end x");
    f.y2 = r.number("end y");
    f.type = r.letter("type", "OEDSB");
    if (f.type == 'S' || f.type == 'B') f.value = r.number("value");
    r.finish();
    if (r.failed()) return fail(r.error());
    return LabelField(f);
}

// A format command: `set` reads its fields into the change.
template <typename Set>
Result formatCommand(std::string_view rest, Set set) {
    FieldReader r(rest);
    LabelFormat change;
    set(r, change);
    r.finish();
    if (r.failed()) return fail(r.error());
    return change;
}

Result parseLength(std::string_view rest) {
    return formatCommand(rest, [](FieldReader& r, LabelFormat& c) {
        c.length = r.number("length", 1);
        if (r.count() == 1) return;  // the length alone keeps the media as it is
        c.gap = r.number("gap");
        c.media = r.letter("media", "GCB");
    });
}

Result parsePrint(std::string_view rest) {
    FieldReader r(rest);
    PrintCommand print;
    print.quantity = r.number("quantity");
    if (r.count() > 1) print.copies = r.number("copies");
    r.finish();
    if (r.failed()) return fail(r.error());
    return print;
}

std::string_view trimEnd(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

}  // namespace

NativeCommand parseNativeCommand(std::string_view line) {
    line = trimEnd(line);
    const auto after = [&](std::string_view prefix) { return line.substr(prefix.size()); };
    // Longer prefixes before the shorter ones they start with.
    if (line == "SOT" || line == "SOB") {
        LabelFormat change;
        change.direction = line[2];
        return change;
    }
    if (line.starts_with("SO")) return fail("the direction must be SOT or SOB");
    if (line.starts_with("B1")) return parseBarcode1D(after("B1"));
    if (line.starts_with("B2")) return parseBarcode2D(after("B2"));
    if (line.starts_with("BD")) return parseBox(after("BD"));
    if (line.starts_with("SW")) {
        return formatCommand(after("SW"),
                             [](FieldReader& r, LabelFormat& c) { c.width = r.number("width", 1); });
    }
    if (line.starts_with("SL")) return parseLength(after("SL"));
    if (line.starts_with("SM")) {
        return formatCommand(after("SM"), [](FieldReader& r, LabelFormat& c) {
            c.marginX = r.number("x margin");
            c.marginY = r.number("y margin");
        });
    }
    if (line.starts_with("SS")) {
        return formatCommand(after("SS"),
                             [](FieldReader& r, LabelFormat& c) { c.speed = r.number("speed", 0, 4); });
    }
    if (line.starts_with("SD")) {
        return formatCommand(after("SD"),
                             [](FieldReader& r, LabelFormat& c) { c.density = r.number("density", 0, 20); });
    }
    if (line.starts_with("CS")) {
        return formatCommand(after("CS"), [](FieldReader& r, LabelFormat& c) {
            c.characterSet = r.number("character set", 0, 15);
            c.codeTable = r.number("code table", 0, 24);
        });
    }
    if (line.starts_with("T")) return parseText(after("T"));
    if (line.starts_with("V")) return parseVectorText(after("V"));
    if (line.starts_with("P")) return parsePrint(after("P"));
    return fail("not a label command");
}

namespace {

void mergeFormat(LabelFormat& format, const LabelFormat& change) {
    const auto take = [](auto& to, const auto& from) {
        if (from) to = from;
    };
    take(format.width, change.width);
    take(format.length, change.length);
    take(format.gap, change.gap);
    take(format.media, change.media);
    take(format.marginX, change.marginX);
    take(format.marginY, change.marginY);
    take(format.speed, change.speed);
    take(format.density, change.density);
    take(format.direction, change.direction);
    take(format.characterSet, change.characterSet);
    take(format.codeTable, change.codeTable);
}

void runNativeLine(Parser& parser, std::string_view line) {
    NativeCommand command = parseNativeCommand(line);
    Printer& printer = parser.printer();
    if (const auto* print = std::get_if<PrintCommand>(&command)) {
        printer.printLabel(print->quantity, print->copies);
        return;
    }
    printer.editLabels([&](LabelBook& book) {
        if (auto* field = std::get_if<LabelField>(&command)) {
            std::visit(
                [&book](auto& f) {
                    if constexpr (requires { f.characterSet; }) {
                        f.characterSet = book.format().characterSet;
                        f.codeTable = book.format().codeTable;
                    }
                },
                *field);
            book.addField(std::move(*field));
        } else if (const auto* change = std::get_if<LabelFormat>(&command)) {
            mergeFormat(book.format(), *change);
        } else if (const auto* error = std::get_if<CommandError>(&command)) {
            book.addError(trimEnd(line), error->why);
        }
    });
}

}  // namespace

void addNativeCommands(CommandSet& commands) {
    for (const char* prefix :
         {"T", "V", "B1", "B2", "BD", "SW", "SL", "SM", "SS", "SD", "SOT", "SOB", "CS", "P"}) {
        commands.onLine(prefix, runNativeLine);
    }
}

}  // namespace velmora::sim
