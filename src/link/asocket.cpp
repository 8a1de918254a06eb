// The Ethernet connection with bounded waits.
#include "link/asocket.h"

#include "platform/filereader.h"
#include "resources/messages.h"

#include <algorithm>
#include <climits>

namespace velmora::link {

namespace {
constexpr unsigned kAfterSendMs = 50;
}

CASocket::CASocket(platform::DeviceFactory& devices, platform::Clock& clock, LinkMessages& messages)
    : devices_(devices), clock_(clock), messages_(&messages) {}

CASocket::~CASocket() { Close(); }

int CASocket::SetTarget(const std::string& addressText, unsigned portNumber) {
    address = addressText;
    port = portNumber;
    return 1;
}

int CASocket::ConnectIfNeeded() {
    if (connected) return 1;
    Close();
    socket_ = devices_.makeSocket();
    const auto result = socket_ ? socket_->connect(address, port, timeouts.connectMs)
                                : platform::StreamSocket::ConnectResult::CreateFailed;
    connectError_ = socket_ && result != platform::StreamSocket::ConnectResult::Ok ? socket_->connectError() : 0;
    if (result == platform::StreamSocket::ConnectResult::CreateFailed) {
        socket_.reset();
        messages_->showMessage(msg::kCreateSocket);
        return 0;
    }
    if (result != platform::StreamSocket::ConnectResult::Ok) {
        Close();
        messages_->showMessage(msg::kConnectFailed);
        return 0;
    }
    connected = true;
    silent_ = false;
    return 1;
}

int CASocket::SendAll(const std::uint8_t* data, std::size_t count) { return SendAll(data, count, count, {}); }

int CASocket::SendAll(const std::uint8_t* data, std::size_t count, std::size_t piece,
                      const std::function<void(std::size_t sent)>& afterPiece) {
    return SendFrom(count, piece, [data](std::size_t offset, std::size_t n) {
        return std::span<const std::uint8_t>(data + offset, n);
    }, afterPiece);
}

int CASocket::SendFrom(std::size_t count, std::size_t piece, const PieceSource& source,
                       const std::function<void(std::size_t sent)>& afterPiece) {
    if (count == 0 || !socket_) return 0;
    if (piece == 0) piece = count;
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(piece, count - done);
        const std::span<const std::uint8_t> bytes = source(done, n);
        if (bytes.size() != n) return 0;
        const long sent = socket_->send(bytes.data(), n, timeouts.sendMs);
        // A send cut short by the bounded wait is a failure, not a success.
        if (sent < static_cast<long>(n)) return 0;
        done += n;
        if (afterPiece) afterPiece(done);
    }
    return finishSend(count);
}

int CASocket::SendFile(platform::FileReader& file, std::uint64_t skip, std::size_t count, std::size_t piece,
                       const std::function<void(std::size_t sent)>& afterPiece, bool& sourceFailed) {
    if (count == 0 || !socket_) return 0;
    if (piece == 0) piece = count;
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(piece, count - done);
        const long sent = socket_->sendFile(file, skip + done, n, timeouts.sendMs);
        if (file.changed()) {
            sourceFailed = true;
            return 0;
        }
        if (sent < static_cast<long>(n)) return 0;
        done += n;
        if (afterPiece) afterPiece(done);
    }
    return finishSend(count);
}

int CASocket::finishSend(std::size_t count) {
    clock_.sleepMs(kAfterSendMs);
    // The system takes the bytes before the printer does: a reset or close that arrived since
    // means they were lost.
    if (socket_->peerGone()) return 0;
    // A file of 4 GiB must not come back as 0 sent (a failure): the count saturates.
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

int CASocket::Receive(std::uint8_t* buf, std::size_t count) {
    if (!socket_) return -1;
    // A printer that stopped answering costs one full wait per action, not one per read. An
    // answer after that does not bring the full wait back: it may be a late answer, and a printer
    // that answers each query later than the bound would otherwise cost a full wait per read.
    const unsigned waitMs = silent_ ? std::min(timeouts.receiveMs, kAfterSilenceMs) : timeouts.receiveMs;
    const long got = socket_->receive(buf, count, waitMs);
    if (got == 0) silent_ = true;
    return static_cast<int>(got);
}

void CASocket::Close() {
    if (socket_) socket_->close();
    socket_.reset();
    connected = false;
}

}  // namespace velmora::link
