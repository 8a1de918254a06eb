// A serial port through termios: raw 8-bit bytes, hardware (CTS/RTS) flow control, DTR and RTS
// on, reads that return at once with what is buffered, and writes bounded by a time-out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/device.h"

namespace velmora::platform {

// The write time-out the port object sets for a baud rate, in milliseconds per byte: 19200 / baud
// in whole milliseconds (2 at 9600, 1 at 19200, 0 at 38400 and above; 0 for a baud rate of 0).
unsigned writeTimeoutMsPerByte(unsigned baudRate);

class SerialDevice final : public Device {
public:
    SerialDevice() = default;
    ~SerialDevice() override;
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens a terminal device exclusively (TIOCEXCL); false for anything that is not a terminal.
    bool open(const std::string& path) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }

    // Writes within n × msPerByte milliseconds; with msPerByte 0 within max(2000, n) ms, so a
    // port whose flow control never releases cannot hang the program.
    long write(const std::uint8_t* data, std::size_t n) override;
    long read(std::uint8_t* buf, std::size_t n) override;
    bool purge() override;

    // CTS and DSR; `known` false when the device cannot report them (a pseudo-terminal).
    ModemLines modemLines() override;
    // Raw mode at the given speed, data bits, parity and stop bits, CTS/RTS flow control, DTR and
    // RTS on. False for a speed termios does not have, or settings the device refuses.
    bool configure(const SerialSettings& settings) override;
    bool setWriteTimeout(unsigned msPerByte) override;
    // Reads then wait for their bytes as the time-outs say; writes take the time-outs' bound.
    bool setTimeouts(const Timeouts& timeouts) override;
    // Lets queued output leave within the write bound for what is queued.
    bool drainOutput() override;

    int lastError() const override { return lastError_; }

private:
    int drainWhileMoving();
    std::uint64_t writeBoundMs(std::size_t n) const;
    int lastError_ = 0;
    int fd_ = -1;
    bool pseudoTerminal_ = false;  // no UART behind it: frame settings cannot apply
    Timeouts timeouts_;
};

}  // namespace velmora::platform
