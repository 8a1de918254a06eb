// The table of link kinds.
#include "link/linktraits.h"

namespace velmora::link {

const LinkTraits& linkTraits(InterfaceKind kind) {
    using platform::DeviceUse;
    //                                  reopens chunks digit  closes network ms/row queues pieces use
    static const LinkTraits kSerialLink{false, true, '1', false, false, 4, true, false, DeviceUse::SerialPort};
    static const LinkTraits kParallelLink{false, true, '2', false, false, 6, true, false, DeviceUse::Printer};
    static const LinkTraits kUsbLink{true, true, '3', true, false, 6, false, true, DeviceUse::Printer};
    static const LinkTraits kEthernetLink{false, false, '2', true, true, 2, false, false, DeviceUse::Printer};
    switch (kind) {
        case kParallel:
            return kParallelLink;
        case kUsb:
            return kUsbLink;
        case kEthernet:
            return kEthernetLink;
        case kSerial:
            break;
    }
    return kSerialLink;
}

}  // namespace velmora::link
