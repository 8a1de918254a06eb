// The journal keeps a bounded tail of the bytes and of the commands, however much arrives.
#include "sim/journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::sim {
namespace {

TEST(Journal, ByteTailKeepsTheNewestBytes) {
    struct Case {
        std::vector<std::string> chunks;
        std::string tail;
    };
    const Case cases[] = {
        {{"abc"}, "abc"},
        {{"abc", "defgh"}, "abcdefgh"},
        {{"abc", "defghij"}, "cdefghij"},       // wraps inside a chunk
        {{"0123456789abcdefXYZ"}, "bcdefXYZ"},  // one chunk longer than the tail
        {{"abcdef", "gh", "ijklm", "n"}, "ghijklmn"},
    };
    for (const Case& c : cases) {
        Journal journal(8);
        std::size_t total = 0;
        for (const std::string& chunk : c.chunks) {
            journal.recordBytes(reinterpret_cast<const std::uint8_t*>(chunk.data()), chunk.size());
            total += chunk.size();
        }
        EXPECT_EQ(journal.tail(), c.tail);
        EXPECT_EQ(journal.totalBytes(), total);
    }
}

TEST(Journal, CommandListKeepsTheNewestCommands) {
    Journal journal(16, 3);
    for (const char* command : {"^cp", "^cu", "^MBR1,2", "^PI5,0", "^XA"}) journal.recordCommand(command);
    EXPECT_EQ(journal.commands(), (std::vector<std::string>{"^MBR1,2", "^PI5,0", "^XA"}));
    EXPECT_EQ(journal.totalCommands(), 5u);

    journal.recordCommand(std::string(Journal::kMaxCommandText + 100, 'T'));
    EXPECT_EQ(journal.commands().back().size(), Journal::kMaxCommandText);

    journal.clear();
    EXPECT_TRUE(journal.commands().empty());
    EXPECT_EQ(journal.tail(), "");
}

TEST(Journal, StaysBoundedWhileParsingLargeStream) {
    // 64 MiB of label-like lines, queries among them, in network-sized chunks.
    std::string chunk;
    std::size_t labelLines = 0;
    while (chunk.size() < 256 * 1024 - 64) {
        chunk += "T12,34,3,1,1,0,0,N,N,'label text " + std::to_string(chunk.size()) + "'\r\n";
        ++labelLines;
        if (chunk.size() % 7 == 0) chunk += "^cu\r";
        if (labelLines % 50 == 0) {
            chunk += "P1\r\n";
            ++labelLines;
        }
    }
    const std::size_t chunks = (64u << 20) / chunk.size();

    Printer printer;
    Parser parser(printer);
    std::size_t replies = 0;
    for (std::size_t i = 0; i < chunks; ++i) {
        parser.feed(chunk);
        replies += parser.takeReplies().size();
    }
    const Journal& journal = printer.journal();
    EXPECT_EQ(journal.totalBytes(), chunks * chunk.size());
    EXPECT_GT(replies, Journal::kDefaultCommands);
    EXPECT_EQ(journal.totalCommands(), replies + chunks * labelLines);  // one byte per "^cu"
    EXPECT_EQ(journal.commands().size(), Journal::kDefaultCommands);
    const std::string tail = journal.tail();
    ASSERT_EQ(tail.size(), Journal::kDefaultTailBytes);
    EXPECT_EQ(tail.substr(tail.size() - chunk.size()), chunk);
    EXPECT_EQ(printer.printedLabels().size(), LabelBook::kKeptRecords);
}

}  // namespace
}  // namespace velmora::sim
