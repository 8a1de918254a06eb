// Reading ZII command values leniently, noting each leniency.
#include "sim/zii_values.h"

#include <charconv>
#include <cstdlib>

namespace velmora::sim {

namespace {

constexpr std::size_t kMaxNoteCommand = 40;

bool space(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view v) {
    while (!v.empty() && space(v.front())) v.remove_prefix(1);
    while (!v.empty() && space(v.back())) v.remove_suffix(1);
    return v;
}

}  // namespace

void noteLeniency(Leniencies* notes, std::string_view command, std::string_view why) {
    // A label of a thousand fields with decimal positions must not keep a thousand notes here;
    // the journal keeps its own bounded tail of them.
    if (!notes || notes->size() >= 1000) return;
    std::string text(command.substr(0, kMaxNoteCommand));
    if (command.size() > kMaxNoteCommand) text += "...";
    text += ": ";
    text += why;
    notes->push_back(std::move(text));
}

std::optional<long> leadingWhole(std::string_view text, bool& decimal) {
    decimal = false;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const std::size_t dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    if (dot != std::string_view::npos) {
        const std::string_view fraction = text.substr(dot + 1);
        for (const char c : fraction)
            if (c < '0' || c > '9') return std::nullopt;
        decimal = true;
        if (whole.empty() || whole == "-") return fraction.empty() ? std::nullopt : std::optional<long>(0);
    }
    long value = 0;
    const auto [end, ec] = std::from_chars(whole.data(), whole.data() + whole.size(), value);
    if (whole.empty() || ec != std::errc() || end != whole.data() + whole.size()) return std::nullopt;
    return value;
}

ZiiValues::ZiiValues(std::string_view command, Leniencies* notes, std::size_t nameLength)
    : command_(command), text_(command.substr(std::min(nameLength, command.size()))), notes_(notes) {}

std::string_view ZiiValues::raw(std::size_t i) const {
    std::string_view rest = text_;
    for (; i > 0; --i) {
        const std::size_t comma = rest.find(',');
        if (comma == std::string_view::npos) return {};
        rest.remove_prefix(comma + 1);
    }
    return rest.substr(0, rest.find(','));
}

std::string_view ZiiValues::operator[](std::size_t i) const {
    const std::string_view v = raw(i);
    const std::string_view t = trimmed(v);
    if (t.size() != v.size()) note("spaces around a value");
    return t;
}

bool ZiiValues::given(std::size_t i) const { return !trimmed(raw(i)).empty(); }

std::size_t ZiiValues::count() const {
    if (text_.empty()) return 0;
    std::size_t n = 1;
    for (const char c : text_) n += c == ',';
    return n;
}

std::vector<std::string> ZiiValues::all() const {
    std::vector<std::string> out;
    for (std::size_t i = 0, n = count(); i < n; ++i) out.emplace_back((*this)[i]);
    return out;
}

std::optional<long> ZiiValues::whole(std::size_t i) const {
    const std::string_view v = (*this)[i];
    if (v.empty()) return std::nullopt;
    bool decimal = false;
    const auto value = leadingWhole(v, decimal);
    if (!value) {
        note("'" + std::string(v) + "' is not a number");
    } else if (decimal) {
        note("decimal " + std::string(v) + " taken as " + std::to_string(*value));
    }
    return value;
}

int ZiiValues::number(std::size_t i, int fallback, int min, int max) const {
    const auto v = whole(i);
    if (!v) return fallback;
    if (*v < min || *v > max) {
        note(std::to_string(*v) + " is out of range; the default taken");
        return fallback;
    }
    return static_cast<int>(*v);
}

double ZiiValues::decimal(std::size_t i, double fallback, double min, double max) const {
    const std::string v((*this)[i]);
    if (v.empty()) return fallback;
    char* end = nullptr;
    const double value = std::strtod(v.c_str(), &end);
    if (end != v.c_str() + v.size() || value < min || value > max) {
        note("'" + v + "' is not a number in range; the default taken");
        return fallback;
    }
    return value;
}

char ZiiValues::letter(std::size_t i, std::string_view allowed, char fallback) const {
    const std::string_view v = (*this)[i];
    if (v.empty()) return fallback;
    if (v.size() == 1 && allowed.find(v[0]) != std::string_view::npos) return v[0];
    note("'" + std::string(v) + "' is not one of " + std::string(allowed) + "; the default taken");
    return fallback;
}

}  // namespace velmora::sim
