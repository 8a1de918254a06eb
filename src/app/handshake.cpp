// Connect handshake.
#include "app/handshake.h"

#include <array>

namespace velmora::app {

bool Handshake(link::CComm& comm, platform::Clock& clock) {
    comm.BeginAction();
    if (!comm.WriteText("^cp\r")) return false;
    clock.sleepMs(kHandshakeWaitMs);
    std::array<std::uint8_t, 2> reply{};
    return comm.ReadBytes(reply.data(), reply.size()) == 2;
}

bool OpenAndHandshake(link::CComm& comm, platform::Clock& clock) {
    if (comm.Open()) {
        if (comm.traits().reopensPerTransfer) comm.Close();  // it stays closed between transfers
        if (Handshake(comm, clock)) return true;
    }
    comm.Close();
    comm.CloseTcp();  // a connection made for the check ends with it
    return false;
}

}  // namespace velmora::app
