// Find and replace on the send text: forward from the selection end, case-sensitive, no wrap;
// Replace only on a selection that is the search text; Replace All always ends.
#include "terminal/findreplace.h"

#include <gtest/gtest.h>

namespace velmora::terminal {
namespace {

TEST(FindReplace, FindNextGoesForwardWithCaseAndNeverWraps) {
    struct Case {
        std::string text, what;
        std::size_t from;
        std::optional<Selection> found;
    };
    const Case cases[] = {
        {"SW812 sw812 SW812", "SW812", 0, Selection{0, 5}},
        {"SW812 sw812 SW812", "SW812", 5, Selection{12, 17}},  // "sw812" differs in case
        {"SW812 sw812 SW812", "SW812", 13, std::nullopt},       // no wrap to the start
        {"abc", "", 0, std::nullopt},                           // nothing to find
        {"abc", "abc", 4, std::nullopt},
        {"\xea\xb0\x80 P1", "P1", 0, Selection{4, 6}},  // byte offsets in UTF-8
    };
    for (const Case& c : cases) EXPECT_EQ(findNext(c.text, c.what, c.from), c.found) << c.text << " / " << c.what;
}

TEST(FindReplace, ReplaceTakesOnlyAMatchingSelection) {
    struct Case {
        std::string text;
        Selection sel;
        std::string what, with;
        std::string after;
        std::optional<Selection> next;
    };
    const Case cases[] = {
        // The selection is the search text: replaced, and the next match moved by the growth.
        {"P1\r\nP1\r\n", {0, 2}, "P1", "P22", "P22\r\nP1\r\n", Selection{5, 7}},
        {"P1 P1", {0, 2}, "P1", "", " P1", Selection{1, 3}},
        // A caret or another selection is not replaced: the next match is found instead.
        {"P1 P1", {0, 0}, "P1", "X", "P1 P1", Selection{0, 2}},
        {"P1 P1", {0, 1}, "P1", "X", "P1 P1", Selection{3, 5}},
        {"p1 P1", {0, 2}, "P1", "X", "p1 P1", Selection{3, 5}},  // case decides
        {"P1", {0, 2}, "P1", "X", "X", std::nullopt},
        {"P1", {0, 2}, "", "X", "P1", std::nullopt},
    };
    for (const Case& c : cases) {
        const ReplaceResult r = replaceSelection(c.text, c.sel, c.what, c.with);
        EXPECT_EQ(r.text, c.after) << c.text;
        EXPECT_EQ(r.replaced, c.after != c.text);
        EXPECT_EQ(r.next, c.next) << c.text;
    }
}

TEST(FindReplace, ReplaceAllReplacesTheOldTextsMatchesOnce) {
    struct Case {
        std::string text, what, with, after;
        std::size_t count;
        std::optional<Selection> last;
    };
    const Case cases[] = {
        {"abab", "a", "aa", "aabaab", 2, Selection{3, 5}},
        {"aaa", "aa", "b", "ba", 1, Selection{0, 1}},
        {"x", "", "y", "x", 0, std::nullopt},
        {"P1\r\nP1\r\n", "\r\n", "\n", "P1\nP1\n", 2, Selection{5, 6}},
        {"Abc", "a", "z", "Abc", 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const ReplaceAllResult r = replaceAll(c.text, c.what, c.with);
        EXPECT_EQ(r.text, c.after) << c.text;
        EXPECT_EQ(r.count, c.count);
        EXPECT_EQ(r.last, c.last);
    }
}

}  // namespace
}  // namespace velmora::terminal
