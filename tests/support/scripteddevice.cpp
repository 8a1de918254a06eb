// Scripted devices for link tests.
#include "support/scripteddevice.h"

#include <algorithm>
#include <cstring>

#include "link/usbprinter.h"
#include "platform/usbdiscovery.h"

namespace velmora::testing {

std::string LinkScript::written() const {
    std::string all;
    for (const auto& w : writes) all += w;
    return all;
}

bool ScriptedDevice::open(const std::string& path) {
    log_.openedPaths.push_back(path);
    lastError_ = 0;
    if (const auto refused = log_.refusedPaths.find(path); refused != log_.refusedPaths.end()) {
        lastError_ = refused->second;
        return false;
    }
    if (log_.openFails) return false;
    ++log_.opens;
    open_ = true;
    return true;
}

void ScriptedDevice::close() {
    if (!open_) return;
    ++log_.closes;
    open_ = false;
}

long ScriptedDevice::write(const std::uint8_t* data, std::size_t n) {
    log_.writeSizes.push_back(n);
    long accept = static_cast<long>(n);
    if (!log_.writeScript.empty()) {
        accept = std::min<long>(log_.writeScript.front(), static_cast<long>(n));
        log_.writeScript.pop_front();
    }
    if (!open_) accept = -1;
    log_.writes.emplace_back(reinterpret_cast<const char*>(data), accept > 0 ? accept : 0);
    return accept;
}

long ScriptedDevice::read(std::uint8_t* buf, std::size_t n) {
    ++log_.reads;
    if (!open_) return -1;
    if (log_.readScript.empty()) return 0;
    auto r = log_.readScript.front();
    log_.readScript.pop_front();
    if (!r) return -1;
    const std::size_t k = std::min(n, r->size());
    std::memcpy(buf, r->data(), k);
    if (k < r->size()) log_.readScript.push_front(r->substr(k));
    return static_cast<long>(k);
}

bool ScriptedDevice::purge() {
    ++log_.purges;
    return true;
}

bool ScriptedDevice::configure(const platform::SerialSettings& s) {
    log_.settings = s;
    return !log_.configureFails;
}

bool ScriptedDevice::setWriteTimeout(unsigned msPerByte) {
    log_.writeTimeoutMsPerByte = msPerByte;
    return true;
}

bool ScriptedDevice::setTimeouts(const platform::Timeouts& t) {
    log_.timeouts.push_back(t);
    return true;
}

bool ScriptedDevice::drainOutput() {
    ++log_.drains;
    return true;
}

platform::StreamSocket::ConnectResult ScriptedSocket::connect(const std::string& host, unsigned port, unsigned) {
    log_.openedPaths.push_back(host + ":" + std::to_string(port));
    if (connectResult == ConnectResult::Ok) {
        ++log_.opens;
        open_ = true;
    }
    return connectResult;
}

long ScriptedSocket::send(const std::uint8_t* data, std::size_t n, unsigned) {
    log_.writeSizes.push_back(n);
    long accept = static_cast<long>(n);
    if (!sendScript.empty()) {
        accept = std::min<long>(sendScript.front(), static_cast<long>(n));
        sendScript.pop_front();
    }
    log_.writes.emplace_back(reinterpret_cast<const char*>(data), accept > 0 ? accept : 0);
    return accept;
}

long ScriptedSocket::receive(std::uint8_t* buf, std::size_t n, unsigned) {
    ++log_.reads;
    receiveSizes.push_back(n);
    if (receiveScript.empty()) return 0;
    auto r = receiveScript.front();
    receiveScript.pop_front();
    if (!r) return -1;
    const std::size_t k = std::min(n, r->size());
    std::memcpy(buf, r->data(), k);
    if (k < r->size()) receiveScript.push_front(r->substr(k));
    return static_cast<long>(k);
}

void ScriptedSocket::close() {
    if (!open_) return;
    ++log_.closes;
    open_ = false;
}

std::unique_ptr<platform::Device> ScriptedFactory::makeSerial() {
    return std::make_unique<ScriptedDevice>(script);
}

std::unique_ptr<platform::Device> ScriptedFactory::makeParallel() { return makeSerial(); }

std::unique_ptr<platform::StreamSocket> ScriptedFactory::makeSocket() {
    ++socketsMade;
    auto s = std::make_unique<ScriptedSocket>(script);
    if (prepareSocket) prepareSocket(*s);
    return s;
}

std::vector<platform::UsbPrinterInterface> ScriptedFactory::usbPrinters() {
    if (!usbPresent) return {};
    if (!usbList.empty()) return usbList;
    return {{usbPathOfModel(usbModel), "/dev/usb/lp0"}};
}

std::string usbPathOfModel(int modelCode, const std::string& serial) {
    for (const auto& entry : link::UsbModelTable)
        if (entry.modelCode == modelCode)
            return std::string("\\\\?\\usb#") + entry.ids + "#" + serial + "#" + platform::kUsbPrinterInterfaceClass;
    return {};
}

}  // namespace velmora::testing
