// The port object: open by port name, writes with bounded retries, reads with three attempts,
// and the per-kind transfer rule (USB reopened around each transfer unless keep-open; Ethernet
// reusing the connection made at connect time; serial and parallel open until disconnect).
#include "link/comm.h"

#include <algorithm>
#include <vector>

#include "link/registryaccess.h"
#include "link/usbprinter.h"
#include "platform/codepage.h"
#include "platform/osversion.h"
#include "resources/messages.h"

namespace velmora::link {

namespace {
constexpr unsigned kSerialSettleMs = 100;
constexpr unsigned kRetryPauseMs = 10;
constexpr unsigned kReadPauseMs = 1;
constexpr int kWriteRetries = 3;
constexpr int kReadAttempts = 3;
constexpr std::size_t kEthernetReadMax = 32;
constexpr std::uint8_t kParallelReady = platform::parallel_status::kSelected;

// Milliseconds per byte by baud rate: 2 at 9600, 1 at 19200, 0 (the port's own bound) above.
unsigned openWriteMsPerByte(unsigned baudRate) { return baudRate ? 19200 / baudRate : 0; }
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

bool CComm::isOpen() const { return kind == kEthernet ? socket.connected : handle_ != nullptr; }

int CComm::Open() {
    Close();
    openFailure_ = {};
    if (portName.compare(0, 3, "COM") == 0) {
        kind = kSerial;
        return OpenSerial();
    }
    if (portName.compare(0, 3, "LPT") == 0) {
        kind = kParallel;
        return OpenParallel();
    }
    if (portName == "USB") {
        kind = kUsb;
        return OpenUsb();
    }
    if (portName.compare(0, 8, "ETHERNET") == 0) {
        kind = kEthernet;
        if (socket.ConnectIfNeeded()) return 1;
        openFailure_ = {socket.address + ":" + std::to_string(socket.port), socket.connectError()};
        return 0;
    }
    return 0;
}

int CComm::OpenSerial() {
    if (handle_) handle_->close();
    handle_.reset();
    auto device = devices_.makeSerial();
    if (!device) return 0;
    if (!device->open(portMap.devicePath(portName))) {
        openFailure_ = {portMap.devicePath(portName), device->lastError()};
        return 0;
    }
    handle_ = std::move(device);

    // A port that is not ready is let go again at once: it must not stay held, exclusively,
    // until the next open or close.
    auto fail = [this] {
        handle_->close();
        handle_.reset();
        return 0;
    };
    clock_.sleepMs(kSerialSettleMs);
    const platform::ModemLines lines = handle_->modemLines();
    // A port that cannot report its lines (a pseudo-terminal) is taken as ready.
    if (lines.known && !(lines.cts && lines.dsr)) return fail();

    clock_.sleepMs(kSerialSettleMs);
    if (!handle_->configure({baudRate, dataBits, parity, stopBits})) return fail();
    if (!handle_->setWriteTimeout(openWriteMsPerByte(baudRate))) return fail();
    handle_->purge();
    return 1;
}

int CComm::OpenParallel() {
    if (handle_) handle_->close();
    handle_.reset();
    auto device = devices_.makeParallel();
    if (!device) return 0;
    if (!device->open(portMap.devicePath(portName))) {
        openFailure_ = {portMap.devicePath(portName), device->lastError()};
        return 0;
    }
    if (!legacyWindows) {
        const auto status = device->parallelStatus();
        if (!status || *status != kParallelReady) {
            device->close();
            return 0;
        }
    }
    handle_ = std::move(device);
    handle_->purge();
    return 1;
}

int CComm::OpenUsb() {
    if (!UsbSupportedByWindows(platform::osVersion())) return 0;
    if (handle_) handle_->close();
    handle_.reset();
    UsbSearch search{legacyWindows, catalogProductIds, devicePath, modelIndex, {}, 0};
    // The device the search opened is the link. (Windows closes that probe and opens the
    // printer again through another name, without sharing; a device node needs no second name,
    // and the search's own open is already exclusive.)
    handle_ = FindUsbPrinter(devices_, *registry, search);
    devicePath = search.devicePath;
    modelIndex = search.modelIndex;
    if (!handle_) {
        openFailure_ = {search.refusedNode, search.refusedError};
        return 0;
    }
    GrantUsbPrintKeyAccess(*registry, modelIndex);
    return 1;
}

void CComm::Close() {
    if (!handle_) return;
    if (kind == kSerial || kind == kParallel) handle_->purge();
    handle_->close();
    handle_.reset();
}

void CComm::CloseTcp() { socket.Close(); }

bool CComm::SetTimeouts(const platform::Timeouts& timeouts) {
    return handle_ ? handle_->setTimeouts(timeouts) : true;
}

void CComm::RestoreTimeouts() {
    if (handle_ && kind == kSerial) handle_->setWriteTimeout(openWriteMsPerByte(baudRate));
}

bool CComm::DrainOutput() { return handle_ ? handle_->drainOutput() : true; }

int CComm::writeDevice(const std::uint8_t* data, std::size_t count) {
    auto attempt = [&](std::size_t offset, std::size_t n) -> long {
        return handle_ ? handle_->write(data + offset, n) : -1;
    };
    long first = attempt(0, count);
    if (first == static_cast<long>(count)) return 1;

    std::size_t written = first > 0 ? static_cast<std::size_t>(first) : 0;
    for (int retry = 0; retry < kWriteRetries; ++retry) {
        const std::size_t remaining = count - written;
        clock_.sleepMs(kRetryPauseMs);
        const long n = attempt(written, remaining);
        if (n == static_cast<long>(remaining)) return 1;
        if (n > 0) written += static_cast<std::size_t>(n);
    }
    // The link is gone or stuck: tell the user and let the caller fail, instead of ending the
    // program (which would leave the printer queues switched away).
    messages_->showMessage(msg::kPortError);
    return 0;
}

int CComm::WriteBytes(const std::uint8_t* data, std::size_t count) {
    if (observer) observer->beforeWrite(*this);
    const int result = sendBytes(data, count);
    if (observer) observer->onWrite(*this, data, count, result);
    return result;
}

int CComm::ReadBytes(std::uint8_t* buf, std::size_t count) {
    const int got = receiveBytes(buf, count);
    if (observer) observer->onRead(*this, buf, got);
    return got;
}

std::string CComm::linkName() const {
    if (kind == kEthernet) return "ETHERNET " + socket.address + ":" + std::to_string(socket.port);
    if (kind == kUsb) return "USB " + devicePath;
    return portName + " " + portMap.devicePath(portName);
}

int CComm::sendBytes(const std::uint8_t* data, std::size_t count) {
    if (kind == kEthernet) {
        if (!Open()) return 0;
        const int sent = socket.SendAll(data, count);
        if (sent == 0 && count > 0) messages_->showMessage(msg::kPortError);
        return sent;
    }
    const bool reopen = reopensPerTransfer();
    if (reopen) Open();
    const int result = writeDevice(data, count);
    if (reopen) Close();
    return result;
}

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
    const int result = sendFromSource(count, piece, watched, afterPiece);
    if (observer) observer->onWriteEnd(*this, count, result);
    return result;
}

int CComm::sendFromSource(std::size_t count, std::size_t piece, const PieceSource& source,
                          const std::function<void(std::size_t written)>& afterPiece) {
    if (kind == kEthernet) {
        if (!Open()) return 0;
        const int sent = socket.SendFrom(count, piece, source, afterPiece);
        if (sent == 0 && !sourceFailed_) messages_->showMessage(msg::kPortError);
        return sent;
    }
    const bool reopen = reopensPerTransfer();
    if (reopen) Open();
    int result = 1;
    for (std::size_t done = 0; done < count && result;) {
        const std::size_t n = std::min(piece, count - done);
        const std::span<const std::uint8_t> bytes = source(done, n);
        result = bytes.size() == n ? writeDevice(bytes.data(), n) : 0;
        done += n;
        if (result && afterPiece) afterPiece(done);
    }
    if (reopen) Close();
    return result;
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

int CComm::receiveBytes(std::uint8_t* buf, std::size_t count) {
    if (kind == kEthernet) {
        Open();
        return socket.Receive(buf, std::min(count, kEthernetReadMax));
    }
    const bool reopen = reopensPerTransfer();
    if (reopen) Open();
    long last = 0;
    for (int i = 0; i < kReadAttempts; ++i) {
        last = handle_ ? handle_->read(buf, count) : -1;
        clock_.sleepMs(kReadPauseMs);
        if (last >= 1) break;
    }
    if (kind == kSerial && last < 0) messages_->showMessage(msg::kSerialPortError);
    if (reopen) Close();
    return last > 0 ? static_cast<int>(last) : 0;
}

}  // namespace velmora::link
