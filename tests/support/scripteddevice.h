// Devices whose behaviour a test scripts: how much each write accepts, what each read returns,
// whether opening works, what the modem lines and parallel status say. They record every call.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/device.h"

namespace velmora::testing {

// The interface path of a USB printer of a known model code (from the USB model table).
std::string usbPathOfModel(int modelCode, const std::string& serial = "SN0001");

struct LinkScript {
    int opens = 0;
    int closes = 0;
    int purges = 0;
    std::vector<std::string> openedPaths;
    std::vector<std::string> writes;  // bytes accepted by each write call
    std::vector<std::size_t> writeSizes;  // bytes offered to each write call
    int reads = 0;
    std::optional<platform::SerialSettings> settings;
    std::optional<unsigned> writeTimeoutMsPerByte;
    std::vector<platform::Timeouts> timeouts;  // each setTimeouts, in order
    int drains = 0;
    std::string written() const;  // all accepted bytes

    // The script, shared by every device the factory makes (USB reopens make new ones).
    bool openFails = false;
    std::map<std::string, int> refusedPaths;  // a path whose open fails, with its errno
    bool configureFails = false;
    platform::ModemLines lines;
    std::optional<std::uint8_t> status = platform::parallel_status::kSelected;
    // Each write accepts the next scripted count (-1 = the call fails); all of it when none is left.
    std::deque<long> writeScript;
    // Each read returns the next scripted reply ("" = nothing, nullopt = the call fails).
    std::deque<std::optional<std::string>> readScript;
};

class ScriptedDevice : public platform::Device {
public:
    explicit ScriptedDevice(LinkScript& log) : log_(log) {}

    bool open(const std::string& path) override;
    void close() override;
    bool isOpen() const override { return open_; }
    long write(const std::uint8_t* data, std::size_t n) override;
    long read(std::uint8_t* buf, std::size_t n) override;
    bool purge() override;
    platform::ModemLines modemLines() override { return log_.lines; }
    bool configure(const platform::SerialSettings& s) override;
    bool setWriteTimeout(unsigned msPerByte) override;
    bool setTimeouts(const platform::Timeouts& t) override;
    bool drainOutput() override;
    std::optional<std::uint8_t> parallelStatus() override { return log_.status; }
    int lastError() const override { return lastError_; }

private:
    LinkScript& log_;
    bool open_ = false;
    int lastError_ = 0;
};

class ScriptedSocket : public platform::StreamSocket {
public:
    explicit ScriptedSocket(LinkScript& log) : log_(log) {}
    ConnectResult connect(const std::string& host, unsigned port, unsigned timeoutMs) override;
    long send(const std::uint8_t* data, std::size_t n, unsigned timeoutMs) override;
    long receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) override;
    void close() override;
    bool isOpen() const override { return open_; }
    int connectError() const override { return connectResult == ConnectResult::Ok ? 0 : connectErrno; }

    ConnectResult connectResult = ConnectResult::Ok;
    int connectErrno = 0;  // why a failed connect failed
    std::deque<long> sendScript;  // -1 = error; all of it when none is left
    std::deque<std::optional<std::string>> receiveScript;  // nullopt = error; "" = closed/silent
    std::vector<std::size_t> receiveSizes;  // size asked of each receive

private:
    LinkScript& log_;
    bool open_ = false;
};

// Hands out scripted devices; `prepare` lets a test script each one as it is made.
class ScriptedFactory : public platform::DeviceFactory {
public:
    std::unique_ptr<platform::Device> makeSerial() override;
    std::unique_ptr<platform::Device> makeParallel() override;
    std::unique_ptr<platform::StreamSocket> makeSocket() override;
    std::vector<platform::UsbPrinterInterface> usbPrinters() override;
    std::unique_ptr<platform::Device> makeUsb() override { return makeSerial(); }

    LinkScript script;
    // Unless usbList says otherwise, one USB printer is present: of model usbModel, at /dev/usb/lp0.
    int usbModel = 5;
    bool usbPresent = true;
    std::vector<platform::UsbPrinterInterface> usbList;  // the USB printers present, in order
    int socketsMade = 0;
    std::function<void(ScriptedSocket&)> prepareSocket;
};

}  // namespace velmora::testing
