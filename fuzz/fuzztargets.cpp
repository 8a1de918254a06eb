// The table of fuzz targets, by the names bench/fuzz and the kept crash inputs use.
#include "fuzztargets.h"

namespace velmora::fuzz {

namespace {
constexpr FuzzTarget kTargets[] = {
    {"sim_stream", fuzzOneSimStream},      {"inifile", fuzzOneIniFile},
    {"modelcatalog", fuzzOneModelCatalog}, {"send_escapes", fuzzOneSendEscapes},
    {"codepage", fuzzOneCodePage},         {"status_bits", fuzzOneStatusBits},
    {"zii_reply", fuzzOneZiiReply},        {"lock_flags", fuzzOneLockFlags},
    {"serial_reply", fuzzOneSerialReply},  {"zii_pages", fuzzOneZiiPages},
};
}  // namespace

std::span<const FuzzTarget> fuzzTargets() { return kTargets; }

const FuzzTarget* findFuzzTarget(std::string_view name) {
    for (const FuzzTarget& target : kTargets)
        if (target.name == name) return &target;
    return nullptr;
}

}  // namespace velmora::fuzz
