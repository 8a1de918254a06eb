#include "resources/stringtable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

namespace velmora::resources {
namespace {

TEST(StringTable, IdsAreAscendingUniqueAndInRange) {
    const std::vector<int> ids = StringIds();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end(), std::greater_equal<>()), ids.end());
    EXPECT_GE(ids.front(), 102);
    for (int id : ids) {
        EXPECT_TRUE(HasString(id)) << id;
        EXPECT_FALSE(LoadString(id).empty()) << id;
    }
}

// Texts whose line breaks, trailing blanks, escapes or spelling are easy to lose.
TEST(StringTable, KeepsTextsCharacterForCharacter) {
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {111, "Port error! Check printer's port, please."},
        {119, "H/W version is "},
        {139, "Printer ID string can't be more than 7 character."},
        {150, "Error : Failed to connect. Please, \ncheck IP port configuration in printer control pannel"},
        {199, "Invalid value!\nPlease check StartBlockNumber and Number of bytes."},
        {216, "Cannot open port! Please check printer and cable."},
        {217, "Success open port."},
        {242, "Print && Page"},
        {248, "  "},
        {254, "Tear Off;Peel Off;Cutter;"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(HasString(c.id)) << c.id;
        EXPECT_EQ(LoadString(c.id), c.text) << c.id;
    }
}

TEST(StringTable, MissingIdsGiveEmptyText) {
    for (int id : {-1, 0, 101, 104, 218, 100000}) {
        EXPECT_FALSE(HasString(id)) << id;
        EXPECT_TRUE(LoadString(id).empty()) << id;
    }
}

// The names of messages.h and the table's entries are one to one: no name without its text, no
// text code cannot name.
TEST(StringTable, EveryEntryHasOneNameInTheMessageHeader) {
    std::ifstream in(std::string(VELMORA_SOURCE_DIR) + "/src/resources/messages.h");
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    const std::string header = text.str();
    std::multiset<int> named;
    const std::regex assignment(R"((k[A-Za-z0-9]+) = (\d+))"), list(R"(= \{([0-9, ]+)\};)");
    for (auto it = std::sregex_iterator(header.begin(), header.end(), assignment); it != std::sregex_iterator(); ++it)
        named.insert(std::stoi((*it)[2]));
    for (auto it = std::sregex_iterator(header.begin(), header.end(), list); it != std::sregex_iterator(); ++it) {
        std::istringstream ids((*it)[1]);
        for (std::string id; std::getline(ids, id, ',');) named.insert(std::stoi(id));
    }
    for (int id : named) {
        EXPECT_TRUE(HasString(id)) << id << " is named but has no text";
        EXPECT_EQ(named.count(id), 1u) << id << " has more than one name";
    }
    for (int id : StringIds()) EXPECT_EQ(named.count(id), 1u) << id << " has no name in messages.h";
}

}  // namespace
}  // namespace velmora::resources
