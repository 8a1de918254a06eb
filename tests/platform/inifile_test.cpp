#include "platform/inifile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace velmora::platform {
namespace {

using Strings = std::vector<std::string>;

TEST(IniFile, LooksUpSectionsAndKeysWhateverTheirCase) {
    IniFile ini;
    ini.parse("[SUPPORT]\nPRINTER_LIST=ABC-100, ABC-200\n[ABC-100]\nID=0a1b\nModelType=8\n");
    EXPECT_EQ(ini.value("support", "printer_list"), "ABC-100, ABC-200");
    EXPECT_EQ(ini.value("abc-100", "MODELTYPE"), "8");
    EXPECT_EQ(ini.value("Abc-100", "id"), "0a1b");
    EXPECT_EQ(ini.value("ABC-100", "SPEED"), std::nullopt);
    EXPECT_EQ(ini.value("ABC-200", "ID"), std::nullopt);
    EXPECT_EQ(ini.value("ABC-200", "ID", "0000"), "0000");
}

TEST(IniFile, TrimsNamesAndValues) {
    IniFile ini;
    ini.parse("  [ Ports ]  \n\t COM3 \t=  /dev/ttyUSB0  \nempty =\n");
    EXPECT_EQ(ini.sections(), Strings{"Ports"});
    EXPECT_EQ(ini.value("Ports", "COM3"), "/dev/ttyUSB0");
    EXPECT_EQ(ini.value("ports", " com3 "), "/dev/ttyUSB0");
    EXPECT_EQ(ini.value("Ports", "empty"), "");
}

TEST(IniFile, KeepsEverythingAfterTheFirstEqualsSign) {
    IniFile ini;
    ini.parse("[S]\nformula = a=b ; not a comment\n");
    EXPECT_EQ(ini.value("S", "formula"), "a=b ; not a comment");
}

TEST(IniFile, LaterDuplicateKeyReplacesTheEarlierOne) {
    IniFile ini;
    ini.parse("[S]\nA=1\nB=2\na=3\n");
    EXPECT_EQ(ini.value("S", "A"), "3");
    EXPECT_EQ(ini.keys("S"), (Strings{"A", "B"}));
}

TEST(IniFile, RepeatedSectionsMergeInFileOrder) {
    IniFile ini;
    ini.parse("[One]\nx=1\n[Two]\ny=2\n[ONE]\nz=3\n");
    EXPECT_EQ(ini.sections(), (Strings{"One", "Two"}));
    EXPECT_EQ(ini.keys("one"), (Strings{"x", "z"}));
    EXPECT_TRUE(ini.keys("three").empty());
}

TEST(IniFile, IgnoresCommentsBlankLinesAndLinesWithoutEquals) {
    IniFile ini;
    ini.parse("; heading\nloose=before any section\n[S]\n;k=commented\n   ; k=also\njust words\n\n=novalue\nk=v\n");
    EXPECT_EQ(ini.sections(), Strings{"S"});
    EXPECT_EQ(ini.keys("S"), Strings{"k"});
    EXPECT_EQ(ini.value("S", "k"), "v");
}

TEST(IniFile, ReadsCrLfAndCrLineEndsAndSkipsAByteOrderMark) {
    IniFile ini;
    ini.parse("\xEF\xBB\xBF[S]\r\na=1\r\nb=2\rc=3");
    EXPECT_EQ(ini.sections(), Strings{"S"});
    EXPECT_EQ(ini.value("S", "a"), "1");
    EXPECT_EQ(ini.value("S", "b"), "2");
    EXPECT_EQ(ini.value("S", "c"), "3");
}

TEST(IniFile, HeaderWithoutClosingBracketIsNoHeader) {
    IniFile ini;
    ini.parse("[A]\nx=1\n[Broken\ny=2\n[B] trailing\nz=3\n");
    EXPECT_EQ(ini.sections(), (Strings{"A", "B"}));
    EXPECT_EQ(ini.value("A", "y"), "2");
    EXPECT_EQ(ini.value("B", "z"), "3");
}

TEST(IniFile, SurvivesBinaryJunk) {
    std::string junk;
    unsigned seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245 + 12345;
        junk += static_cast<char>(seed >> 16);
        if (i % 97 == 0) junk += "\n[x]\n=\n[\n]\n";
    }
    IniFile ini;
    ini.parse(junk);
    for (const std::string& s : ini.sections()) {
        for (const std::string& k : ini.keys(s)) EXPECT_TRUE(ini.value(s, k).has_value());
    }
    ini.parse(std::string("[S]\0\nk\0=\0v\n", 11));
    EXPECT_EQ(ini.sections().size(), 1u);
}

TEST(IniFile, ParseReplacesEarlierContents) {
    IniFile ini;
    ini.parse("[A]\nx=1\n");
    ini.parse("[B]\ny=2\n");
    EXPECT_EQ(ini.sections(), Strings{"B"});
    EXPECT_EQ(ini.value("A", "x"), std::nullopt);
}

TEST(IniFile, LoadsAFileAndFailsOnAMissingOne) {
    const std::string path = ::testing::TempDir() + "velmora_inifile_test_" + std::to_string(getpid()) + ".ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << "[Ports]\r\nCOM3=/dev/ttyUSB0\r\n";
    }
    IniFile ini;
    EXPECT_TRUE(ini.load(path));
    EXPECT_EQ(ini.value("PORTS", "com3"), "/dev/ttyUSB0");
    std::remove(path.c_str());

    EXPECT_FALSE(ini.load(path));
    EXPECT_TRUE(ini.sections().empty());
    EXPECT_FALSE(ini.load(::testing::TempDir()));  // a directory
}

}  // namespace
}  // namespace velmora::platform
