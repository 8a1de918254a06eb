// Writing printed labels into the --labels directory, through the platform's file calls.
#include "sim/labelfiles.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "platform/files.h"

namespace velmora::sim {

namespace {

// The number of a "label-N.json" name, or 0.
std::uint64_t labelNumber(std::string_view name) {
    constexpr std::string_view kPrefix = "label-", kSuffix = ".json";
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return 0;
    const std::string_view digits =
        name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    std::uint64_t number = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return ec == std::errc() && end == digits.data() + digits.size() ? number : 0;
}

}  // namespace

bool LabelFiles::open(const std::string& directory, std::string& error) {
    if (!platform::ensureDirectory(directory, error)) {
        error = directory + ": " + error;
        return false;
    }
    directory_ = directory;
    first_ = 0;
    for (const std::string& name : platform::directoryEntries(directory)) {
        first_ = std::max(first_, labelNumber(name));
    }
    return true;
}

std::string LabelFiles::write(const LabelRecord& record, std::string& error) const {
    const std::string path = directory_ + "/" + fileName(first_ + record.number);
    if (!platform::writeOutputFile(path, labelToJson(record), error)) {
        error = path + ": " + error;
        return {};
    }
    return path;
}

std::string LabelFiles::fileName(std::uint64_t number) {
    char name[40];
    std::snprintf(name, sizeof name, "label-%04llu.json", static_cast<unsigned long long>(number));
    return name;
}

}  // namespace velmora::sim
