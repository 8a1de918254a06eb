// What the simulated printer received, for tests and for the program's exit summary: a bounded
// tail of the raw bytes, the commands it recognised, and a count of what it ignored. Memory stays
// bounded however much arrives, so the simulator can swallow a benchmark's gigabytes, and the
// commands of a whole chunk are handed over at once (a lock and a copy per chunk, not per
// command), since label streams hold hundreds of thousands of commands a second.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::sim {

class Journal {
  public:
    static constexpr std::size_t kDefaultTailBytes = 1u << 20;
    static constexpr std::size_t kDefaultCommands = 10000;
    // A recognised command longer than this is kept cut to this length.
    static constexpr std::size_t kMaxCommandText = 1024;

    explicit Journal(std::size_t tailBytes = kDefaultTailBytes, std::size_t commands = kDefaultCommands);

    // Commands collected by one writer, in order, to be recorded together.
    class CommandBatch {
      public:
        void add(std::string_view text) {
            text = text.substr(0, kMaxCommandText);
            text_.append(text);
            lengths_.push_back(static_cast<std::uint32_t>(text.size()));
        }
        bool empty() const { return lengths_.empty(); }
        // Worth handing over before the writer is done, so a batch stays small.
        bool full() const { return text_.size() >= kFlushBytes || lengths_.size() >= kFlushCommands; }

      private:
        friend class Journal;
        static constexpr std::size_t kFlushBytes = 256 * 1024;
        static constexpr std::size_t kFlushCommands = 16 * 1024;
        std::string text_;
        std::vector<std::uint32_t> lengths_;
    };

    // Writers: the parser, from whichever thread feeds it.
    void recordBytes(const std::uint8_t* data, std::size_t n);
    void recordCommand(std::string_view text);
    // Records the batch's commands as if each were recorded in turn, and empties the batch.
    void recordCommands(CommandBatch& batch);
    void recordIgnored(std::uint64_t lines, std::uint64_t bytes);
    // A command taken as a printer takes it although it was not written as the language has it
    // ("^FO18.64,81.5: decimal 18.64 taken as 18").
    void recordLeniency(std::string_view text);
    void clear();

    // Readers: snapshots, safe while another thread writes.
    std::uint64_t totalBytes() const;
    // The last bytes received (at most the tail size), oldest first.
    std::string tail() const;
    std::uint64_t totalCommands() const;
    // The last recognised commands (at most the command limit), oldest first.
    std::vector<std::string> commands() const;
    std::uint64_t ignoredLines() const;
    std::uint64_t ignoredBytes() const;
    std::uint64_t totalLeniencies() const;
    // The last leniencies (at most kKeptLeniencies), oldest first.
    std::vector<std::string> leniencies() const;
    static constexpr std::size_t kKeptLeniencies = 1000;

  private:
    // A kept command: where its text begins in the endless run of command text, and its length.
    struct Entry {
        std::uint64_t start;
        std::uint32_t length;
    };
    void appendCommand(std::string_view text);  // with the lock held
    void growCommandText(std::size_t live);

    mutable std::mutex mutex_;
    std::vector<std::uint8_t> tail_;  // ring of tailCapacity_ bytes, next write at tailNext_
    std::size_t tailCapacity_;
    std::size_t tailNext_ = 0;
    std::uint64_t totalBytes_ = 0;
    // The kept commands: a ring of entries and one ring of their text, written front to back so
    // recording stays in warm memory. The text ring grows to hold the kept commands' text, at
    // most commandCapacity_ * kMaxCommandText bytes.
    std::vector<Entry> entries_;
    std::size_t commandCapacity_;
    std::size_t commandNext_ = 0;
    std::uint64_t totalCommands_ = 0;
    std::vector<char> commandText_;
    std::uint64_t textEnd_ = 0;  // position of the next text byte
    std::uint64_t ignoredLines_ = 0;
    std::uint64_t ignoredBytes_ = 0;
    std::vector<std::string> leniencies_;  // ring of kKeptLeniencies, next write at leniencyNext_
    std::size_t leniencyNext_ = 0;
    std::uint64_t totalLeniencies_ = 0;
};

}  // namespace velmora::sim
