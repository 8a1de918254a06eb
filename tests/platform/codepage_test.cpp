#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace velmora::platform {
namespace {

// Every case starts and ends on the default page, whatever a case changed.
class CodePage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(setSystemCodePage("WINDOWS-1252")); }
    void TearDown() override { setSystemCodePage("WINDOWS-1252"); }
};

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
        out += ' ';
    }
    return out;
}

TEST_F(CodePage, ConvertsUtf8ToWindows1252AndBack) {
    const struct {
        const char* utf8;
        std::string bytes;
    } cases[] = {
        {"", ""},
        {"^XA^PR4,4^XZ\r\n", "^XA^PR4,4^XZ\r\n"},
        {"caf\xC3\xA9", "caf\xE9"},                        // é
        {"\xE2\x82\xAC", "\x80"},                          // €
        {"\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F", "\xC4\xD6\xDC\xDF"},  // ÄÖÜß
        {"\xE2\x80\x9Cq\xE2\x80\x9D", "\x93q\x94"},        // “q”
        {"\xC3\xBF", "\xFF"},                              // ÿ
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex(toCodePage(c.utf8)), hex(c.bytes)) << c.utf8;
        EXPECT_EQ(fromCodePage(c.bytes), c.utf8) << hex(c.bytes);
    }
}

TEST_F(CodePage, KeepsNulBytes) {
    const std::string text("a\0b", 3);
    EXPECT_EQ(toCodePage(text), text);
    EXPECT_EQ(fromCodePage(text), text);
}

TEST_F(CodePage, CharactersThePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(toCodePage("\xE6\x97\xA5"), "?");                  // 日
    EXPECT_EQ(toCodePage("a\xE6\x97\xA5\xE6\x9C\xAC" "b"), "a??b");  // 日本
    EXPECT_EQ(toCodePage("\xF0\x9F\x98\x80!"), "?!");           // an emoji: four bytes, one '?'
    EXPECT_EQ(toCodePage("\xCE\xA9"), "?");                      // Ω
}

TEST_F(CodePage, EachBrokenUtf8ByteBecomesAQuestionMark) {
    const struct {
        std::string utf8;
        std::string bytes;
    } cases[] = {
        {"a\xFF" "b", "a?b"},
        {"\x80", "?"},                        // stray continuation byte
        {"\xC0\xAF", "??"},                   // overlong '/'
        {"\xED\xA0\x80", "???"},              // a surrogate
        {"x\xC3", "x?"},                      // cut off at the end
        {"\xE2\x82" "A", "??A"},              // cut off in the middle
        {"\xF5\x80\x80\x80", "????"},         // beyond U+10FFFF
        {"\xC3\xA9\xFE\xC3\xA9", "\xE9?\xE9"},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(toCodePage(c.utf8)), hex(c.bytes)) << hex(c.utf8);
}

TEST_F(CodePage, EveryByteSurvivesTheRoundTrip) {
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D are unassigned in Windows-1252: they stand for U+0081...
    EXPECT_EQ(fromCodePage("a\x81" "b"), "a\xC2\x81" "b");
    EXPECT_EQ(fromCodePage("\x8D\x8F\x90\x9D"), "\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (const char* page : {"WINDOWS-1252", "ISO-8859-1", "CP437"}) {
        ASSERT_TRUE(setSystemCodePage(page));
        std::size_t lost = 99;
        EXPECT_EQ(hex(toCodePage(fromCodePage(all), &lost)), hex(all)) << page;
        EXPECT_EQ(lost, 0u) << page;
    }
    // A multi-byte page's lead byte alone is still undecodable.
    ASSERT_TRUE(setSystemCodePage("CP932"));
    EXPECT_EQ(fromCodePage("\x81"), "\xEF\xBF\xBD");
}

TEST_F(CodePage, OnlyPagesThatKeepAsciiAreAccepted) {
    for (const char* page : {"UTF-16", "UTF-16LE", "UTF-32", "UTF-7", "EBCDIC-US"}) {
        EXPECT_EQ(checkCodePage(page), CodePageCheck::NotAsciiCompatible) << page;
        EXPECT_FALSE(setSystemCodePage(page)) << page;
    }
    EXPECT_EQ(checkCodePage("NO-SUCH-CODEPAGE-42"), CodePageCheck::Unknown);
    EXPECT_EQ(checkCodePage("ISO-8859-7"), CodePageCheck::Ok);
    EXPECT_EQ(systemCodePage(), "WINDOWS-1252");
}

TEST_F(CodePage, CountsWhatThePageCannotHold) {
    std::size_t lost = 0;
    EXPECT_EQ(toCodePage("a\xE6\x97\xA5\xC3\xA9\xCE\xA9", &lost), "a?\xE9?");  // a日éΩ
    EXPECT_EQ(lost, 2u);
}

