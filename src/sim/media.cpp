// The media model, the sensor's readings and the commands of the media path.
#include "sim/media.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::sim {

namespace {

constexpr int kGapSensorLabel = 288, kGapSensorGap = 736;    // light through label, through a gap
constexpr int kMarkSensorLabel = 768, kMarkSensorMark = 192;  // light off a label, off a mark
constexpr int kMinGapCount = 4, kMaxGapCount = 10;
constexpr std::uint64_t kMaxSampleRows = 1'000'000;  // longer requests go unanswered

bool readInt(std::string_view text, int& out) {
    if (text.empty()) return false;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    out = value;
    return true;
}

std::uint64_t mix(std::uint64_t x) {  // splitmix64: a repeatable noise sequence
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t periodRows(const MediaModel& m) {
    return static_cast<std::uint64_t>(m.labelMm + (m.kind == MediaModel::Kind::Continuous ? 0 : m.gapMm)) *
           MediaState::kDotsPerMm;
}

// The clean reading of `sensor` at a row inside or outside a label.
int level(const MediaModel& m, char sensor, bool inEdge) {
    if (sensor == 'B') return inEdge && m.kind == MediaModel::Kind::Mark ? kMarkSensorMark : kMarkSensorLabel;
    return inEdge && m.kind == MediaModel::Kind::Gap ? kGapSensorGap : kGapSensorLabel;
}

char sensorOf(const MediaModel& m) { return m.kind == MediaModel::Kind::Mark ? 'B' : 'G'; }

// The two parts of a "MX" line after its prefix letter: "d,1200,G" -> 'd' and "1200,G".
std::vector<std::string_view> fields(std::string_view text) {
    std::vector<std::string_view> out;
    while (true) {
        const auto comma = text.find(',');
        out.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return out;
}

void updateGapError(Printer& printer) {
    const MediaState media = printer.media();
    printer.setStatus("gap-error", !media.separates(media.threshold()));
}

void runMx(Parser& parser, std::string_view line) {
    const char prefix = line[0];
    if (line.size() < 4) return;
    const char action = line[3];
    std::string_view rest = line.substr(4);
    if (!rest.empty() && rest.front() == ',') rest.remove_prefix(1);
    const auto values = fields(rest);
    Printer& printer = parser.printer();
    switch (action) {
        case 'd': {
            int rows = 0;
            if (values.size() != 2 || !readInt(values[0], rows) || rows <= 0 ||
                static_cast<std::uint64_t>(rows) > kMaxSampleRows || (values[1] != "G" && values[1] != "B"))
                return;
            std::array<std::uint16_t, 32> counts{};
            printer.editMedia([&](MediaState& m) {
                counts = sampleSensor(m, static_cast<std::uint64_t>(rows), values[1][0]);
                ++m.samplings;
            });
            parser.reply(distributionReply(counts));
            return;
        }
        case 's': {
            int value = 0, gapCount = 0;
            const int max = prefix == '^' ? MediaState::kScale / 4 : MediaState::kScale;
            if (values.size() != 2 || !readInt(values[0], value) || !readInt(values[1], gapCount) || value < 1 ||
                value > max || gapCount < kMinGapCount || gapCount > kMaxGapCount)
                return;
            printer.editMedia([&](MediaState& m) {
                (prefix == '^' ? m.native : m.zii) = SensorThreshold{value, gapCount};
                m.lastStored = prefix;
            });
            updateGapError(printer);
            printer.notifySaved();
            return;
        }
        case 'c':
            printer.editMedia([](MediaState& m) { ++m.cancels; });
            return;
        default:
            return;
    }
}

// A label of text lines, one under the other, printed with the settings in force.
void printLines(Printer& printer, const std::vector<std::string>& lines) {
    LabelRecord record;
    record.language = LabelLanguage::Zii;
    record.zii = labelFormatOf(printer.zii().current);
    int y = 20;
    for (const std::string& text : lines) {
        ZiiTextField field;
        field.x = 20;
        field.y = y;
        field.height = field.width = 30;
        field.data = text;
        record.fields.emplace_back(std::move(field));
        y += 40;
    }
    printer.printRecord(std::move(record));
    advanceMedia(printer, 1);
}

std::string thresholdText(const std::optional<SensorThreshold>& t) {
    return t ? std::to_string(t->value) + " (gap count " + std::to_string(t->gapCount) + ")" : "none";
}

void printConfiguration(Printer& printer) {
    const ZiiSettings s = printer.zii().current;
    const MediaState m = printer.media();
    printLines(printer, {
                            "PRINTER CONFIGURATION",
                            "DARKNESS " + std::to_string(s.darkness),
                            "PRINT SPEED " + std::to_string(s.printSpeed) + " IPS",
                            "PRINT WIDTH " + std::to_string(s.labelWidth),
                            "LABEL LENGTH " + std::to_string(s.labelLength),
                            "MEDIA " + m.model.describe(),
                            "SENSOR THRESHOLD " + std::to_string(m.threshold()),
                            "DIAGNOSTICS " + std::string(m.diagnostics ? "ON" : "OFF"),
                        });
}

// A name matches "*" and "?" wildcards; "*.*" matches every name, as extensions are optional.
bool wildcard(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") return true;
    if (pattern.empty()) return name.empty();
    if (pattern[0] == '*')
        return wildcard(pattern.substr(1), name) || (!name.empty() && wildcard(pattern, name.substr(1)));
    return !name.empty() && (pattern[0] == '?' || pattern[0] == name[0]) &&
           wildcard(pattern.substr(1), name.substr(1));
}

}  // namespace

std::optional<MediaModel> MediaModel::parse(std::string_view text, std::string& error) {
    MediaModel m;
    if (text == "continuous") {
        m.kind = Kind::Continuous;
        m.gapMm = 0;
        return m;
    }
    std::vector<std::string_view> p;
    for (std::string_view rest = text;;) {
        const auto colon = rest.find(':');
        p.push_back(rest.substr(0, colon));
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    if (p.size() != 3 || (p[0] != "gap" && p[0] != "mark") || !readInt(p[1], m.labelMm) || !readInt(p[2], m.gapMm) ||
        m.labelMm < 1 || m.labelMm > 999 || m.gapMm < 1 || m.gapMm > 99) {
        error = "gap:LABEL:GAP or mark:LABEL:MARK (millimetres, 1 to 999 and 1 to 99) or continuous";
        return std::nullopt;
    }
    m.kind = p[0] == "gap" ? Kind::Gap : Kind::Mark;
    return m;
}

std::string MediaModel::describe() const {
    if (kind == Kind::Continuous) return "continuous";
    return std::string(kind == Kind::Gap ? "gap:" : "mark:") + std::to_string(labelMm) + ":" + std::to_string(gapMm);
}

int MediaState::threshold() const {
    if (lastStored == '^' && native) return native->value * 4;
    if (lastStored == '*' && zii) return zii->value;
    return kFactoryThreshold;
}

bool MediaState::separates(int t) const {
    if (model.kind == MediaModel::Kind::Continuous) return true;
    const char sensor = sensorOf(model);
    const int a = level(model, sensor, false), b = level(model, sensor, true);
    return std::min(a, b) + kNoise < t && t <= std::max(a, b) - kNoise;
}

int MediaState::measuredThreshold() const {
    const char sensor = sensorOf(model);
    return (level(model, sensor, false) + level(model, sensor, true)) / 2;
}

std::array<std::uint16_t, 32> sampleSensor(MediaState& media, std::uint64_t rows, char sensor) {
    std::array<std::uint16_t, 32> counts{};
    const std::uint64_t period = periodRows(media.model);
    const std::uint64_t labelRows = static_cast<std::uint64_t>(media.model.labelMm) * MediaState::kDotsPerMm;
    for (std::uint64_t r = 0; r < rows; ++r) {
        const bool inEdge = (media.position + r) % period >= labelRows;
        // Two uniform draws make a triangular spread of +-kNoise around the clean level.
        const std::uint64_t h = mix(media.readings++);
        const int spread = static_cast<int>(h % (MediaState::kNoise + 1)) +
                           static_cast<int>((h >> 32) % (MediaState::kNoise + 1)) - MediaState::kNoise;
        const int reading = std::clamp(level(media.model, sensor, inEdge) + spread, 0, MediaState::kScale - 1);
        std::uint16_t& c = counts[static_cast<std::size_t>(reading / 32)];
        if (c < 0xFFFF) ++c;
    }
    media.position += rows;
    return counts;
}

std::string distributionReply(const std::array<std::uint16_t, 32>& counts) {
    std::string out;
    for (std::uint16_t c : counts) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

void advanceMedia(Printer& printer, int labels) {
    printer.editMedia([&](MediaState& m) { m.position += periodRows(m.model) * static_cast<std::uint64_t>(labels); });
    updateGapError(printer);
}

void printObjectList(Printer& printer, std::string_view which) {
    std::string_view pattern = which.empty() ? std::string_view("*:*.*") : which;
    std::vector<std::string> lines = {"OBJECT LIST " + std::string(pattern)};
    const auto colon = pattern.find(':');
    const std::string_view names = colon == std::string_view::npos ? pattern : pattern.substr(colon + 1);
    std::size_t count = 0;
    for (const auto& [name, size] : printer.images().list()) {
        if (!wildcard(names, name)) continue;
        lines.push_back(name + " " + std::to_string(size));
        ++count;
    }
    lines.push_back(std::to_string(count) + " OBJECTS");
    printLines(printer, lines);
}

std::string mediaSummary(const MediaState& m) {
    return "media " + m.model.describe() + ", sensor threshold ^ " + thresholdText(m.native) + ", * " +
           thresholdText(m.zii) + ", in use " + std::to_string(m.threshold()) + "; " + std::to_string(m.feeds) +
           " feeds, " + std::to_string(m.calibrations) + " calibrations, " + std::to_string(m.resets) +
           " resets, diagnostics " + (m.diagnostics ? "on" : "off");
}

void addMediaCommands(CommandSet& commands) {
    commands.onLine("^MX", runMx);
    commands.onLine("*MX", runMx);
    commands.onLine("~WC", [](Parser& parser, std::string_view) { printConfiguration(parser.printer()); });
    commands.onLine("~PH", [](Parser& parser, std::string_view) {
        parser.printer().editMedia([](MediaState& m) { ++m.feeds; });
        advanceMedia(parser.printer(), 1);
    });
    commands.onLine("~JC", [](Parser& parser, std::string_view) {
        Printer& printer = parser.printer();
        printer.editMedia([](MediaState& m) {
            // Two labels go by while the printer measures.
            sampleSensor(m, 2 * periodRows(m.model), sensorOf(m.model));
            const int gapCount = m.zii ? m.zii->gapCount : 7;
            m.zii = SensorThreshold{m.measuredThreshold(), gapCount};
            m.lastStored = '*';
            ++m.calibrations;
        });
        updateGapError(printer);
        printer.notifySaved();
    });
    commands.onLine("~JR", [](Parser& parser, std::string_view) {
        Printer& printer = parser.printer();
        printer.powerCycle();
        printer.editMedia([](MediaState& m) {
            m.diagnostics = false;
            ++m.resets;
        });
        parser.connectionState<ZiiFormat>() = ZiiFormat{};
        updateGapError(printer);
    });
    commands.onLine("~JD", [](Parser& parser, std::string_view) {
        parser.printer().editMedia([](MediaState& m) { m.diagnostics = true; });
    });
    commands.onLine("~JE", [](Parser& parser, std::string_view) {
        parser.printer().editMedia([](MediaState& m) { m.diagnostics = false; });
    });
}

}  // namespace velmora::sim
