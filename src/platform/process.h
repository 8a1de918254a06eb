// Facts about the running process that measurements need.
#pragma once

namespace velmora::platform {

// Resident memory of this process in KiB, or -1 when it cannot be read.
long residentMemoryKiB();

}  // namespace velmora::platform
