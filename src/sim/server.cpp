// The front ends' threads. Both run the same conversation over a small link interface: receive in
// large chunks, feed the parser, send each batch of replies when the printer's delay has passed,
// and drop the link once the printer's drop limit is reached.
#include "sim/server.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <list>
#include <vector>

#include "platform/server.h"

namespace velmora::sim {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr unsigned kWaitSliceMs = 50;  // bounds every wait, so stop() is prompt
constexpr std::size_t kReceiveChunk = 256 * 1024;

// One end of a link as the conversation sees it.
class LinkEnd {
  public:
    virtual ~LinkEnd() = default;
    // Bytes received within timeoutMs (0: none came), or -1 when the link is gone.
    virtual long receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) = 0;
    virtual void send(const std::string& bytes) = 0;
};

class SocketEnd final : public LinkEnd {
  public:
    SocketEnd(platform::StreamSocket& socket, unsigned sendTimeoutMs) : socket_(socket), sendTimeoutMs_(sendTimeoutMs) {}

    long receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) override {
        const auto start = SteadyClock::now();
        const long got = socket_.receive(buf, n, timeoutMs);
        if (got != 0) return got;
        // The socket reports a closed peer and a quiet wait both as 0; only the closed peer
        // returns before the wait is over.
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start);
        return waited.count() + 2 < static_cast<long>(timeoutMs) ? -1 : 0;
    }
    void send(const std::string& bytes) override {
        socket_.send(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), sendTimeoutMs_);
    }

  private:
    platform::StreamSocket& socket_;
    unsigned sendTimeoutMs_;
};

class TerminalEnd final : public LinkEnd {
  public:
    TerminalEnd(platform::PseudoTerminal& pty, const Printer& printer, unsigned sendTimeoutMs)
        : pty_(pty), printer_(printer), sendTimeoutMs_(sendTimeoutMs) {}

    long receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) override {
        const long got = pty_.read(buf, n, timeoutMs);
        // A UART at another speed than the sender's reads garbage, which the printer drops: the
        // bytes never reach the parser and nothing is answered.
        const unsigned baud = printer_.faults().baud;
        if (got > 0 && baud != 0 && pty_.lineSpeed() != baud) return 0;
        return got;
    }
    void send(const std::string& bytes) override {
        const long sent = pty_.write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), sendTimeoutMs_);
        // Nobody reads the terminal: what is queued for it is stale by now (the client that asked
        // has gone), and a later client would take it for its own answer. Keep the queue empty
        // for the next one.
        if (sent < static_cast<long>(bytes.size())) pty_.discardUnread();
    }

  private:
    platform::PseudoTerminal& pty_;
    const Printer& printer_;
    unsigned sendTimeoutMs_;
};

enum class Ending { Stopped, Closed, Dropped };

// Serves one connection until it closes, the printer drops it, or the server stops.
Ending converse(LinkEnd& link, Parser& parser, Printer& printer, const std::atomic<bool>& stopping,
                const Server::Timing& timing) {
    struct Pending {
        SteadyClock::time_point due;
        std::string bytes;
    };
    std::deque<Pending> pending;
    std::vector<std::uint8_t> buffer(kReceiveChunk);
    std::uint64_t received = 0;
    auto lastByte = SteadyClock::now();

    while (!stopping) {
        const auto now = SteadyClock::now();
        while (!pending.empty() && pending.front().due <= now) {
            link.send(pending.front().bytes);
            pending.pop_front();
        }
        unsigned waitMs = kWaitSliceMs;
        if (!pending.empty()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(pending.front().due - now).count();
            waitMs = static_cast<unsigned>(std::clamp<long long>(left, 1, kWaitSliceMs));
        }
        const long got = link.receive(buffer.data(), buffer.size(), waitMs);
        if (got < 0) return Ending::Closed;
        if (got == 0) {
            if (parser.midCommand() && SteadyClock::now() - lastByte >= std::chrono::milliseconds(timing.abandonAfterMs))
                parser.abandonCommand();
            continue;
        }
        lastByte = SteadyClock::now();

        const Faults faults = printer.faults();
        auto n = static_cast<std::size_t>(got);
        if (faults.dropAfterBytes != 0 && received + n >= faults.dropAfterBytes) {
            // The bytes up to the limit still reach the printer; their answers go nowhere.
            const std::uint64_t allowed = faults.dropAfterBytes - std::min(received, faults.dropAfterBytes);
            parser.feed(buffer.data(), static_cast<std::size_t>(allowed));
            return Ending::Dropped;
        }
        received += n;
        parser.feed(buffer.data(), n);
        if (!parser.hasReplies()) continue;
        pending.push_back(
            {SteadyClock::now() + std::chrono::milliseconds(faults.delayMs), parser.takeReplies()});
        if (faults.delayMs == 0 && pending.size() == 1) {
            link.send(pending.front().bytes);
            pending.pop_front();
        }
    }
    return Ending::Stopped;
}

}  // namespace

