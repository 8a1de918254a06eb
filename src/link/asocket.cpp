// The Ethernet connection with bounded waits.
#include "link/asocket.h"

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
    return 1;
}

int CASocket::SendAll(const std::uint8_t* data, std::size_t count) {
    if (count == 0 || !socket_) return 0;
    const long sent = socket_->send(data, count, timeouts.sendMs);
    // A send cut short by the bounded wait is a failure, not a success.
    if (sent < static_cast<long>(count)) return 0;
    clock_.sleepMs(kAfterSendMs);
    return static_cast<int>(count);
}

int CASocket::Receive(std::uint8_t* buf, std::size_t count) {
    if (!socket_) return -1;
    return static_cast<int>(socket_->receive(buf, count, timeouts.receiveMs));
}

void CASocket::Close() {
    if (socket_) socket_->close();
    socket_.reset();
    connected = false;
}

}  // namespace velmora::link
