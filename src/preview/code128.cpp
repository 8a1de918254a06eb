// The Code 128 symbol of a ^BC field, symbol value by symbol value.
#include "preview/code128.h"

#include <cctype>

#include "preview/gs1.h"

namespace velmora::preview {

namespace {

// Bar and space widths of each symbol value, 0 to 106 (106 the stop).
constexpr const char* kPatterns[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112", "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};

constexpr int kFnc1 = 102, kCodeC = 99, kCodeB = 100, kCodeA = 101, kStartA = 103, kStartB = 104, kStartC = 105, kStop = 106;

class Builder {
  public:
    explicit Builder(char subset) : subset_(subset) {
        values_.push_back(subset == 'A' ? kStartA : subset == 'C' ? kStartC : kStartB);
    }
    char subset() const { return subset_; }
    void to(char subset) {
        if (subset == subset_) return;
        values_.push_back(subset == 'C' ? kCodeC : subset == 'B' ? kCodeB : kCodeA);
        subset_ = subset;
    }
    void value(int v) { values_.push_back(v); }
    // A character of subset A or B; false when the subset has none for it.
    bool character(unsigned char c) {
        if (subset_ == 'C') to('B');
        if (subset_ == 'B' && c >= 32 && c <= 127) return values_.push_back(c - 32), true;
        if (subset_ == 'B' && c < 32) to('A');
        if (subset_ == 'A' && c < 96) return values_.push_back(c >= 32 ? c - 32 : c + 64), true;
        if (subset_ == 'A' && c >= 96 && c <= 127) {
            to('B');
            return values_.push_back(c - 32), true;
        }
        return false;
    }
    Code128 finish(std::string text) const {
        Code128 out;
        long sum = values_[0];
        for (std::size_t i = 1; i < values_.size(); ++i) sum += static_cast<long>(i) * values_[i];
        std::vector<int> all = values_;
        all.push_back(static_cast<int>(sum % 103));
        all.push_back(kStop);
        for (const int v : all)
            for (const char* p = kPatterns[v]; *p; ++p) out.modules.push_back(*p - '0');
        out.text = std::move(text);
        return out;
    }

