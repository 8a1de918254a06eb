// The JSON reader: recursive descent over RFC 8259, bounded in depth.
#include "support/json.h"

#include <cstdlib>

namespace velmora::testing {

const Json& Json::operator[](const std::string& key) const {
    static const Json none;
    const auto it = members.find(key);
    return it == members.end() ? none : it->second;
}

namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : s_(text) {}

    std::optional<Json> document(std::string& error) {
        Json value;
        if (!parse(value, 0) || (space(), at_ != s_.size())) {
            error = (why_.empty() ? "trailing bytes" : why_) + " at offset " + std::to_string(at_);
            return std::nullopt;
        }
        return value;
    }

private:
    bool fail(const char* why) {
        if (why_.empty()) why_ = why;
        return false;
    }
    void space() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) ++at_;
    }
    bool literal(std::string_view word) {
        if (s_.substr(at_, word.size()) != word) return fail("unknown word");
        at_ += word.size();
        return true;
    }

    bool parse(Json& v, int depth) {
        if (depth > 64) return fail("too deep");
        space();
        if (at_ >= s_.size()) return fail("unexpected end");
        switch (s_[at_]) {
            case '{':
                return object(v, depth);
            case '[':
                return array(v, depth);
            case '"':
                v.kind = Json::Kind::String;
                return string(v.text);
            case 't':
                v.kind = Json::Kind::Boolean;
                v.boolean = true;
                return literal("true");
            case 'f':
                v.kind = Json::Kind::Boolean;
                return literal("false");
            case 'n':
                return literal("null");
            default:
                return number(v);
        }
    }

    bool object(Json& v, int depth) {
        v.kind = Json::Kind::Object;
        ++at_;
        space();
        if (at_ < s_.size() && s_[at_] == '}') return ++at_, true;
        for (;;) {
            space();
            std::string key;
            if (at_ >= s_.size() || s_[at_] != '"' || !string(key)) return fail("expected a key");
            space();
            if (at_ >= s_.size() || s_[at_++] != ':') return fail("expected ':'");
            Json member;
            if (!parse(member, depth + 1)) return false;
            if (!v.members.emplace(key, std::move(member)).second) return fail("repeated key");
            space();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == '}') return ++at_, true;
            return fail("expected ',' or '}'");
        }
    }

    bool array(Json& v, int depth) {
        v.kind = Json::Kind::Array;
        ++at_;
        space();
        if (at_ < s_.size() && s_[at_] == ']') return ++at_, true;
        for (;;) {
            Json item;
            if (!parse(item, depth + 1)) return false;
            v.items.push_back(std::move(item));
            space();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == ']') return ++at_, true;
            return fail("expected ',' or ']'");
        }
    }

    static void utf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool hex4(unsigned& cp) {
        if (at_ + 4 > s_.size()) return fail("short \\u escape");
        cp = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = s_[at_++];
            cp <<= 4;
            if (c >= '0' && c <= '9') cp |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') cp |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') cp |= static_cast<unsigned>(c - 'A' + 10);
            else return fail("bad \\u escape");
        }
        return true;
    }

    // Well-formed UTF-8 only: a program that writes other bytes into a string writes no JSON.
    bool rawCharacter(std::string& out) {
        const auto b = static_cast<unsigned char>(s_[at_]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || (extra == 1 && b < 0xC2) || at_ + static_cast<std::size_t>(extra) >= s_.size())
            return fail("not UTF-8");
        for (int i = 1; i <= extra; ++i)
            if ((static_cast<unsigned char>(s_[at_ + static_cast<std::size_t>(i)]) & 0xC0) != 0x80) return fail("not UTF-8");
        out.append(s_.substr(at_, static_cast<std::size_t>(extra) + 1));
        at_ += static_cast<std::size_t>(extra) + 1;
        return true;
    }

    bool string(std::string& out) {
        ++at_;  // the opening quote
        while (at_ < s_.size()) {
            const char c = s_[at_];
            if (c == '"') return ++at_, true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("control byte in a string");
            if (c != '\\') {
                if (!rawCharacter(out)) return false;
                continue;
            }
            if (++at_ >= s_.size()) break;
            const char e = s_[at_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned cp = 0;
                    if (!hex4(cp)) return false;
                    if (cp >= 0xD800 && cp < 0xDC00) {
                        unsigned low = 0;
                        if (s_.substr(at_, 2) != "\\u" || (at_ += 2, !hex4(low)) || low < 0xDC00 || low > 0xDFFF)
                            return fail("lone surrogate");
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                        return fail("lone surrogate");
                    }
                    utf8(out, cp);
                    break;
                }
                default:
                    return fail("bad escape");
            }
        }
        return fail("unended string");
    }

    bool number(Json& v) {
        const std::size_t start = at_;
        auto digits = [&] {
            const std::size_t from = at_;
            while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9') ++at_;
            return at_ > from;
        };
        if (at_ < s_.size() && s_[at_] == '-') ++at_;
        if (at_ < s_.size() && s_[at_] == '0') {
            ++at_;
        } else if (!digits()) {
            return fail("expected a value");
        }
        if (at_ < s_.size() && s_[at_] == '.' && (++at_, !digits())) return fail("bad fraction");
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-')) ++at_;
            if (!digits()) return fail("bad exponent");
        }
        v.kind = Json::Kind::Number;
        v.number = std::strtod(std::string(s_.substr(start, at_ - start)).c_str(), nullptr);
        return true;
    }

    std::string_view s_;
    std::size_t at_ = 0;
    std::string why_;
};

}  // namespace

std::optional<Json> parseJson(std::string_view text, std::string& error) { return Reader(text).document(error); }

}  // namespace velmora::testing
