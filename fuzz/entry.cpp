// The libFuzzer entry of one fuzz target executable; VELMORA_FUZZ_TARGET names the target.
#include <cstdio>
#include <cstdlib>

#include "fuzztargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const velmora::fuzz::FuzzTarget* target = [] {
        const auto* found = velmora::fuzz::findFuzzTarget(VELMORA_FUZZ_TARGET);
        if (!found) {
            std::fprintf(stderr, "no fuzz target named %s\n", VELMORA_FUZZ_TARGET);
            std::abort();
        }
        return found;
    }();
    return target->run(data, size);
}
