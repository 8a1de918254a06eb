// The session trace: what went over the wire, when, and what the user was told. A small observer
// on the port object records every write and read; a clock wrapper records every pause the tools
// take; the host reports every message box. Entries live in a bounded ring, so a long session
// keeps its newest part and never grows without limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "link/commobserver.h"
#include "platform/clock.h"

namespace velmora::link {

struct TraceEntry {
    enum class Kind { Write, Read, Pause, Message };
    std::uint64_t seq = 0;     // 1, 2, ... in recording order; never reused, also across clear()
    std::uint64_t micros = 0;  // since the session started
    Kind kind = Kind::Write;
    std::string link;          // "ETHERNET 127.0.0.1:9100"; empty for pauses and messages
    std::string data;          // the bytes written or read (of a long one its first kHeadBytes), or the message text
    long value = 0;            // write: what it returned; read: bytes that came; pause: milliseconds
    std::uint64_t length = 0;  // write or read: how many bytes it had
    std::string tail;          // the last kTailBytes of a write or read longer than data holds

    // A write or read keeps at most this much of itself, so tracing a 2 GiB file costs kilobytes.
    static constexpr std::size_t kHeadBytes = 16u << 10;
    static constexpr std::size_t kTailBytes = 1u << 10;
    // The bytes not kept between data and tail.
    std::uint64_t omitted() const { return length > data.size() + tail.size() ? length - data.size() - tail.size() : 0; }
};

class SessionTrace final : public CommObserver {
public:
    using MicrosSource = std::function<std::uint64_t()>;
    static constexpr std::size_t kDefaultMaxBytes = 4u << 20;
    static constexpr std::size_t kDefaultMaxEntries = 100000;

    explicit SessionTrace(MicrosSource micros, std::size_t maxBytes = kDefaultMaxBytes,
                          std::size_t maxEntries = kDefaultMaxEntries);

    // A write is entered when it begins, so the pauses of its send follow it; its bytes and result
    // are filled in when it ends.
    void beforeWrite(const CComm& comm) override;
    void onWrite(const CComm& comm, const std::uint8_t* data, std::size_t count, int result) override;
    void onWritePiece(const CComm& comm, const std::uint8_t* data, std::size_t n) override;
    void onWriteEnd(const CComm& comm, std::size_t count, int result) override;
    void onRead(const CComm& comm, const std::uint8_t* data, int got) override;
    void recordPause(unsigned ms);
    void recordMessage(const std::string& text);

    // The entries after `afterSeq` still in the ring, oldest first (a live view asks for the new
    // ones); a write under way and the entries after it come once it has ended.
    std::vector<TraceEntry> entries(std::uint64_t afterSeq = 0) const;
    // How many entries the ring let go to stay within its bounds.
    std::uint64_t dropped() const;
    void clear();

private:
    void add(TraceEntry entry);
    // Puts a write's kept bytes into the entry its beginning made.
    void endWrite(const CComm& comm, TraceEntry kept, int result);

    MicrosSource micros_;
    std::uint64_t start_;
    std::size_t maxBytes_;
    std::size_t maxEntries_;
    mutable std::mutex mutex_;  // the live window reads while the tools record
    std::deque<TraceEntry> ring_;
    std::size_t bytes_ = 0;
    std::uint64_t nextSeq_ = 1;
    std::uint64_t dropped_ = 0;
    std::uint64_t openWrite_ = 0;  // the seq of the write that has begun and not ended; 0: none
    TraceEntry pieces_;            // a write handed over in pieces, as kept so far (one writer at a time)
};

// A clock that records each pause in the trace, then pauses with the clock it wraps.
class TracingClock final : public platform::Clock {
public:
    TracingClock(platform::Clock& inner, SessionTrace& trace) : inner_(inner), trace_(trace) {}
    void sleepMs(unsigned ms) override {
        trace_.recordPause(ms);
        inner_.sleepMs(ms);
    }
    std::uint64_t nowMs() override { return inner_.nowMs(); }
    std::chrono::system_clock::time_point wallNow() override { return inner_.wallNow(); }

private:
    platform::Clock& inner_;
    SessionTrace& trace_;
};

// One letter per kind: W written, R read, P pause, M message.
char traceKindLetter(TraceEntry::Kind kind);
// Text for people and for diff: one entry per line; bytes as rows of 20, hexadecimal beside the
// printable characters (33..126 as themselves, the rest "."), further rows indented under the first.
std::string formatTraceText(const std::vector<TraceEntry>& entries, std::uint64_t dropped);
// One JSON object per line, for tools.
std::string formatTraceJsonl(const std::vector<TraceEntry>& entries, std::uint64_t dropped);

}  // namespace velmora::link
