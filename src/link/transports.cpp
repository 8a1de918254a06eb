// The transports: serial, parallel and USB devices written with bounded retries and read with
// three attempts (USB reopened around each transfer unless kept open), and the TCP connection
// made at connect time and reused, each write one send with one pause after it.
#include "link/transport.h"

#include <algorithm>

#include "link/comm.h"
#include "link/registryaccess.h"
#include "link/usbprinter.h"
#include "platform/osversion.h"
#include "resources/messages.h"

namespace velmora::link {

std::function<std::span<const std::uint8_t>(std::size_t offset, std::size_t n)> filePieces(
    platform::FileReader& file, std::uint64_t skip, std::vector<std::uint8_t>& buffer) {
    return [&file, skip, &buffer](std::size_t offset, std::size_t n) {
        buffer.resize(n);
        if (!file.read(skip + offset, buffer.data(), n)) return std::span<const std::uint8_t>();
        return std::span<const std::uint8_t>(buffer.data(), n);
    };
}

int Transport::writeFile(platform::FileReader& file, std::uint64_t skip, std::size_t count, std::size_t piece,
                         const AfterPiece& afterPiece, bool& sourceFailed) {
    std::vector<std::uint8_t> buffer;
    const auto read = filePieces(file, skip, buffer);
    return writeFrom(count, piece, [&](std::size_t offset, std::size_t n) {
        const auto bytes = read(offset, n);
        if (bytes.size() != n) sourceFailed = true;
        return bytes;
    }, afterPiece, sourceFailed);
}

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

// Serial, parallel and USB: one device node, open until closed.
class DeviceTransport : public Transport {
public:
    DeviceTransport(CComm& comm, OpenFailure& failure) : comm_(comm), failure_(failure) {}

    void close() override {
        if (!handle_) return;
        if (purgesOnClose()) handle_->purge();
        handle_->close();
        handle_.reset();
    }
    bool isOpen() const override { return handle_ != nullptr; }
    platform::Device* device() const override { return handle_.get(); }
    std::string name() const override { return comm_.portName + " " + comm_.portMap.devicePath(comm_.portName); }

    int write(const std::uint8_t* data, std::size_t count) override {
        const bool reopen = reopensPerTransfer();
        if (reopen) reopenForTransfer();
        const int result = writeDevice(data, count);
        if (reopen) close();
        return result;
    }

    int writeFrom(std::size_t count, std::size_t piece, const PieceSource& source, const AfterPiece& afterPiece,
                  const bool&) override {
        const bool reopen = reopensPerTransfer();
        if (reopen) reopenForTransfer();
        int result = 1;
        for (std::size_t done = 0; done < count && result;) {
            const std::size_t n = std::min(piece, count - done);
            const std::span<const std::uint8_t> bytes = source(done, n);
            result = bytes.size() == n ? writeDevice(bytes.data(), n) : 0;
            done += n;
            if (result && afterPiece) afterPiece(done);
        }
        if (reopen) close();
        return result;
    }

    int read(std::uint8_t* buf, std::size_t count) override {
        const bool reopen = reopensPerTransfer();
        if (reopen) reopenForTransfer();
        long last = 0;
        for (int i = 0; i < kReadAttempts; ++i) {
            last = handle_ ? handle_->read(buf, count) : -1;
            comm_.clock().sleepMs(kReadPauseMs);
            if (last >= 1) break;
        }
        if (last < 0) readFailed();
        if (reopen) close();
        return last > 0 ? static_cast<int>(last) : 0;
    }

protected:
    virtual bool purgesOnClose() const { return true; }
    virtual bool reopensPerTransfer() const { return false; }
    virtual void readFailed() {}
    // Lets the device go without a purge (an open starts from nothing).
    void dropHandle() {
        if (handle_) handle_->close();
        handle_.reset();
    }
    void reopenForTransfer() {
        close();
        failure_ = {};
        open();
    }
    // The device of `path` from `make`, open; null (and the failure noted) when it would not open.
    std::unique_ptr<platform::Device> openDevice(std::unique_ptr<platform::Device> device, const std::string& path) {
        if (!device) return nullptr;
        if (!device->open(path)) {
            failure_ = {path, device->lastError()};
            return nullptr;
        }
        return device;
    }

    CComm& comm_;
    OpenFailure& failure_;
    std::unique_ptr<platform::Device> handle_;

private:
    int writeDevice(const std::uint8_t* data, std::size_t count) {
        auto attempt = [&](std::size_t offset, std::size_t n) -> long {
            return handle_ ? handle_->write(data + offset, n) : -1;
        };
        const long first = attempt(0, count);
        if (first == static_cast<long>(count)) return 1;

        std::size_t written = first > 0 ? static_cast<std::size_t>(first) : 0;
        for (int retry = 0; retry < kWriteRetries; ++retry) {
            const std::size_t remaining = count - written;
            comm_.clock().sleepMs(kRetryPauseMs);
            const long n = attempt(written, remaining);
            if (n == static_cast<long>(remaining)) return 1;
            if (n > 0) written += static_cast<std::size_t>(n);
        }
        // The link is gone or stuck: tell the user and let the caller fail, instead of ending the
        // program (which would leave the printer queues switched away).
        comm_.messages().showMessage(msg::kPortError);
        return 0;
    }
};

class SerialTransport final : public DeviceTransport {
public:
    using DeviceTransport::DeviceTransport;

