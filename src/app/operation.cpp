// Outcomes of tool actions and the reply helpers they share.
#include "app/operation.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace velmora::app {

const ReadValue* Outcome::find(std::string_view key) const {
    for (const auto& v : values)
        if (v.key == key) return &v;
    return nullptr;
}

bool Outcome::allValid() const {
    return std::all_of(values.begin(), values.end(), [](const ReadValue& v) { return v.valid; });
}

Outcome& Outcome::fail(int id, std::string where) {
    result = {Status::Failed, id, {}, std::move(where)};
    return *this;
}

Outcome& Outcome::refuse(int id, std::string message, std::string where) {
    result = {Status::Refused, id, std::move(message), std::move(where)};
    return *this;
}

Outcome& Outcome::finish(int id) {
    result = {Status::Done, id, {}, {}};
    return *this;
}

void ReplyOrder::take(ReadValue& value, bool settled) {
    if (unsettled_ && value.replied && value.valid) {
        value.valid = false;
        value.why = kMaybeLateReply;
    }
    unsettled_ = unsettled_ || !settled;
}

Outcome selectValues(Outcome all, const std::vector<std::string>& keys) {
    if (keys.empty()) return all;
    Outcome out;
    for (auto& v : all.values)
        if (std::find(keys.begin(), keys.end(), v.key) != keys.end()) out.values.push_back(std::move(v));
    for (const auto& v : out.values)
        if (!v.valid) return out.fail(0, v.key);
    return out.finish(0);
}

std::string readReply(link::CComm& comm, std::size_t limit,
                      const std::function<bool(std::string_view bytes)>& complete) {
    std::string reply;
    std::vector<std::uint8_t> area(limit);
    while (reply.size() < limit) {
        const int got = comm.ReadBytes(area.data(), limit - reply.size());
        if (got <= 0) break;
        reply.append(reinterpret_cast<const char*>(area.data()), static_cast<std::size_t>(got));
        if (const auto nul = reply.find('\0'); nul != std::string::npos) {
            reply.resize(nul);
            break;
        }
        if (complete(reply)) break;
    }
    return reply;
}

bool printable(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x20 && b != 0x7F;
    });
}

bool endsWithLine(std::string_view bytes) {
    return !bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n');
}

std::string_view withoutLineEnd(std::string_view bytes) {
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.remove_suffix(1);
    return bytes;
}

std::string hexBytes(std::string_view bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

bool parseWhole(std::string_view text, int& out) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
    if (i >= text.size() || text.size() - i > 10) return false;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace velmora::app
