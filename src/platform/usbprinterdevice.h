// A USB printer-class device through the kernel's usblp driver (/dev/usb/lpN): opened by one
// program at a time, writes bounded by a time-out, reads that return at once with what the
// printer has sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/device.h"

namespace velmora::platform {

class UsbPrinterDevice final : public Device {
public:
    // stallBoundMs: how long a write (and the close after it) waits while the printer takes
    // no bytes.
    explicit UsbPrinterDevice(unsigned stallBoundMs = 5000) : stallBoundMs_(stallBoundMs) {}
    ~UsbPrinterDevice() override;
    UsbPrinterDevice(const UsbPrinterDevice&) = delete;
    UsbPrinterDevice& operator=(const UsbPrinterDevice&) = delete;

    // Opens the node for reading and writing, not shared: a node another program holds (an
    // exclusive lock on it, or usblp's own one-opener rule) fails with EBUSY. lastError() says
    // why an open failed.
    bool open(const std::string& path) override;
    // Waits (bounded) until the last write has left: usblp drops a transfer still in flight
    // when its device is closed.
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }

    long write(const std::uint8_t* data, std::size_t n) override;
    long read(std::uint8_t* buf, std::size_t n) override;
    int lastError() const override { return lastError_; }

private:
    int fd_ = -1;
    int lastError_ = 0;
    bool wrote_ = false;
    unsigned stallBoundMs_;
};

}  // namespace velmora::platform