    int open() override {
        dropHandle();
        const std::string path = comm_.portMap.devicePath(comm_.portName);
        handle_ = openDevice(comm_.devices().makeSerial(), path);
        if (!handle_) return 0;
        // A port that is not ready is let go again at once: it must not stay held, exclusively,
        // until the next open or close.
        auto fail = [this] {
            handle_->close();
            handle_.reset();
            return 0;
        };
        platform::Clock& clock = comm_.clock();
        clock.sleepMs(kSerialSettleMs);
        const platform::ModemLines lines = handle_->modemLines();
        // A port that cannot report its lines (a pseudo-terminal) is taken as ready.
        if (lines.known && !(lines.cts && lines.dsr)) return fail();

        clock.sleepMs(kSerialSettleMs);
        if (!handle_->configure({comm_.baudRate, comm_.dataBits, comm_.parity, comm_.stopBits})) return fail();
        if (!handle_->setWriteTimeout(openWriteMsPerByte(comm_.baudRate))) return fail();
        handle_->purge();
        return 1;
    }
    void restoreTimeouts() override {
        if (handle_) handle_->setWriteTimeout(openWriteMsPerByte(comm_.baudRate));
    }

private:
    void readFailed() override { comm_.messages().showMessage(msg::kSerialPortError); }
};

class ParallelTransport final : public DeviceTransport {
public:
    using DeviceTransport::DeviceTransport;

    int open() override {
        dropHandle();
        auto device = openDevice(comm_.devices().makeParallel(), comm_.portMap.devicePath(comm_.portName));
        if (!device) return 0;
        if (!comm_.legacyWindows) {
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
};

class UsbTransport final : public DeviceTransport {
public:
    using DeviceTransport::DeviceTransport;

    int open() override {
        if (!UsbSupportedByWindows(platform::osVersion())) return 0;
        dropHandle();
        UsbSearch search{comm_.legacyWindows, comm_.catalogProductIds, comm_.devicePath, comm_.modelIndex, {}, 0};
        // The device the search opened is the link. (Windows closes that probe and opens the
        // printer again through another name, without sharing; a device node needs no second
        // name, and the search's own open is already exclusive.)
        handle_ = FindUsbPrinter(comm_.devices(), *comm_.registry, search);
        comm_.devicePath = search.devicePath;
        comm_.modelIndex = search.modelIndex;
        if (!handle_) {
            failure_ = {search.refusedNode, search.refusedError};
            return 0;
        }
        GrantUsbPrintKeyAccess(*comm_.registry, comm_.modelIndex);
        return 1;
    }
    std::string name() const override { return "USB " + comm_.devicePath; }

private:
    bool purgesOnClose() const override { return false; }
    bool reopensPerTransfer() const override { return !comm_.keepOpen; }
};

// The TCP connection: made when the link opens, checked before each transfer, kept until
// CloseTcp.
class TcpTransport final : public Transport {
public:
    TcpTransport(CComm& comm, OpenFailure& failure) : comm_(comm), failure_(failure) {}

    int open() override {
        if (comm_.socket.ConnectIfNeeded()) return 1;
        failure_ = {comm_.socket.address + ":" + std::to_string(comm_.socket.port), comm_.socket.connectError()};
        return 0;
    }
    void close() override {}
    bool isOpen() const override { return comm_.socket.connected; }
    std::string name() const override {
        return "ETHERNET " + comm_.socket.address + ":" + std::to_string(comm_.socket.port);
    }

    int write(const std::uint8_t* data, std::size_t count) override {
        if (!connect()) return 0;
        const int sent = comm_.socket.SendAll(data, count);
        if (sent == 0 && count > 0) comm_.messages().showMessage(msg::kPortError);
        return sent;
    }
    int writeFrom(std::size_t count, std::size_t piece, const PieceSource& source, const AfterPiece& afterPiece,
                  const bool& sourceFailed) override {
        if (!connect()) return 0;
        const int sent = comm_.socket.SendFrom(count, piece, source, afterPiece);
        if (sent == 0 && !sourceFailed) comm_.messages().showMessage(msg::kPortError);
        return sent;
    }
    int writeFile(platform::FileReader& file, std::uint64_t skip, std::size_t count, std::size_t piece,
                  const AfterPiece& afterPiece, bool& sourceFailed) override {
        if (!connect()) return 0;
        const int sent = comm_.socket.SendFile(file, skip, count, piece, afterPiece, sourceFailed);
        if (sent == 0 && !sourceFailed) comm_.messages().showMessage(msg::kPortError);
        return sent;
    }
    int read(std::uint8_t* buf, std::size_t count) override {
        connect();
        return comm_.socket.Receive(buf, std::min(count, kEthernetReadMax));
    }

private:
    // A connection the printer dropped is made again before the transfer.
    int connect() {
        failure_ = {};
        return open();
    }

    CComm& comm_;
    OpenFailure& failure_;
};

}  // namespace

std::unique_ptr<Transport> makeTransport(CComm& comm, OpenFailure& failure) {
    switch (comm.kind) {
        case kParallel:
            return std::make_unique<ParallelTransport>(comm, failure);
        case kUsb:
            return std::make_unique<UsbTransport>(comm, failure);
        case kEthernet:
            return std::make_unique<TcpTransport>(comm, failure);
        case kSerial:
            break;
    }
    return std::make_unique<SerialTransport>(comm, failure);
}

}  // namespace velmora::link
