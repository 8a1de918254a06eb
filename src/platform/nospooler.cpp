// A spooler with no queues: the system spooler of a build without libcups, and the one used
// where switching real queues would be wrong (drawing the main window's pictures).
#include "platform/spooler.h"

namespace velmora::platform {

namespace {
class NoSpooler final : public PrintSpooler {
public:
    std::vector<Queue> enumerate() override { return {}; }
    std::optional<Handle> open(const std::string&) override { return std::nullopt; }
    SizeResult querySize(Handle, std::size_t&) override { return SizeResult::Failed; }
    std::optional<Queue> read(Handle) override { return std::nullopt; }
    bool write(Handle, const Queue&) override { return false; }
    void close(Handle) override {}
};
}  // namespace

PrintSpooler& spoolerWithoutQueues() {
    static NoSpooler spooler;
    return spooler;
}

}  // namespace velmora::platform
