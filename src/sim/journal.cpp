// Ring buffers behind the journal: the byte tail is allocated once, up front, so recording a
// chunk is one or two copies under the lock; the commands' text goes into a ring of its own,
// front to back, and each command is a position and a length in it.
#include "sim/journal.h"

#include <algorithm>
#include <cstring>

namespace velmora::sim {

namespace {

// Copies n bytes at position `at` of the endless run out of (or into) a ring of `size` bytes.
void fromRing(const char* ring, std::size_t size, std::uint64_t at, char* out, std::size_t n) {
    const auto pos = static_cast<std::size_t>(at % size);
    const std::size_t first = std::min(n, size - pos);
    std::memcpy(out, ring + pos, first);
    std::memcpy(out + first, ring, n - first);
}

void intoRing(char* ring, std::size_t size, std::uint64_t at, const char* in, std::size_t n) {
    const auto pos = static_cast<std::size_t>(at % size);
    const std::size_t first = std::min(n, size - pos);
    std::memcpy(ring + pos, in, first);
    std::memcpy(ring, in + first, n - first);
}

}  // namespace

Journal::Journal(std::size_t tailBytes, std::size_t commands)
    : tailCapacity_(std::max<std::size_t>(tailBytes, 1)),
      commandCapacity_(std::max<std::size_t>(commands, 1)) {}

void Journal::recordBytes(const std::uint8_t* data, std::size_t n) {
    std::lock_guard lock(mutex_);
    totalBytes_ += n;
    if (tail_.size() != tailCapacity_) tail_.resize(tailCapacity_);
    // Only the last tailCapacity_ bytes of a large chunk can survive.
    if (n > tailCapacity_) {
        data += n - tailCapacity_;
        n = tailCapacity_;
    }
    const std::size_t first = std::min(n, tailCapacity_ - tailNext_);
    std::memcpy(tail_.data() + tailNext_, data, first);
    std::memcpy(tail_.data(), data + first, n - first);
    tailNext_ = (tailNext_ + n) % tailCapacity_;
}

void Journal::recordCommand(std::string_view text) {
    text = text.substr(0, kMaxCommandText);
    std::lock_guard lock(mutex_);
    appendCommand(text);
}

void Journal::recordCommands(CommandBatch& batch) {
    const std::size_t n = batch.lengths_.size();
    if (n == 0) return;
    {
        std::lock_guard lock(mutex_);
        // Commands that the newer ones of the batch would push out at once are only counted.
        const std::size_t skipped = n > commandCapacity_ ? n - commandCapacity_ : 0;
        std::size_t at = 0;
        for (std::size_t i = 0; i < skipped; ++i) at += batch.lengths_[i];
        totalCommands_ += skipped;
        for (std::size_t i = skipped; i < n; ++i) {
            appendCommand(std::string_view(batch.text_).substr(at, batch.lengths_[i]));
            at += batch.lengths_[i];
        }
    }
    batch.text_.clear();
    batch.lengths_.clear();
}

void Journal::appendCommand(std::string_view text) {
    const std::size_t slot = commandNext_;
    if (entries_.size() < commandCapacity_) entries_.push_back({});
    entries_[slot] = {textEnd_, static_cast<std::uint32_t>(text.size())};
    commandNext_ = (slot + 1) % commandCapacity_;
    ++totalCommands_;
    // The oldest kept command, whose text must survive this one's.
    const std::uint64_t oldest = entries_[entries_.size() < commandCapacity_ ? 0 : commandNext_].start;
    const auto live = static_cast<std::size_t>(textEnd_ - oldest) + text.size();
    if (live > commandText_.size()) growCommandText(live);
    if (text.empty()) return;
    intoRing(commandText_.data(), commandText_.size(), textEnd_, text.data(), text.size());
    textEnd_ += text.size();
}

void Journal::growCommandText(std::size_t live) {
    const std::size_t most = commandCapacity_ * kMaxCommandText;
    std::size_t size = std::max<std::size_t>(commandText_.size(), 64 * 1024);
    while (size < live) size *= 2;
    size = std::max(live, std::min(size, most));
    std::vector<char> grown(size);
    // The text keeps its positions in the run; only where they fall in the ring changes.
    const std::size_t old = commandText_.size();
    const std::uint64_t from = textEnd_ - std::min<std::uint64_t>(textEnd_, old);
    for (std::uint64_t p = from; p < textEnd_;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(textEnd_ - p, old - p % old));
        intoRing(grown.data(), size, p, commandText_.data() + p % old, n);
        p += n;
    }
    commandText_.swap(grown);
}

