// Ring buffers behind the journal: the byte tail is allocated once, up front, so recording a
// chunk is one or two copies under the lock.
#include "sim/journal.h"

#include <algorithm>
#include <cstring>

namespace velmora::sim {

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
    if (commands_.size() < commandCapacity_) {
        commands_.emplace_back(text);
    } else {
        commands_[commandNext_].assign(text);
    }
    commandNext_ = (commandNext_ + 1) % commandCapacity_;
    ++totalCommands_;
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
    commands_.clear();
    commandNext_ = 0;
    totalCommands_ = 0;
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
    if (commands_.size() < commandCapacity_) return commands_;
    std::vector<std::string> out;
    out.reserve(commands_.size());
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        out.push_back(commands_[(commandNext_ + i) % commandCapacity_]);
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
