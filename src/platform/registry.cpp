// The registry on Linux: there is none. Every key is missing, so the USB access grant finds
// nothing to widen, which its failure rule allows; device access is a matter of file
// permissions here (group lp, or a udev rule).
#include "platform/registry.h"

#include <unistd.h>

#include <array>

namespace velmora::platform {

namespace {

class NoRegistry final : public Registry {
public:
    long openKey(const std::string&, RegistryRoot, const std::string&, Key&) override {
        return win_error::kFileNotFound;
    }
    long queryValue(Key, const std::string&, std::string&) override { return win_error::kFileNotFound; }
    long enumSubkey(Key, unsigned, std::string&) override { return win_error::kNoMoreItems; }
    long mergeAccess(Key, const AccessEntry&) override { return win_error::kFileNotFound; }
    void closeKey(Key) override {}
    std::string computerName() override {
        std::array<char, 256> name{};
        if (gethostname(name.data(), name.size() - 1) != 0) return {};
        return name.data();
    }
};

}  // namespace

Registry& systemRegistry() {
    static NoRegistry registry;
    return registry;
}

}  // namespace velmora::platform
