// The fuzz-fed device and the factory that hands it to the port object.
#include "fuzzlink.h"

#include <algorithm>
#include <cstring>

namespace velmora::fuzz {

namespace {

class FuzzDevice final : public platform::Device {
  public:
    explicit FuzzDevice(InputReader& input) : input_(input) {}

    bool open(const std::string&) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    long write(const std::uint8_t*, std::size_t n) override { return static_cast<long>(n); }
    long read(std::uint8_t* buf, std::size_t n) override {
        if (input_.empty()) return 0;
        const std::uint8_t length = input_.backByte();
        if (length == 255) return -1;
        const std::string_view reply = input_.front(std::min<std::size_t>(length, n));
        std::memcpy(buf, reply.data(), reply.size());
        return static_cast<long>(reply.size());
    }

  private:
    InputReader& input_;
    bool open_ = false;
};

}  // namespace

class FuzzLink::Factory final : public platform::DeviceFactory {
  public:
    Factory(const std::uint8_t* data, std::size_t size) : input(data, size) {}
    std::unique_ptr<platform::Device> makeSerial() override { return std::make_unique<FuzzDevice>(input); }
    std::unique_ptr<platform::Device> makeParallel() override { return makeSerial(); }
    std::unique_ptr<platform::StreamSocket> makeSocket() override { return nullptr; }
    std::vector<platform::UsbPrinterInterface> usbPrinters() override { return {}; }
    std::unique_ptr<platform::Device> makeUsb() override { return makeSerial(); }

    InputReader input;
};

FuzzLink::FuzzLink(const std::uint8_t* data, std::size_t size)
    : factory_(std::make_unique<Factory>(data, size)), comm(*factory_, clock, *this) {
    comm.portName = "COM1:";
    comm.portMap.set("COM1", "/dev/fuzz");
    comm.baudRate = 115200;
    fuzzCheck(comm.Open() != 0, "the fuzz link did not open");
}

FuzzLink::~FuzzLink() = default;

}  // namespace velmora::fuzz