  private:
    char subset_;
    std::vector<int> values_;
};

bool digits(const std::string& s, std::size_t at, std::size_t n) {
    if (at + n > s.size()) return false;
    for (std::size_t i = at; i < at + n; ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

std::size_t digitRun(const std::string& s, std::size_t at) {
    std::size_t n = 0;
    while (at + n < s.size() && std::isdigit(static_cast<unsigned char>(s[at + n]))) ++n;
    return n;
}

// Automatic subsets: C for runs of digits long enough to gain by it, else B (A for controls).
void automatic(Builder& b, const std::string& s, bool started) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t run = digitRun(s, i);
        const bool atEdge = i == 0 || i + run == s.size();
        if (run >= 2 && run % 2 == 0 && (run >= (atEdge ? 4u : 6u) || (!started && i == 0 && run == s.size()))) {
            b.to('C');
            for (std::size_t k = 0; k < run; k += 2) b.value((s[i + k] - '0') * 10 + s[i + k + 1] - '0');
            i += run;
        } else {
            // An odd run gives its first digit to A or B, and the even rest may go to C.
            b.character(static_cast<unsigned char>(s[i]));
            ++i;
        }
        started = true;
    }
}

char startFor(const std::string& s) {
    const std::size_t run = digitRun(s, 0);
    if ((run >= 4 && run % 2 == 0) || (run == s.size() && run >= 2 && run % 2 == 0)) return 'C';
    return !s.empty() && static_cast<unsigned char>(s[0]) < 32 ? 'A' : 'B';
}

int mod10(const std::string& digitsOnly) {
    int sum = 0;
    for (std::size_t i = 0; i < digitsOnly.size(); ++i) {
        const int d = digitsOnly[digitsOnly.size() - 1 - i] - '0';
        sum += i % 2 == 0 ? 3 * d : d;
    }
    return (10 - sum % 10) % 10;
}

}  // namespace

std::optional<Code128> encodeCode128(const std::string& data, char mode, std::string& why) {
    if (mode == 'U') {
        // A case code: 19 digits (cut, or zeros in front), and their check digit, after FNC1.
        std::string d;
        for (const char c : data)
            if (std::isdigit(static_cast<unsigned char>(c))) d += c;
        if (d.size() > 19) d.resize(19);
        d.insert(0, 19 - d.size(), '0');
        d += static_cast<char>('0' + mod10(d));
        Builder b('C');
        b.value(kFnc1);
        for (std::size_t k = 0; k < d.size(); k += 2) b.value((d[k] - '0') * 10 + d[k + 1] - '0');
        return b.finish(d);
    }
    if (mode == 'D') {
        // GS1: FNC1 first; the parentheses around application identifiers and spaces are not
        // encoded; ">8", or an identifier in parentheses after an element whose length varies,
        // separates elements.
        std::string plain, text;
        std::vector<std::size_t> separators;
        std::size_t element = 0;  // where the element being read began in `plain`
        int fixed = -1;           // its whole length where GS1 fixes it, 0 where it varies
        for (std::size_t i = 0; i < data.size(); ++i) {
            const char c = data[i];
            if (c == '>' && i + 1 < data.size() && data[i + 1] == '8') {
                if (!plain.empty()) separators.push_back(plain.size());
                ++i;
                continue;
            }
            if (c == '(') {
                if (fixed == 0 && !plain.empty()) separators.push_back(plain.size());
                element = plain.size();
                fixed = digits(data, i + 1, 2) ? gs1FixedLength((data[i + 1] - '0') * 10 + data[i + 2] - '0') : 0;
            }
            text += c;
            if (c != '(' && c != ')' && c != ' ') plain += c;
            if (fixed > 0 && plain.size() - element >= static_cast<std::size_t>(fixed)) fixed = -1;
        }
        Builder b(startFor(plain) == 'C' ? 'C' : 'B');
        b.value(kFnc1);
        std::size_t from = 0;
        for (const std::size_t at : separators) {
            automatic(b, plain.substr(from, at - from), true);
            b.value(kFnc1);
            from = at;
        }
        automatic(b, plain.substr(from), true);
        return b.finish(text);
    }
    if (mode == 'A') {
        std::string plain;
        for (std::size_t i = 0; i < data.size(); ++i) {
            if (data[i] == '>' && i + 1 < data.size()) ++i;  // invocation codes carry no data here
            plain += data[i];
        }
        Builder b(startFor(plain));
        automatic(b, plain, false);
        return b.finish(plain);
    }
    // N: the subsets the data asks for, starting in B.
    std::size_t i = 0;
    char start = 'B';
    if (data.size() >= 2 && data[0] == '>' && (data[1] == '9' || data[1] == ':' || data[1] == ';')) {
        start = data[1] == '9' ? 'A' : data[1] == ':' ? 'B' : 'C';
        i = 2;
    }
    Builder b(start);
    std::string text;
    while (i < data.size()) {
        const char c = data[i];
        if (c == '>' && i + 1 < data.size()) {
            const char code = data[i + 1];
            i += 2;
            switch (code) {
                case '0': b.character('>'); text += '>'; break;
                case '=': b.character('~'); text += '~'; break;
                case '5': b.to('C'); break;
                case '6': b.to('B'); break;
                case '7': b.to('A'); break;
                case '8': b.value(kFnc1); break;
                case '9': b.to('A'); break;
                case ':': b.to('B'); break;
                case ';': b.to('C'); break;
                default: break;  // FNC2, FNC3, shift: nothing a scanner shows
            }
            continue;
        }
        if (b.subset() == 'C') {
            if (digits(data, i, 2)) {
                b.value((data[i] - '0') * 10 + data[i + 1] - '0');
                text.append(data, i, 2);
                i += 2;
                continue;
            }
            b.to('B');  // a lone digit or a letter: subset B takes it
        }
        if (!b.character(static_cast<unsigned char>(c))) {
            why = "Code 128 has no character " + std::to_string(static_cast<unsigned char>(c));
            return std::nullopt;
        }
        text += c;
        ++i;
    }
    return b.finish(text);
}

}  // namespace velmora::preview
