// The session trace's ring and its two written forms.
#include "link/sessiontrace.h"

#include <cstdio>
#include <utility>

#include "link/comm.h"
#include "platform/codepage.h"

namespace velmora::link {

namespace {

// What an entry costs the ring beyond its bytes, so many empty entries are bounded too.
constexpr std::size_t kEntryOverhead = 64;
constexpr std::size_t kRowBytes = 20;

std::size_t costOf(const TraceEntry& e) { return e.data.size() + e.tail.size() + e.link.size() + kEntryOverhead; }

// The bytes of a write or read as the trace keeps them: all of a short one, the head and tail of
// a long one (nothing in between is touched).
void keepBytes(TraceEntry& e, const std::uint8_t* data, std::size_t count) {
    e.length = count;
    const auto* bytes = reinterpret_cast<const char*>(data);
    if (count <= TraceEntry::kHeadBytes + TraceEntry::kTailBytes) {
        e.data.assign(bytes, count);
        e.tail.clear();
        return;
    }
    e.data.assign(bytes, TraceEntry::kHeadBytes);
    e.tail.assign(bytes + count - TraceEntry::kTailBytes, TraceEntry::kTailBytes);
}

std::string timeText(std::uint64_t micros) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%6llu.%06llu", static_cast<unsigned long long>(micros / 1000000),
                  static_cast<unsigned long long>(micros % 1000000));
    return buf;
}

std::string hexRow(std::string_view row) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < kRowBytes; ++i) {
        if (i < row.size()) {
            std::snprintf(buf, sizeof buf, "%02x ", static_cast<unsigned char>(row[i]));
            out += buf;
        } else {
            out += "   ";
        }
    }
    for (char c : row) {
        const auto b = static_cast<unsigned char>(c);
        out += b >= 33 && b <= 126 ? c : '.';
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string jsonString(std::string_view text) {
    std::string out;
    platform::appendJsonString(out, text);
    return out;
}

std::string hexString(std::string_view bytes) {
    std::string out;
    char buf[3];
    for (char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(c));
        out += buf;
    }
    return out;
}

}  // namespace

SessionTrace::SessionTrace(MicrosSource micros, std::size_t maxBytes, std::size_t maxEntries)
    : micros_(std::move(micros)), start_(micros_()), maxBytes_(maxBytes), maxEntries_(maxEntries ? maxEntries : 1) {}

void SessionTrace::add(TraceEntry entry) {
    const std::uint64_t now = micros_();
    entry.micros = now >= start_ ? now - start_ : 0;
    std::lock_guard lock(mutex_);
    entry.seq = nextSeq_++;
    // One entry larger than the whole budget keeps its head, so the ring still holds it.
    if (costOf(entry) > maxBytes_) entry.data.resize(maxBytes_ > kEntryOverhead * 2 ? maxBytes_ / 2 : 0);
    bytes_ += costOf(entry);
    ring_.push_back(std::move(entry));
    while (ring_.size() > 1 && (bytes_ > maxBytes_ || ring_.size() > maxEntries_)) {
        bytes_ -= costOf(ring_.front());
        ring_.pop_front();
        ++dropped_;
    }
}

void SessionTrace::beforeWrite(const CComm& comm) {
    add({0, 0, TraceEntry::Kind::Write, comm.linkName(), {}, 0, 0, {}});
    std::lock_guard lock(mutex_);
    openWrite_ = nextSeq_ - 1;
}

void SessionTrace::onWrite(const CComm& comm, const std::uint8_t* data, std::size_t count, int result) {
    TraceEntry kept;
    keepBytes(kept, data, count);
    endWrite(comm, std::move(kept), result);
}

void SessionTrace::onWritePiece(const CComm&, const std::uint8_t* data, std::size_t n) {
    // The head fills first; the tail keeps the last bytes seen, so at the end it is the write's.
    TraceEntry& e = pieces_;
    const auto* bytes = reinterpret_cast<const char*>(data);
    const std::size_t toHead = std::min(n, TraceEntry::kHeadBytes - std::min(e.data.size(), TraceEntry::kHeadBytes));
    e.data.append(bytes, toHead);
    e.length += n;
    if (n - toHead >= TraceEntry::kTailBytes) {
        e.tail.assign(bytes + n - TraceEntry::kTailBytes, TraceEntry::kTailBytes);
    } else {
        e.tail.append(bytes + toHead, n - toHead);
        if (e.tail.size() > TraceEntry::kTailBytes) e.tail.erase(0, e.tail.size() - TraceEntry::kTailBytes);
    }
}

void SessionTrace::onWriteEnd(const CComm& comm, std::size_t count, int result) {
    TraceEntry kept = std::exchange(pieces_, TraceEntry{});
    // A short write keeps the same form as a whole one: everything in data when it all fits.
    if (kept.data.size() + kept.tail.size() == kept.length) {
        kept.data += kept.tail;
        kept.tail.clear();
    }
    (void)count;  // what was handed over: the pieces the source gave, which the length counts
    endWrite(comm, std::move(kept), result);
}