void Journal::recordIgnored(std::uint64_t lines, std::uint64_t bytes) {
    std::lock_guard lock(mutex_);
    ignoredLines_ += lines;
    ignoredBytes_ += bytes;
}

void Journal::clear() {
    std::lock_guard lock(mutex_);
    tailNext_ = 0;
    totalBytes_ = 0;
    entries_.clear();
    commandNext_ = 0;
    totalCommands_ = 0;
    textEnd_ = 0;
    ignoredLines_ = 0;
    ignoredBytes_ = 0;
    leniencies_.clear();
    leniencyNext_ = 0;
    totalLeniencies_ = 0;
}

void Journal::recordLeniency(std::string_view text) {
    std::lock_guard lock(mutex_);
    ++totalLeniencies_;
    if (leniencies_.size() < kKeptLeniencies) {
        leniencies_.emplace_back(text);
    } else {
        leniencies_[leniencyNext_].assign(text);
    }
    leniencyNext_ = (leniencyNext_ + 1) % kKeptLeniencies;
}

std::uint64_t Journal::totalLeniencies() const {
    std::lock_guard lock(mutex_);
    return totalLeniencies_;
}

std::vector<std::string> Journal::leniencies() const {
    std::lock_guard lock(mutex_);
    if (leniencies_.size() < kKeptLeniencies) return leniencies_;
    std::vector<std::string> out;
    out.reserve(leniencies_.size());
    for (std::size_t i = 0; i < leniencies_.size(); ++i) out.push_back(leniencies_[(leniencyNext_ + i) % kKeptLeniencies]);
    return out;
}

std::uint64_t Journal::totalBytes() const {
    std::lock_guard lock(mutex_);
    return totalBytes_;
}

std::string Journal::tail() const {
    std::lock_guard lock(mutex_);
    const std::size_t kept = static_cast<std::size_t>(std::min<std::uint64_t>(totalBytes_, tailCapacity_));
    const std::size_t start = (tailNext_ + tailCapacity_ - kept) % tailCapacity_;
    std::string out;
    out.reserve(kept);
    const std::size_t first = std::min(kept, tailCapacity_ - start);
    out.append(reinterpret_cast<const char*>(tail_.data()) + start, first);
    out.append(reinterpret_cast<const char*>(tail_.data()), kept - first);
    return out;
}

std::uint64_t Journal::totalCommands() const {
    std::lock_guard lock(mutex_);
    return totalCommands_;
}

std::vector<std::string> Journal::commands() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    out.reserve(entries_.size());
    const std::size_t first = entries_.size() < commandCapacity_ ? 0 : commandNext_;
    const std::size_t size = commandText_.size();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[(first + i) % entries_.size()];
        std::string& text = out.emplace_back(e.length, '\0');
        if (e.length > 0) fromRing(commandText_.data(), size, e.start, text.data(), e.length);
    }
    return out;
}

std::uint64_t Journal::ignoredLines() const {
    std::lock_guard lock(mutex_);
    return ignoredLines_;
}

std::uint64_t Journal::ignoredBytes() const {
    std::lock_guard lock(mutex_);
    return ignoredBytes_;
}

}  // namespace velmora::sim
