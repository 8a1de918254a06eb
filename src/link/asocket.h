// The TCP connection of the Ethernet kind: connects once, sends each write as one send,
// receives replies with one receive. Every wait is bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "link/messages.h"
#include "platform/clock.h"
#include "platform/device.h"

namespace velmora::link {

// Bounded waits of the connection (milliseconds).
struct SocketTimeouts {
    unsigned connectMs = 5000;
    unsigned sendMs = 3000;
    unsigned receiveMs = 3000;
};

class CASocket {
public:
    CASocket(platform::DeviceFactory& devices, platform::Clock& clock, LinkMessages& messages);
    virtual ~CASocket();

    int SetTarget(const std::string& addressText, unsigned portNumber);
    // 1 when connected (at once if already connected); 0 after message 149 or 150.
    int ConnectIfNeeded();
    // Why the last connect failed (an errno, 0 when unknown); see StreamSocket::connectError.
    int connectError() const { return connectError_; }
    // The count when sent (after a 50 ms pause), else 0: also when the printer reset or closed
    // the connection by the end of the pause, since the bytes did not all arrive then.
    int SendAll(const std::uint8_t* data, std::size_t count);
    // The same send, handed to the system `piece` bytes at a time with `afterPiece` called with
    // the count sent so far after each: the printer still sees one write and one pause after it,
    // and the caller can let go of what has left (the pages of a mapped file) on the way.
    int SendAll(const std::uint8_t* data, std::size_t count, std::size_t piece,
                const std::function<void(std::size_t sent)>& afterPiece);
    // The same send with each piece taken from `source` (the n bytes at an offset; an empty span
    // stops the send, which then fails without its pause).
    using PieceSource = std::function<std::span<const std::uint8_t>(std::size_t offset, std::size_t n)>;
    int SendFrom(std::size_t count, std::size_t piece, const PieceSource& source,
                 const std::function<void(std::size_t sent)>& afterPiece);
    // The same send with the bytes [skip, skip + count) of `file`, which the system sends straight
    // from it. A file that is no longer as it was opened stops the send: 0, and sourceFailed set.
    int SendFile(platform::FileReader& file, std::uint64_t skip, std::size_t count, std::size_t piece,
                 const std::function<void(std::size_t sent)>& afterPiece, bool& sourceFailed);
    // One receive of at most count bytes: the count, 0 when the printer closed the connection
    // or stayed silent past the wait, -1 on error. Once a receive of an action came back empty,
    // the action's later receives wait at most kAfterSilenceMs, answers or not.
    int Receive(std::uint8_t* buf, std::size_t count);
    // A new action (one button press, one command): receives wait their full bound again.
    void BeginAction() { silent_ = false; }
    static constexpr unsigned kAfterSilenceMs = 100;
    void Close();
    void setMessages(LinkMessages& messages) { messages_ = &messages; }

    std::string address;
    unsigned port = 9100;
    bool connected = false;
    SocketTimeouts timeouts;

private:
    // After the last piece: the pause, then whether the printer took it all; the count or 0.
    int finishSend(std::size_t count);

    platform::DeviceFactory& devices_;
    platform::Clock& clock_;
    LinkMessages* messages_;
    std::unique_ptr<platform::StreamSocket> socket_;
    bool silent_ = false;  // a receive of this action came back empty
    int connectError_ = 0;
};

}  // namespace velmora::link
