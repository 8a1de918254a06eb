// The journal keeps a bounded tail of the bytes and of the commands, however much arrives.
#include "sim/journal.h"

#include <gtest/gtest.h>

#include <deque>
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

// Commands handed over in batches of any size, one by one or mixed, are kept exactly as if each
// had been recorded alone: the newest ones, cut to the limit, in order, all of them counted,
// while their text wraps around and outgrows the journal's store.
TEST(Journal, BatchesKeepWhatSingleCommandsKeep) {
    struct Case {
        std::size_t capacity;
        std::size_t batch;  // commands a batch; 0 records them one at a time
    };
    const Case cases[] = {{1, 0}, {1, 3}, {3, 2}, {7, 7}, {7, 50}, {100, 0}, {100, 1}, {100, 33}, {100, 250}};
    for (const Case& c : cases) {
        Journal journal(16, c.capacity);
        std::deque<std::string> expected;
        Journal::CommandBatch batch;
        std::size_t inBatch = 0;
        for (std::size_t i = 0; i < 1500; ++i) {
            // Empty, short, long and longer than the limit; 100 of them hold far more than 64 KiB.
            const std::size_t length = (i * 397) % (Journal::kMaxCommandText + 200);
            const std::string command(length, static_cast<char>('a' + i % 26));
            expected.push_back(command.substr(0, Journal::kMaxCommandText));
            if (expected.size() > c.capacity) expected.pop_front();
            if (c.batch == 0) {
                journal.recordCommand(command);
            } else {
                batch.add(command);
                if (++inBatch == c.batch) {
                    journal.recordCommands(batch);
                    inBatch = 0;
                    EXPECT_TRUE(batch.empty());
                    EXPECT_EQ(journal.totalCommands(), i + 1);
                    EXPECT_EQ(journal.commands(), std::vector<std::string>(expected.begin(), expected.end()))
                        << "capacity " << c.capacity << ", batch " << c.batch << ", command " << i;
                }
            }
        }
        journal.recordCommands(batch);
        EXPECT_EQ(journal.totalCommands(), 1500u);
        EXPECT_EQ(journal.commands(), std::vector<std::string>(expected.begin(), expected.end()))
            << "capacity " << c.capacity << ", batch " << c.batch;
    }
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
