// A parallel printer port through the Linux lp driver (/dev/lpN): writes bounded by a time-out,
// reads that return at once, and the port's status lines as the parallel status byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/device.h"

namespace velmora::platform {

// The lp driver's status (LPGETSTATUS: LP_PBUSY, LP_PSELECD, ...) as the parallel status byte
// of device.h. A selected printer that is neither busy, out of paper nor in error reads 0x80.
std::uint8_t parallelStatusFromLp(int lpStatus);

class ParallelDevice final : public Device {
public:
    // writeBoundMs: how long a write may wait for the printer to take bytes.
    explicit ParallelDevice(unsigned writeBoundMs = 5000) : writeBoundMs_(writeBoundMs) {}
    ~ParallelDevice() override;
    ParallelDevice(const ParallelDevice&) = delete;
    ParallelDevice& operator=(const ParallelDevice&) = delete;

    // Opens without waiting for the printer (the driver shares a port with nobody).
    bool open(const std::string& path) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }

    long write(const std::uint8_t* data, std::size_t n) override;
    long read(std::uint8_t* buf, std::size_t n) override;
    // The status byte; nothing when the device cannot report it.
    std::optional<std::uint8_t> parallelStatus() override;

    int lastError() const override { return lastError_; }

private:
    int lastError_ = 0;
    int fd_ = -1;
    unsigned writeBoundMs_;
};

}  // namespace velmora::platform
