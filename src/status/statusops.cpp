// The status query, its reads and what makes a reply valid.
#include "status/statusops.h"

#include "resources/messages.h"

#include <vector>

namespace velmora::status {

namespace {

const StatusQuery kCp{"^cp\r", 2, cpStatusBits()};
const StatusQuery kCu{"^cu\r", 1, cuStatusBits()};

// One read of up to `length` bytes; zero bytes are status bytes like any other.
std::string readOnce(link::CComm& comm, std::size_t length) {
    std::vector<std::uint8_t> area(length, 0);
    const int got = comm.ReadBytes(area.data(), area.size());
    if (got <= 0) return {};
    return std::string(reinterpret_cast<const char*>(area.data()), static_cast<std::size_t>(got));
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : ", ") + item;
    return out;
}

}  // namespace

const StatusQuery& cpQuery() { return kCp; }
const StatusQuery& cuQuery() { return kCu; }

bool setsUnknownBits(const StatusQuery& query, std::span<const std::uint8_t> reply) {
    for (std::size_t i = 0; i < reply.size(); ++i) {
        std::uint8_t known = 0;
        for (const StatusBit& bit : query.bits)
            if (bit.byte == static_cast<int>(i)) known |= bit.mask;
        if (reply[i] & ~known) return true;
    }
    return false;
}

std::vector<std::string> tickedBoxes(const StatusQuery& query, std::span<const std::uint8_t> reply) {
    std::vector<std::string> out;
    for (const StatusBit* bit : decodeStatusBits(query.bits, reply)) out.emplace_back(bit->caption);
    if (!reply.empty() && allClear(reply)) out.emplace_back("Status OK");
    return out;
}

std::span<const std::uint8_t> replyBytes(const app::ReadValue& value) {
    return {reinterpret_cast<const std::uint8_t*>(value.raw.data()), value.raw.size()};
}

app::Outcome queryStatus(link::CComm& comm, platform::Clock& clock, const StatusQuery& query,
                         const app::Steps& steps) {
    app::Outcome out;
    comm.BeginAction();
    // The port object has reported a failed write; there is no reply to wait for.
    if (comm.WriteText(query.command) == 0) return out.fail(0, kStatusKey);
    out.written.emplace_back("query", std::string(app::withoutLineEnd(query.command)));
    clock.sleepMs(kStatusReplyWaitMs);
    const std::string first = readOnce(comm, query.length);
    app::ReadValue v{kStatusKey, {}, !first.empty(), false, first, {}};
    if (first.size() != query.length) {
        v.why = "a short reply: " + std::to_string(first.size()) + " of " + std::to_string(query.length) + " bytes";
        if (steps) steps({app::Step::Kind::ValueRead, &v});
        // One more read: a reply that was late still counts, one that came short does not.
        v.raw = readOnce(comm, query.length);
        v.replied = v.replied || !v.raw.empty();
        if (v.raw.size() != query.length)
            v.why = "no whole reply: " + std::to_string(first.size()) + ", then " + std::to_string(v.raw.size()) +
                    " of " + std::to_string(query.length) + " bytes";
        else if (!first.empty())
            v.why = "a whole reply after a short one, which may be the rest of that one";
        else
            v.why.clear();
    }
    const auto bytes = replyBytes(v);
    if (v.raw.size() == query.length) {
        v.text = joined(tickedBoxes(query, bytes));
        if (v.why.empty() && setsUnknownBits(query, bytes)) v.why = "it sets bits that no status has";
        v.valid = v.why.empty();
    }
    const bool shortFirst = first.size() != query.length;
    out.values.push_back(std::move(v));
    if (out.values.back().valid) return out.finish(0);  // a late reply is still this query's
    return out.fail(shortFirst ? msg::kStatusReadFail : 0, kStatusKey);
}

}  // namespace velmora::status
