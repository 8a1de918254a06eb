// Connect handshake.
#include "app/handshake.h"

#include <array>

namespace velmora::app {

bool OpenAndHandshake(link::CComm& comm, platform::Clock& clock) {
    if (comm.Open()) {
        comm.WriteText("^cp\r");
        clock.sleepMs(kHandshakeWaitMs);
        std::array<std::uint8_t, 2> reply{};
        if (comm.ReadBytes(reply.data(), reply.size()) == 2) return true;
    }
    comm.Close();
    if (comm.kind == link::kEthernet) comm.CloseTcp();
    return false;
}

}  // namespace velmora::app