void SessionTrace::endWrite(const CComm& comm, TraceEntry kept, int result) {
    {
        std::lock_guard lock(mutex_);
        const std::uint64_t seq = std::exchange(openWrite_, 0);
        for (auto it = ring_.rbegin(); seq && it != ring_.rend(); ++it) {
            if (it->seq != seq) continue;
            bytes_ -= costOf(*it);
            it->data = std::move(kept.data);
            it->tail = std::move(kept.tail);
            it->length = kept.length;
            it->value = result;
            if (costOf(*it) > maxBytes_) it->data.resize(maxBytes_ > kEntryOverhead * 2 ? maxBytes_ / 2 : 0);
            bytes_ += costOf(*it);
            while (ring_.size() > 1 && bytes_ > maxBytes_ && &ring_.front() != &*it) {
                bytes_ -= costOf(ring_.front());
                ring_.pop_front();
                ++dropped_;
            }
            return;
        }
    }
    // The ring let the beginning go meanwhile: the write is entered as it ends.
    kept.kind = TraceEntry::Kind::Write;
    kept.link = comm.linkName();
    kept.value = result;
    add(std::move(kept));
}

void SessionTrace::onRead(const CComm& comm, const std::uint8_t* data, int got) {
    TraceEntry e{0, 0, TraceEntry::Kind::Read, comm.linkName(), {}, got, 0, {}};
    keepBytes(e, data, got > 0 ? static_cast<std::size_t>(got) : 0);
    add(std::move(e));
}

void SessionTrace::recordPause(unsigned ms) { add({0, 0, TraceEntry::Kind::Pause, {}, {}, static_cast<long>(ms), 0, {}}); }

void SessionTrace::recordMessage(const std::string& text) { add({0, 0, TraceEntry::Kind::Message, {}, text, 0, 0, {}}); }

std::vector<TraceEntry> SessionTrace::entries(std::uint64_t afterSeq) const {
    std::lock_guard lock(mutex_);
    std::vector<TraceEntry> out;
    // A write still under way, and what came after it, wait until it has ended: a live view that
    // took them now would never see its bytes.
    for (const auto& e : ring_)
        if (e.seq > afterSeq && (!openWrite_ || e.seq < openWrite_)) out.push_back(e);
    return out;
}

std::uint64_t SessionTrace::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

void SessionTrace::clear() {
    std::lock_guard lock(mutex_);
    ring_.clear();
    bytes_ = 0;
}

char traceKindLetter(TraceEntry::Kind kind) {
    switch (kind) {
        case TraceEntry::Kind::Write:
            return 'W';
        case TraceEntry::Kind::Read:
            return 'R';
        case TraceEntry::Kind::Pause:
            return 'P';
        case TraceEntry::Kind::Message:
            return 'M';
    }
    return '?';
}

std::string formatTraceText(const std::vector<TraceEntry>& entries, std::uint64_t dropped) {
    std::string out;
    if (dropped) out += "# " + std::to_string(dropped) + " earlier entries were dropped to keep the trace bounded\n";
    for (const auto& e : entries) {
        std::string head = timeText(e.micros) + ' ' + traceKindLetter(e.kind) + ' ';
        switch (e.kind) {
            case TraceEntry::Kind::Pause:
                out += head + std::to_string(e.value) + " ms\n";
                continue;
            case TraceEntry::Kind::Message:
                out += head + "\"" + e.data + "\"\n";
                continue;
            case TraceEntry::Kind::Write:
            case TraceEntry::Kind::Read:
                break;
        }
        head += e.link + ' ';
        if (e.data.empty()) {
            out += head + (e.kind == TraceEntry::Kind::Read ? "(nothing)" : "(no bytes)") + '\n';
            continue;
        }
        const std::string indent(head.size(), ' ');
        for (std::size_t at = 0; at < e.data.size(); at += kRowBytes) {
            out += (at == 0 ? head : indent) + hexRow(std::string_view(e.data).substr(at, kRowBytes));
            if (at == 0 && e.kind == TraceEntry::Kind::Write && e.value == 0) out += "  (failed)";
            out += '\n';
        }
        if (e.omitted()) {
            out += indent + "... " + std::to_string(e.omitted()) + " bytes not kept (" + std::to_string(e.length) +
                   " in all) ...\n";
            for (std::size_t at = 0; at < e.tail.size(); at += kRowBytes)
                out += indent + hexRow(std::string_view(e.tail).substr(at, kRowBytes)) + '\n';
        }
    }
    return out;
}

std::string formatTraceJsonl(const std::vector<TraceEntry>& entries, std::uint64_t dropped) {
    std::string out;
    if (dropped) out += "{\"dropped\":" + std::to_string(dropped) + "}\n";
    for (const auto& e : entries) {
        out += "{\"seq\":" + std::to_string(e.seq) + ",\"us\":" + std::to_string(e.micros) + ",\"kind\":\"" +
               traceKindLetter(e.kind) + "\"";
        switch (e.kind) {
            case TraceEntry::Kind::Write:
            case TraceEntry::Kind::Read:
                out += ",\"link\":" + jsonString(e.link) + ",\"hex\":\"" + hexString(e.data) +
                       "\",\"result\":" + std::to_string(e.value);
                // A long write keeps its head in "hex", its tail in "tail", and says how long it was.
                if (e.omitted())
                    out += ",\"length\":" + std::to_string(e.length) + ",\"tail\":\"" + hexString(e.tail) + "\"";
                break;
            case TraceEntry::Kind::Pause:
                out += ",\"ms\":" + std::to_string(e.value);
                break;
            case TraceEntry::Kind::Message:
                out += ",\"text\":" + jsonString(e.data);
                break;
        }
        out += "}\n";
    }
    return out;
}

}  // namespace velmora::link
