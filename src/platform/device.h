// The one device interface every link kind implements (serial, parallel, USB printer class),
// and the socket interface of the Ethernet kind. The port object holds the rules (retries,
// reopen, keep-open); these classes only move bytes and report what the device can tell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::platform {

class FileReader;  // filereader.h

// What a serial device reports of its modem input lines. A pseudo-terminal, or an adapter
// without the lines, cannot tell: `known` is false and callers go on as if they were on.
struct ModemLines {
    bool known = false;
    bool cts = false;
    bool dsr = false;
};

// Serial parameters in the codes the port object stores: parity 0 none, 1 odd, 2 even;
// stopBits 0 one, 1 one and a half, 2 two.
struct SerialSettings {
    unsigned baudRate = 115200;
    int dataBits = 8;
    int parity = 0;
    int stopBits = 0;
};

// Parallel status byte in the layout the port object tests (a printer that is ready reads 0x80).
namespace parallel_status {
constexpr std::uint8_t kInit = 0x01;
constexpr std::uint8_t kAutoFeed = 0x02;
constexpr std::uint8_t kPaperEmpty = 0x04;
constexpr std::uint8_t kOffLine = 0x08;
constexpr std::uint8_t kPowerOff = 0x10;
constexpr std::uint8_t kNotConnected = 0x20;
constexpr std::uint8_t kBusy = 0x40;
constexpr std::uint8_t kSelected = 0x80;
}  // namespace parallel_status

// A device's time-outs, in the terms the port object sets them. A read of n bytes waits up to
// n × readMsPerByte + readConstantMs for all of them, and once bytes came, at most readIntervalMs
// (0: no limit) between two; with readIntervalMs at kReturnAtOnce and the other read terms 0 it
// returns at once with what is buffered. A write of n bytes may take n × writeMsPerByte +
// writeConstantMs; both 0 leave the device's own bound.
struct Timeouts {
    static constexpr unsigned kReturnAtOnce = 0xFFFFFFFFu;
    unsigned readIntervalMs = kReturnAtOnce;
    unsigned readMsPerByte = 0;
    unsigned readConstantMs = 0;
    unsigned writeMsPerByte = 0;
    unsigned writeConstantMs = 0;
    bool operator==(const Timeouts&) const = default;
};

class Device {
public:
    virtual ~Device() = default;

    // Opens `path` for reading and writing, exclusively. False when it cannot be opened.
    virtual bool open(const std::string& path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Writes up to n bytes within the device's write time-out; the count accepted, or -1 on error.
    virtual long write(const std::uint8_t* data, std::size_t n) = 0;
    // Returns at once with what is buffered (up to n bytes), unless time-outs set with setTimeouts
    // say to wait: the count, 0 when nothing, -1 on error.
    virtual long read(std::uint8_t* buf, std::size_t n) = 0;
    // Drops pending input and output.
    virtual bool purge() { return true; }

    // Serial only; other kinds accept and ignore.
    virtual ModemLines modemLines() { return {}; }
    virtual bool configure(const SerialSettings&) { return true; }
    // Write time-out as milliseconds per byte written; 0 means the port's own bound only.
    virtual bool setWriteTimeout(unsigned /*msPerByte*/) { return true; }
    // Serial only (a parallel or USB printer keeps its own bounds); other kinds accept and ignore.
    virtual bool setTimeouts(const Timeouts&) { return true; }
    // Waits, within the write time-out, until the bytes written have left the device; false when
    // some are still queued then. Devices that queue nothing return true at once.
    virtual bool drainOutput() { return true; }

    // Parallel (and USB printer class): the status byte, or nothing when it cannot be read.
    virtual std::optional<std::uint8_t> parallelStatus() { return std::nullopt; }

    // Why the last open failed, as an errno value (EACCES: the user may not open the device);
    // 0 when it did not fail or the device cannot tell.
    virtual int lastError() const { return 0; }
};

// A USB printer-class device the system offers: its interface path in the Windows form the
// matching reads ("\\?\usb#vid_xxxx&pid_xxxx#SERIAL#{28d78fad-...}") and the device node
// that opens it (/dev/usb/lpN).
struct UsbPrinterInterface {
    std::string path;
    std::string node;
};

// A TCP stream with bounded waits. Never raises SIGPIPE.
class StreamSocket {
public:
    enum class ConnectResult { Ok, CreateFailed, ConnectFailed };

    virtual ~StreamSocket() = default;
    virtual ConnectResult connect(const std::string& host, unsigned port, unsigned timeoutMs) = 0;
    // Sends all n bytes unless nothing moves for timeoutMs or the peer fails: the count sent, -1 on error
    // before anything was sent.
    virtual long send(const std::uint8_t* data, std::size_t n, unsigned timeoutMs) = 0;
    // Sends the n bytes of `file` at `offset` as send does; false from file.changed() afterwards
    // when the file was not as it was opened. This one reads them and sends them; a socket that
    // can send straight from the file does.
    virtual long sendFile(FileReader& file, std::uint64_t offset, std::size_t n, unsigned timeoutMs);
    // One receive of up to n bytes: the count, 0 when the peer closed or the wait ran out, -1 on error.
    virtual long receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) = 0;
    // True when the peer has reset or closed the connection (seen without waiting). Bytes a send
    // handed to the system are not delivered then.
    virtual bool peerGone() { return false; }
    // Why the last connect failed, as an errno: ECONNREFUSED, ETIMEDOUT (no answer within the
    // bound), EHOSTUNREACH (no address or no route) ...; 0 when it did not fail or nobody knows.
    virtual int connectError() const { return 0; }
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

// Where the port object gets its devices from: the real system, or a test double.
class DeviceFactory {
public:
    virtual ~DeviceFactory() = default;
    virtual std::unique_ptr<Device> makeSerial() = 0;
    virtual std::unique_ptr<Device> makeParallel() = 0;
    virtual std::unique_ptr<StreamSocket> makeSocket() = 0;
    // The USB printers present, in enumeration order. Which of them is a known model is the
    // port object's business.
    virtual std::vector<UsbPrinterInterface> usbPrinters() = 0;
    // A device that opens a USB printer's node.
    virtual std::unique_ptr<Device> makeUsb() = 0;
};

// The factory over the real operating system.
DeviceFactory& systemDevices();

}  // namespace velmora::platform