TEST_F(CodePage, UnknownNameIsRefusedAndTheOldPageStays) {
    EXPECT_FALSE(setSystemCodePage("NO-SUCH-CODEPAGE-42"));
    EXPECT_FALSE(setSystemCodePage(""));
    EXPECT_EQ(systemCodePage(), "WINDOWS-1252");
    EXPECT_EQ(toCodePage("\xE2\x82\xAC"), "\x80");
}

TEST_F(CodePage, OtherPagesConvertByTheirOwnTable) {
    ASSERT_TRUE(setSystemCodePage("ISO-8859-7"));
    EXPECT_EQ(systemCodePage(), "ISO-8859-7");
    // Ωμέγα
    const std::string greek = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1";
    EXPECT_EQ(hex(toCodePage(greek)), hex("\xD9\xEC\xDD\xE3\xE1"));
    EXPECT_EQ(fromCodePage("\xD9\xEC\xDD\xE3\xE1"), greek);
    EXPECT_EQ(toCodePage("caf\xC3\xA9"), "caf?");  // Greek has no é

    ASSERT_TRUE(setSystemCodePage("CP437"));
    EXPECT_EQ(hex(toCodePage("\xE2\x95\x94\xC3\xA9")), hex("\xC9\x82"));  // ╔é

    ASSERT_TRUE(setSystemCodePage("WINDOWS-1252"));
    EXPECT_EQ(toCodePage("caf\xC3\xA9"), "caf\xE9");
}

TEST_F(CodePage, PagesWiderThanTheirInputGrowTheOutput) {
    // Each 日 between letters costs two shift sequences: 8 bytes for 3.
    ASSERT_TRUE(setSystemCodePage("ISO-2022-JP"));
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "\xE6\x97\xA5" "a";
    const std::string bytes = toCodePage(text);
    EXPECT_EQ(bytes.size(), 5000u * 9);
    EXPECT_EQ(fromCodePage(bytes), text);
}

TEST_F(CodePage, ConvertsMultiMegabyteTexts) {
    std::string text;
    std::string bytes;
    for (int i = 0; i < 1 << 20; ++i) {
        text += "\xC3\xA9\xE2\x82\xAC" "a";  // é€a
        bytes += "\xE9\x80" "a";
    }
    EXPECT_TRUE(toCodePage(text) == bytes);
    EXPECT_TRUE(fromCodePage(bytes) == text);

    // The slow path: every character needs a substitution.
    std::string cjk;
    for (int i = 0; i < 1 << 20; ++i) cjk += "\xE6\x97\xA5";
    EXPECT_TRUE(toCodePage(cjk) == std::string(1 << 20, '?'));
}

// Stops at varying distances: the windows that follow each stop cut sequences at every offset.
TEST_F(CodePage, MixedTextConvertsTheSameWhereverTheStopsFall) {
    std::string text;
    std::string bytes;
    for (int k = 0; k < 300; ++k) {
        text += "\xE6\x97\xA5";  // 日
        bytes += '?';
        for (int i = 0; i < k; ++i) {
            text += (i % 3) ? "\xC3\xA9" : "\xE2\x82\xAC";  // é or €
            bytes += (i % 3) ? '\xE9' : '\x80';
        }
        text += '\xFF';
        bytes += '?';
    }
    EXPECT_TRUE(toCodePage(text) == bytes);

    std::string undecodable;
    std::string decoded;
    for (int k = 0; k < 300; ++k) {
        undecodable += '\xFF';
        decoded += "\xC3\xBF";
        undecodable += '\x81';
        decoded += "\xC2\x81";
        for (int i = 0; i < k; ++i) {
            undecodable += '\xE9';
            decoded += "\xC3\xA9";
        }
    }
    EXPECT_TRUE(fromCodePage(undecodable) == decoded);
}

// The environment is read once, at first use; a fresh process shows it.
TEST(CodePageDeathTest, EnvironmentChoosesThePageAtFirstUse) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("VELMORA_CODEPAGE", "ISO-8859-7", 1);
            std::exit(systemCodePage() == "ISO-8859-7" && toCodePage("\xCE\xA9") == "\xD9" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("VELMORA_CODEPAGE", "NO-SUCH-CODEPAGE-42", 1);
            std::exit(systemCodePage() == "WINDOWS-1252" && !codePageEnvironmentProblem().empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("VELMORA_CODEPAGE", "UTF-16", 1);
            std::exit(systemCodePage() == "WINDOWS-1252" &&
                              codePageEnvironmentProblem().find("single bytes") != std::string::npos
                          ? 0
                          : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace velmora::platform
