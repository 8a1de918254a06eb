// The fuzz targets: each takes one input of any bytes, drives a real entry point of the program
// with it, checks what must hold whatever the input, and returns 0. A violated check aborts, so
// libFuzzer and the replay test both see it as a crash.
//
// The bodies live in a library of their own so that two programs share them: the libFuzzer
// executables (fuzz/entry.cpp, built with VELMORA_FUZZ) and the replay test in tests/fuzz/, which
// runs every input kept under tests/fuzz-crashes/<target>/ with no fuzzer at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace velmora::fuzz {

using FuzzFunction = int (*)(const std::uint8_t* data, std::size_t size);

int fuzzOneSimStream(const std::uint8_t* data, std::size_t size);
int fuzzOneIniFile(const std::uint8_t* data, std::size_t size);
int fuzzOneModelCatalog(const std::uint8_t* data, std::size_t size);
int fuzzOneSendEscapes(const std::uint8_t* data, std::size_t size);
int fuzzOneCodePage(const std::uint8_t* data, std::size_t size);
int fuzzOneStatusBits(const std::uint8_t* data, std::size_t size);
int fuzzOneZiiReply(const std::uint8_t* data, std::size_t size);
int fuzzOneLockFlags(const std::uint8_t* data, std::size_t size);
int fuzzOneSerialReply(const std::uint8_t* data, std::size_t size);
int fuzzOneZiiPages(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
    std::string_view name;  // also the file fuzz/targets/<name>.cpp and tests/fuzz-crashes/<name>/
    FuzzFunction run;
};

// Every target.
std::span<const FuzzTarget> fuzzTargets();
// nullptr for a name that is not a target.
const FuzzTarget* findFuzzTarget(std::string_view name);

}  // namespace velmora::fuzz
