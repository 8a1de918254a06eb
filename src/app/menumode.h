// The menu mode chosen at start-up: 0 the native menu view and tab set, 1 the ZII ones. Tools
// that differ by mode test it. Fixed before the main dialog exists; nothing changes it later.
#pragma once

namespace velmora::app {

inline int MenuMode = 1;

}  // namespace velmora::app
