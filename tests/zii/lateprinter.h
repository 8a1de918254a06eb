// A simulated printer on a TCP link whose answers leave late, in the test clock's time: each
// receive waits (moves the clock on) until the next answer is due or its bound runs out. The
// connect check is answered at once, so a command gets past it; every later answer is late.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/device.h"
#include "support/simdevice.h"

namespace velmora::testing {

class LateSocket final : public platform::StreamSocket {
public:
    LateSocket(sim::Printer& printer, platform::TestClock& clock, std::uint64_t lateMs)
        : inner_(printer), clock_(clock), lateMs_(lateMs) {}
    ConnectResult connect(const std::string& host, unsigned port, unsigned timeoutMs) override {
        return inner_.connect(host, port, timeoutMs);
    }
    long send(const std::uint8_t* data, std::size_t n, unsigned timeoutMs) override {
        const long sent = inner_.send(data, n, timeoutMs);
        std::string reply(4096, '\0');
        const long got = inner_.receive(reinterpret_cast<std::uint8_t*>(reply.data()), reply.size(), 0);
        if (got > 0) {
            reply.resize(static_cast<std::size_t>(got));
            const std::uint64_t late = answered_++ == 0 ? 0 : lateMs_;
            pending_.push_back({late == kNever ? kNever : clock_.nowMs() + late, reply});
        }
        return sent;
    }
    long receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) override {
        ++receives;
        const std::uint64_t now = clock_.nowMs();
        if (pending_.empty() || pending_.front().due == kNever || pending_.front().due > now + timeoutMs) {
            clock_.advance(timeoutMs);
            return 0;
        }
        if (pending_.front().due > now) clock_.advance(static_cast<unsigned>(pending_.front().due - now));
        std::string& bytes = pending_.front().bytes;
        const std::size_t k = std::min(n, bytes.size());
        std::memcpy(buf, bytes.data(), k);
        bytes.erase(0, k);
        if (bytes.empty()) pending_.pop_front();
        return static_cast<long>(k);
    }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }

    static constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
    int receives = 0;

private:
    struct Answer {
        std::uint64_t due;
        std::string bytes;
    };
    SimSocket inner_;
    platform::TestClock& clock_;
    std::uint64_t lateMs_;
    std::uint64_t answered_ = 0;
    std::deque<Answer> pending_;
};

// Every link is the late TCP printer (the commands are run with "--tcp").
class LateFactory final : public SimFactory {
public:
    LateFactory(sim::Printer& printer, platform::TestClock& clock, std::uint64_t lateMs)
        : SimFactory(printer), printer_(printer), clock_(clock), lateMs_(lateMs) {}
    std::unique_ptr<platform::StreamSocket> makeSocket() override {
        return std::make_unique<LateSocket>(printer_, clock_, lateMs_);
    }

private:
    sim::Printer& printer_;
    platform::TestClock& clock_;
    std::uint64_t lateMs_;
};

}  // namespace velmora::testing
