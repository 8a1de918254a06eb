// Finding and loading a module of the programs.
#include "platform/module.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace velmora::platform {

void* programModuleSymbol(const std::string& fileName, const char* symbol, std::string& error) {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        error = "cannot find the running program: " + ec.message();
        return nullptr;
    }
    const std::filesystem::path dir = program.parent_path();
    for (const std::filesystem::path& candidate : {dir / fileName, dir.parent_path() / "lib" / "velmora" / fileName}) {
        if (!std::filesystem::exists(candidate, ec)) continue;
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            error = why ? why : "cannot load " + candidate.string();
            return nullptr;
        }
        if (void* address = dlsym(handle, symbol)) return address;
        error = candidate.string() + " has no " + symbol;
        return nullptr;
    }
    error = fileName + " is not installed beside " + program.string() + " nor in " +
            (dir.parent_path() / "lib" / "velmora").string();
    return nullptr;
}

}  // namespace velmora::platform