Server::Server(Printer& printer, const CommandSet& commands) : printer_(printer), commands_(commands) {}

Server::~Server() { stop(); }

unsigned Server::startTcp(unsigned port, const std::string& address) {
    if (listener_) {
        error_ = "the TCP front end already runs";
        return 0;
    }
    auto listener = std::make_unique<platform::TcpListener>();
    if (!listener->listen(address, port)) {
        error_ = listener->error();
        return 0;
    }
    listener_ = std::move(listener);
    tcpThread_ = std::thread([this] { serveTcp(); });
    return listener_->port();
}

std::string Server::startPty() {
    if (pty_) {
        error_ = "the pseudo-terminal front end already runs";
        return {};
    }
    auto pty = std::make_unique<platform::PseudoTerminal>();
    if (!pty->open()) {
        error_ = "cannot open a pseudo-terminal";
        return {};
    }
    pty_ = std::move(pty);
    ptyThread_ = std::thread([this] { servePty(); });
    return pty_->slavePath();
}

void Server::stop() {
    stopping_ = true;
    if (tcpThread_.joinable()) tcpThread_.join();
    if (ptyThread_.joinable()) ptyThread_.join();
    listener_.reset();
    pty_.reset();
    stopping_ = false;
}

void Server::serveTcp() {
    // One thread per client, each with its own parser (its own half-received command and open
    // format) over the one printer, so an idle client keeps nobody else waiting.
    struct Connection {
        std::thread thread;
        std::atomic<bool> done{false};
    };
    std::list<Connection> connections;  // a list: a thread keeps its element's address
    const auto reapFinished = [&connections] {
        connections.remove_if([](Connection& c) {
            if (!c.done) return false;
            c.thread.join();
            return true;
        });
    };
    while (!stopping_) {
        std::unique_ptr<platform::StreamSocket> client = listener_->accept(kWaitSliceMs);
        reapFinished();
        if (!client) continue;
        // Beyond the limit a client is closed at once (it sees the connection end) rather than
        // left waiting without a word.
        if (connections.size() >= kMaxTcpClients) continue;
        Connection& connection = connections.emplace_back();
        connection.thread = std::thread([this, &connection, socket = std::move(client)]() mutable {
            SocketEnd link(*socket, timing_.sendTimeoutMs);
            Parser parser(printer_, commands_);
            converse(link, parser, printer_, stopping_, timing_);
            socket.reset();
            connection.done = true;
        });
    }
    for (Connection& connection : connections) connection.thread.join();
}

void Server::servePty() {
    TerminalEnd link(*pty_, printer_, timing_.sendTimeoutMs);
    std::vector<std::uint8_t> discard(kReceiveChunk);
    while (!stopping_) {
        Parser parser(printer_, commands_);
        const Ending ending = converse(link, parser, printer_, stopping_, timing_);
        if (ending == Ending::Closed) return;  // the terminal itself failed
        if (ending != Ending::Dropped) continue;
        // A serial line cannot be closed on its client: the printer goes deaf instead, until the
        // drop fault is switched off.
        while (!stopping_ && printer_.faults().dropAfterBytes != 0) {
            pty_->read(discard.data(), discard.size(), kWaitSliceMs);
        }
    }
}

}  // namespace velmora::sim
