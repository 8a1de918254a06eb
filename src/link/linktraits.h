// What each kind of link means for the tools, in one table: the port object, the tools, the
// window and the command line ask it instead of testing the kind themselves.
#pragma once

#include <cstdint>

#include "platform/deviceaccess.h"

namespace velmora::link {

enum InterfaceKind : std::int32_t { kSerial = 0, kParallel = 1, kUsb = 2, kEthernet = 3 };

struct LinkTraits {
    // Opened around each transfer (unless the port object is kept open) and closed between.
    bool reopensPerTransfer;
    // A file goes in chunks, each its own write; false: one write (let go in pieces), one pause.
    bool writesInChunks;
    // The digit a native switch read names for its reply: the printer answers on that port.
    char replyDigit;
    // The command tester and the communication window close the link when they end.
    bool closesAfterTool;
    // A network link: the sensing calibration and the printer's diagnostics are not offered on it.
    bool network;
    // Milliseconds the sensor sampling takes per dot row of the label: the reply's pace on this link.
    unsigned samplingMsPerRow;
    // A port with print queues of its own, switched away while Velmora is connected.
    bool hasPrintQueues;
    // A long reply is read in small pieces with a pause after each.
    bool readsInPieces;
    // What the device is to the system, for the advice when it cannot be opened.
    platform::DeviceUse deviceUse;
};

const LinkTraits& linkTraits(InterfaceKind kind);

}  // namespace velmora::link
