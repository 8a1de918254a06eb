// The connect handshake: a status query whose two-byte answer proves that a printer is there.
#pragma once

#include "link/comm.h"
#include "platform/clock.h"

namespace velmora::app {
constexpr unsigned kHandshakeWaitMs = 50;

// "^cp" CR, a 50 ms pause and a 2-byte read: true when exactly two bytes came back. The content
// is not examined.
bool Handshake(link::CComm& comm, platform::Clock& clock);

// Opens the link and runs the handshake. On failure the link is closed again (the TCP
// connection too) and false is returned; the caller shows message 216.
bool OpenAndHandshake(link::CComm& comm, platform::Clock& clock);

}  // namespace velmora::app
