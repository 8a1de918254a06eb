// Libraries that ship with the programs and are loaded only by the command that needs them (the
// label pictures bring Qt and libzint): beside the running program, as in the build tree, else in
// ../lib/velmora/ from it, as installed.
#pragma once

#include <string>

namespace velmora::platform {

// The address of `symbol` in the module `fileName` ("velmora-preview.so"); null with `error` set
// when the module is not there or lacks the symbol. A module once loaded stays loaded.
void* programModuleSymbol(const std::string& fileName, const char* symbol, std::string& error);

}  // namespace velmora::platform
