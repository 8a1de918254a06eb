// A port object whose printer answers from a fuzz input: every write is taken whole, and each
// read returns the next reply the input holds. A reply is a length byte from the back of the
// input and then that many bytes from its front (255: the read fails), so replies of any length,
// none at all and failing reads all occur.
#pragma once

#include <memory>

#include "fuzzcheck.h"
#include "link/comm.h"
#include "platform/clock.h"
#include "platform/device.h"

namespace velmora::fuzz {

class FuzzLink final : public link::LinkMessages {
    class Factory;
    std::unique_ptr<Factory> factory_;  // first: the port object is built on it

  public:
    // An open serial link (COM1) on the input.
    FuzzLink(const std::uint8_t* data, std::size_t size);
    ~FuzzLink() override;

    void showMessage(int) override {}

    platform::TestClock clock;
    link::CComm comm;
};

}  // namespace velmora::fuzz
