// The system's print spooler in a build without libcups: there are no queues to switch.
#include "platform/spooler.h"

namespace velmora::platform {

PrintSpooler& systemSpooler() { return spoolerWithoutQueues(); }

}  // namespace velmora::platform
