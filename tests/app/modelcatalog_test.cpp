// The model catalog: reading rules for the file, the built-in table, and files that are not
// what their name promises.
#include "app/modelcatalog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace velmora::app {
namespace {

namespace fs = std::filesystem;
using Speeds = std::vector<std::string>;

ModelCatalog catalogOf(const std::string& text) {
    platform::IniFile ini;
    ini.parse(text);
    return modelCatalogFromIni(ini);
}

Speeds speedsOf(const ModelRecord& record) {
    Speeds speeds;
    for (const std::string& s : record.speeds) {
        if (!s.empty()) speeds.push_back(s);
    }
    return speeds;
}

std::set<std::string> namesOf(const ModelCatalog& catalog) {
    std::set<std::string> names;
    for (const auto& entry : catalog) names.insert(entry.first);
    return names;
}

TEST(ModelCatalogFile, ListItemsAreTrimmedEmptyOnesSkippedAndRepeatsMerged) {
    const ModelCatalog catalog =
        catalogOf("[Support]\nprinter_list=  A-1 , , B-2 ,A-1\n[a-1]\nmodeltype=5\n");
    ASSERT_EQ(namesOf(catalog), (std::set<std::string>{"A-1", "B-2"}));
    EXPECT_EQ(catalog.at("A-1")->shortName, "1");
    EXPECT_EQ(catalog.at("A-1")->modelType, 5);
    EXPECT_EQ(catalog.at("B-2")->shortName, "2");
}

TEST(ModelCatalogFile, ModelWithoutSectionGetsTheDefaults) {
    const ModelCatalog catalog = catalogOf("[SUPPORT]\nPRINTER_LIST=Plain\n");
    const ModelRecord& r = *catalog.at("Plain");
    EXPECT_EQ(r.shortName, "Plain");  // no "-": the whole name
    EXPECT_EQ(r.id, "0000");
    EXPECT_EQ(r.secondName, "");
    EXPECT_EQ(r.speedUnit, "inch/s");
    EXPECT_EQ(speedsOf(r), (Speeds{"3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(r.modelType, 0);
}

TEST(ModelCatalogFile, ListIsCutAfter127Characters) {
    // 12 names of 9 characters with ", " between take 130 characters; the 127th ends "MODEL-"
    // of the 12th name.
    std::string list;
    for (int i = 10; i < 22; ++i) list += (list.empty() ? "MODEL-" : ", MODEL-") + std::to_string(i) + "X";
    const ModelCatalog catalog = catalogOf("[SUPPORT]\nPRINTER_LIST=" + list + "\n");
    EXPECT_EQ(catalog.size(), 12u);
    EXPECT_TRUE(catalog.count("MODEL-20X"));
    EXPECT_TRUE(catalog.count("MODEL-"));

    // The cut never splits a character: 126 ASCII ones, then two-byte ones.
    const std::string name(126, 'n');
    const ModelCatalog wide = catalogOf("[SUPPORT]\nPRINTER_LIST=" + name + "\xC3\xA9\xC3\xA9\n");
    EXPECT_EQ(namesOf(wide), std::set<std::string>{name + "\xC3\xA9"});
}

TEST(ModelCatalogFile, SpeedText) {
    std::string many = "u";
    Speeds first24;
    for (int i = 1; i <= 30; ++i) {
        many += "," + std::to_string(i % 10);
        if (i <= 24) first24.push_back(std::to_string(i % 10));
    }
    const struct {
        std::string text;
        std::string unit;
        Speeds speeds;
    } cases[] = {
        {"mm/s", "mm/s", {}},                    // a unit only: no speeds
        {" , ips ,, 2.5 , ", "ips", {"2.5"}},   // empty items skipped, the unit is the first kept
        {"", "", {}},                            // present but empty: not the default
        {many, "u", first24},                    // more than 24 speeds: the first 24 kept
    };
    for (const auto& c : cases) {
        const ModelCatalog catalog = catalogOf("[SUPPORT]\nPRINTER_LIST=M\n[M]\nSPEED=" + c.text + "\n");
        EXPECT_EQ(catalog.at("M")->speedUnit, c.unit) << c.text;
        EXPECT_EQ(speedsOf(*catalog.at("M")), c.speeds) << c.text;
    }
}

TEST(ModelCatalogFile, ModelTypeReadLikeTheWindowsProfileReader) {
    const std::pair<const char*, int> cases[] = {
        {"+12", 12}, {"-5", -5}, {"131abc", 131}, {"abc", 0}, {"", 0}, {"0x10", 0}, {"- 3", 0},
        {"4294967295", -1},  // wraps at 32 bits rather than overflowing
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(profileInteger(text), expected) << text;
}

TEST(ModelCatalogBuiltIn, HasTheTwentyOneModelsWithTheirCodesAndSpeeds) {
    const ModelCatalog catalog = builtInModelCatalog();
    ASSERT_EQ(catalog.size(), 21u);
    const std::map<int, Speeds> spotChecks = {
        {8, {"3", "4", "5", "6", "7"}}, {13, {"3", "4", "5", "6"}}, {14, {"2.5", "3", "4"}},
        {23, {"3", "4", "5", "6.5"}},   {131, {"3", "4", "5"}},
    };
    std::multiset<int> codes;
    for (const auto& [name, r] : catalog) {
        EXPECT_EQ(r->id.size(), 4u) << name;
        EXPECT_EQ(r->id.find_first_not_of("0123456789abcdef"), std::string::npos) << name << " " << r->id;
        EXPECT_EQ(r->speedUnit, "inch/s") << name;
        if (spotChecks.count(r->modelType)) {
            EXPECT_EQ(speedsOf(*r), spotChecks.at(r->modelType)) << name;
        }
        codes.insert(r->modelType);
    }
    EXPECT_EQ(codes, (std::multiset<int>{8, 9, 10, 11, 12, 13, 14, 15, 16, 100, 101, 110, 111, 112, 20,
                                         21, 22, 23, 24, 130, 131}));
}

// Files on disk, each test in its own directory.
class ModelCatalogLoad : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velmora-catalog-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        FreeModelCatalog();
        fs::remove_all(dir_);
    }
    fs::path file() const { return dir_ / kModelCatalogFileName; }
    void write(const std::string& text) const { std::ofstream(file(), std::ios::binary) << text; }
    void load() const { LoadModelCatalog(dir_.string()); }

    fs::path dir_;
};

TEST_F(ModelCatalogLoad, NoFileOrUnknownDirectoryGivesTheBuiltInTable) {
    write("");
    LoadModelCatalog((dir_ / "elsewhere").string());
    EXPECT_EQ(theModelCatalog.size(), 21u);
    FreeModelCatalog();
    LoadModelCatalog("");  // would otherwise look for the file in the root directory
    EXPECT_EQ(theModelCatalog.size(), 21u);
}

TEST_F(ModelCatalogLoad, UnusableFilesGiveAnEmptyCatalog) {
    write("");
    load();
    EXPECT_TRUE(theModelCatalog.empty()) << "empty file";

    std::string binary(70000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 131u) % 256u);
    write(binary);
    load();
    EXPECT_TRUE(theModelCatalog.empty()) << "binary file";

    fs::remove(file());
    fs::create_directory(file());
    load();
    EXPECT_TRUE(theModelCatalog.empty()) << "directory under the file's name";

    fs::remove(file());
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    load();  // would wait forever for a writer if the pipe were opened for a plain read
    EXPECT_TRUE(theModelCatalog.empty()) << "pipe under the file's name";
}

TEST_F(ModelCatalogLoad, HugeFileIsReadFromItsStartOnly) {
    // A catalog, then megabytes of distinct keys (slow for the INI reader), then a sparse tail
    // to 50 MB: the models at the start are kept and loading stays quick.
    std::string text = "[SUPPORT]\nPRINTER_LIST=VL-1, VL-2\n[VL-1]\nMODELTYPE=7\n[junk]\n";
    for (int i = 0; text.size() < 4'000'000; ++i) text += "key" + std::to_string(i) + "=v\n";
    write(text + "[SUPPORT]\nPRINTER_LIST=LATE-1\n");
    fs::resize_file(file(), 50'000'000);
    load();
    EXPECT_EQ(namesOf(theModelCatalog), (std::set<std::string>{"VL-1", "VL-2"}));
    EXPECT_EQ(theModelCatalog.at("VL-1")->modelType, 7);
}

}  // namespace
}  // namespace velmora::app
