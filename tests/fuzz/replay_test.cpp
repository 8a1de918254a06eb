// Replays every input kept under tests/fuzz-crashes/<target>/ (inputs that once crashed a fuzz
// target, and small hand-made seeds) through the target's body, without libFuzzer. An input that
// crashes again aborts this test program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "fuzztargets.h"

namespace velmora::fuzz {

// A target prints as its name (found by argument lookup, so beside the type's namespace rather
// than in this file's unnamed one), not as the bytes of its function pointer.
void PrintTo(const FuzzTarget& target, std::ostream* os) { *os << target.name; }

namespace {

namespace fs = std::filesystem;

const fs::path kCasesDir = VELMORA_FUZZ_CASES_DIR;
const fs::path kTargetsDir = VELMORA_FUZZ_TARGETS_DIR;

std::set<std::string> stems(const fs::path& dir, bool directories) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_directory() == directories) names.insert(entry.path().stem().string());
    return names;
}

std::set<std::string> targetNames() {
    std::set<std::string> names;
    for (const FuzzTarget& target : fuzzTargets()) names.insert(std::string(target.name));
    return names;
}

// The table, the target files and the directories of kept inputs name the same targets, so no
// target goes unreplayed and no kept input lies where nothing reads it.
TEST(FuzzReplay, EveryTargetHasItsFileAndItsInputs) {
    EXPECT_EQ(targetNames(), stems(kTargetsDir, false));
    EXPECT_EQ(targetNames(), stems(kCasesDir, true));
}

class FuzzReplayTarget : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplayTarget, KeptInputsRunCleanly) {
    const FuzzTarget& target = GetParam();
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kCasesDir / std::string(target.name)))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 3u) << "each target keeps a few seed inputs at least";
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplayTarget,
                         ::testing::ValuesIn(fuzzTargets().begin(), fuzzTargets().end()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora::fuzz
