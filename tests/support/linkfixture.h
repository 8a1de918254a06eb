// A port object over scripted devices with a test clock and recorded messages.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/comm.h"
#include "platform/clock.h"
#include "support/scripteddevice.h"

namespace velmora::testing {

class RecordingMessages : public link::LinkMessages {
public:
    void showMessage(int id) override { shown.push_back(id); }
    std::vector<int> shown;
};

struct ScriptedLink {
    ScriptedFactory factory;
    platform::TestClock clock;
    RecordingMessages messages;
    link::CComm comm{factory, clock, messages};
    LinkScript& script = factory.script;

    ScriptedLink() { comm.portMap.set("COM1", "/dev/ttyS0"); }
    // Writes text and returns the port object's result.
    int write(const std::string& text) { return comm.WriteText(text); }
    std::string read(std::size_t n) {
        std::string buf(n, '\0');
        const int got = comm.ReadBytes(reinterpret_cast<std::uint8_t*>(buf.data()), n);
        buf.resize(got > 0 ? got : 0);
        return buf;
    }
};

}  // namespace velmora::testing
