// Reading ZII command values leniently, noting each leniency.
#include "sim/zii_values.h"

#include <cstdlib>
#include <limits>

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
    // Read by hand: every position and size of a label comes through here.
    decimal = false;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative) ++i;
    const std::size_t digitsFrom = i;
    unsigned long magnitude = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        overflow |= __builtin_mul_overflow(magnitude, 10ul, &magnitude) ||
                    __builtin_add_overflow(magnitude, static_cast<unsigned long>(text[i] - '0'), &magnitude);
    const bool digits = i > digitsFrom;
    if (i < text.size()) {
        if (text[i] != '.') return std::nullopt;
        for (std::size_t k = i + 1; k < text.size(); ++k)
            if (text[k] < '0' || text[k] > '9') return std::nullopt;
        decimal = true;
        if (!digits) return i + 1 == text.size() ? std::nullopt : std::optional<long>(0);
    } else if (!digits) {
        return std::nullopt;
    }
    const unsigned long limit = negative ? 1ul + static_cast<unsigned long>(std::numeric_limits<long>::max())
                                         : static_cast<unsigned long>(std::numeric_limits<long>::max());
    if (overflow || magnitude > limit) return std::nullopt;
    return negative ? static_cast<long>(0ul - magnitude) : static_cast<long>(magnitude);
}

ZiiValues::ZiiValues(std::string_view command, Leniencies* notes, std::size_t nameLength)
    : command_(command),
      text_(command.substr(std::min(nameLength, command.size()))),
      notes_(notes),
      unsplit_(text_) {}

std::string_view ZiiValues::raw(std::size_t i) const {
    while (splitCount_ <= i && splitCount_ < kSplitValues && !allSplit_) {
        const std::size_t comma = unsplit_.find(',');
        split_[splitCount_++] = unsplit_.substr(0, comma);
        if (comma == std::string_view::npos) {
            allSplit_ = true;
        } else {
            unsplit_.remove_prefix(comma + 1);
        }
    }
    if (i < splitCount_) return split_[i];
    if (allSplit_) return {};
    std::string_view rest = unsplit_;
    for (std::size_t k = splitCount_; k < i; ++k) {
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
