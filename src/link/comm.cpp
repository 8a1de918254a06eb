// The port object: open by port name, and what every kind shares (the observer that sees each
// write and read, one logical write however it is handed over, the code page). How bytes move
// on each kind is its transport's (transports.cpp).
#include "link/comm.h"

#include <optional>

#include "link/usbprinter.h"
#include "platform/codepage.h"
#include "platform/osversion.h"

namespace velmora::link {

namespace {

// The kind a port name names: "COM…", "LPT…", "USB", "ETHERNET…".
std::optional<InterfaceKind> kindOfPort(const std::string& portName) {
    if (portName.compare(0, 3, "COM") == 0) return kSerial;
    if (portName.compare(0, 3, "LPT") == 0) return kParallel;
    if (portName == "USB") return kUsb;
    if (portName.compare(0, 8, "ETHERNET") == 0) return kEthernet;
    return std::nullopt;
}

}  // namespace

CComm::CComm(platform::DeviceFactory& devices, platform::Clock& clock, LinkMessages& messages)
    : legacyWindows(LegacyWindowsFromVersion(platform::packedOsVersion())),
      socket(devices, clock, messages),
      devices_(devices),
      clock_(clock),
      messages_(&messages) {}

CComm::~CComm() {
    Close();
    socket.Close();
}

bool CComm::isOpen() const { return transport_ && transport_->isOpen(); }

Transport& CComm::transport() {
    if (!transport_) transport_ = makeTransport(*this, openFailure_);
    return *transport_;
}

int CComm::Open() {
    Close();
    openFailure_ = {};
    const auto named = kindOfPort(portName);
    if (!named) return 0;
    kind = *named;
    transport_ = makeTransport(*this, openFailure_);
    return transport_->open();
}

void CComm::Close() {
    if (transport_) transport_->close();
}

void CComm::CloseTcp() { socket.Close(); }

bool CComm::SetTimeouts(const platform::Timeouts& timeouts) {
    return handle() ? handle()->setTimeouts(timeouts) : true;
}

void CComm::RestoreTimeouts() {
    if (transport_) transport_->restoreTimeouts();
}

bool CComm::DrainOutput() { return handle() ? handle()->drainOutput() : true; }

int CComm::WriteBytes(const std::uint8_t* data, std::size_t count) {
    if (observer) observer->beforeWrite(*this);
    const int result = transport().write(data, count);
    if (observer) observer->onWrite(*this, data, count, result);
    return result;
}

int CComm::ReadBytes(std::uint8_t* buf, std::size_t count) {
    const int got = transport().read(buf, count);
    if (observer) observer->onRead(*this, buf, got);
    return got;
}

std::string CComm::linkName() const { return transport_ ? transport_->name() : portName; }

int CComm::WriteBytesInPieces(const std::uint8_t* data, std::size_t count, std::size_t piece,
                              const std::function<void(std::size_t written)>& afterPiece) {
    if (piece == 0 || piece >= count) {
        const int result = WriteBytes(data, count);
        if (result && afterPiece) afterPiece(count);
        return result;
    }
    return WriteFromSource(count, piece, [data](std::size_t offset, std::size_t n) {
        return std::span<const std::uint8_t>(data + offset, n);
    }, afterPiece);
}

int CComm::WriteFromSource(std::size_t count, std::size_t piece, const PieceSource& source,
                           const std::function<void(std::size_t written)>& afterPiece) {
    sourceFailed_ = false;
    if (count == 0) return WriteBytes(nullptr, 0);
    if (piece == 0) piece = count;
    // One logical write, whatever the pieces: the trace sees it as one, each piece as it passes.
    if (observer) observer->beforeWrite(*this);
    const PieceSource watched = [&](std::size_t offset, std::size_t n) {
        const std::span<const std::uint8_t> bytes = source(offset, n);
        if (bytes.size() != n) {
            sourceFailed_ = true;
            return std::span<const std::uint8_t>();
        }
        if (observer) observer->onWritePiece(*this, bytes.data(), bytes.size());
        return bytes;
    };
    const int result = transport().writeFrom(count, piece, watched, afterPiece, sourceFailed_);
    if (observer) observer->onWriteEnd(*this, count, result);
    return result;
}

int CComm::WriteFromFile(platform::FileReader& file, std::uint64_t skip, std::size_t count, std::size_t piece,
                         const std::function<void(std::size_t written)>& afterPiece) {
    if (observer || count == 0) {
        std::vector<std::uint8_t> buffer;
        return WriteFromSource(count, piece, filePieces(file, skip, buffer), afterPiece);
    }
    sourceFailed_ = false;
    return transport().writeFile(file, skip, count, piece ? piece : count, afterPiece, sourceFailed_);
}

int CComm::WriteText(const std::string& text) {
    // The buffer is as long as the whole text converts to; an embedded NUL ends the text and
    // leaves the rest of the buffer zero.
    std::string bytes = platform::toCodePage(text);
    const auto nul = text.find('\0');
    if (nul != std::string::npos) {
        std::string head = platform::toCodePage(std::string_view(text).substr(0, nul));
        head.resize(bytes.size(), '\0');
        bytes = std::move(head);
    }
    return WriteBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace velmora::link
