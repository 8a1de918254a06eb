// The command interpreter's state machine. Text is scanned a run at a time for the bytes that end
// a line (all of them in one pass; format ends once a chunk), and a line that arrives whole in one
// chunk is handed to its handler straight from the chunk; bytes are copied only for a line split
// across chunks, and not at all for a line nobody handles. Recognised commands reach the journal
// once a chunk.
#include "sim/parser.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "sim/bytescan.h"

namespace velmora::sim {

namespace {
constexpr std::uint8_t kCr = '\r';
constexpr std::uint8_t kLf = '\n';
constexpr std::uint8_t kEsc = 0x1b;

bool endsLine(std::uint8_t b) { return b == kCr || b == kLf; }

std::string_view view(const std::uint8_t* p, std::size_t n) { return {reinterpret_cast<const char*>(p), n}; }

// The first `needle` in [p, end), or nullptr. Lines are short and the needle's first byte rare,
// so memchr for it beats a general search.
const std::uint8_t* find(const std::uint8_t* p, const std::uint8_t* end, std::string_view needle) {
    const auto first = static_cast<std::uint8_t>(needle[0]);
    while (end - p >= static_cast<std::ptrdiff_t>(needle.size())) {
        const auto* hit =
            static_cast<const std::uint8_t*>(std::memchr(p, first, static_cast<std::size_t>(end - p)));
        if (!hit || end - hit < static_cast<std::ptrdiff_t>(needle.size())) return nullptr;
        std::size_t i = 1;
        while (i < needle.size() && hit[i] == static_cast<std::uint8_t>(needle[i])) ++i;
        if (i == needle.size()) return hit;
        p = hit + 1;
    }
    return nullptr;
}
}  // namespace

void CommandSet::onLine(std::string prefix, CommandHandler handler) {
    if (prefix.empty() || endsLine(prefix[0]) || prefix[0] == kEsc) {
        throw std::invalid_argument("line command prefix must not be empty or start with CR, LF or ESC");
    }
    auto& bucket = lines_[static_cast<std::uint8_t>(prefix[0])];
    bucket.push_back({std::move(prefix), std::move(handler)});
    std::stable_sort(bucket.begin(), bucket.end(),
                     [](const auto& a, const auto& b) { return a.prefix.size() > b.prefix.size(); });
}

void CommandSet::onFixed(std::string prefix, std::size_t extra, CommandHandler handler) {
    if (prefix.empty() || endsLine(prefix[0]) || prefix.size() + extra > kMaxFixed) {
        throw std::invalid_argument(
            "fixed command prefix must not be empty, start with CR or LF, or be too long");
    }
    const auto first = static_cast<std::uint8_t>(prefix[0]);
    if (first != kEsc) {
        fixedAtLineStart_[first] = true;
    } else if (prefix.size() > 1) {
        escapeSecond_[static_cast<std::uint8_t>(prefix[1])] = true;
    } else {
        escapeSecond_.fill(true);  // ESC and then any byte
    }
    const std::size_t length = prefix.size() + extra;
    fixed_.push_back({std::move(prefix), length, std::move(handler)});
}

bool CommandSet::mayBeFixed(const std::uint8_t* p, const std::uint8_t* end) const {
    const auto have = static_cast<std::size_t>(end - p);
    return std::any_of(fixed_.begin(), fixed_.end(), [&](const FixedCommand& command) {
        const std::size_t n = std::min(have, command.prefix.size());
        std::size_t i = 0;
        while (i < n && p[i] == static_cast<std::uint8_t>(command.prefix[i])) ++i;
        return i == n;
    });
}

void CommandSet::onOtherLine(OtherLineHandler handler, std::string formatEnd, std::string commandStarts) {
    otherLine_ = std::move(handler);
    formatEnd_ = std::move(formatEnd);
    commandStarts_ = std::move(commandStarts);
}
void CommandSet::onQuoted(std::string prefix, CommandHandler handler) {
    if (prefix.empty() || endsLine(prefix[0]) || prefix[0] == kEsc) {
        throw std::invalid_argument("quoted command prefix must not be empty or start with CR, LF or ESC");
    }
    quoted_[static_cast<std::uint8_t>(prefix[0])].push_back({std::move(prefix), std::move(handler)});
}

// Finds the next CR, LF or ESC in one chunk, all three in one pass, and remembers it: a line
// handed over in pieces asks again from within the same stretch.
class Parser::Scanner {
  public:
    explicit Scanner(const std::uint8_t* end) : end_(end) {}

    const std::uint8_t* next(const std::uint8_t* p) {
        if (!found_ || found_ < p) found_ = findAnyOf(p, end_, kCr, kLf, kEsc);
        return found_;
    }
    // Where the first `needle` at or after p begins (end when none), remembered the same way:
    // a format end is looked for once a chunk rather than once a line.
    const std::uint8_t* next(const std::uint8_t* p, std::string_view needle) {
        if (!needleFound_ || needleFound_ < p) {
            const std::uint8_t* hit = find(p, end_, needle);
            needleFound_ = hit ? hit : end_;
        }
        return needleFound_;
    }

  private:
    const std::uint8_t* end_;
    const std::uint8_t* found_ = nullptr;        // the first stop at or after every p asked since
    const std::uint8_t* needleFound_ = nullptr;  // the same for the needle
};

Parser::Parser(Printer& printer, const CommandSet& commands) : printer_(printer), commands_(commands) {}

std::size_t Parser::nextStateKind() {
    static std::atomic<std::size_t> kinds{0};
    return kinds++;
}

void Parser::feed(std::string_view bytes) {
    feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void Parser::feed(const std::uint8_t* data, std::size_t n) {
    if (n == 0) return;
    printer_.journal().recordBytes(data, n);
    faults_ = printer_.faults();
    process(data, data + n);
    printer_.journal().recordCommands(commandBatch_);
    if (ignoredLines_ || ignoredBytes_) {
        printer_.journal().recordIgnored(ignoredLines_, ignoredBytes_);
        ignoredLines_ = ignoredBytes_ = 0;
    }
}

std::string Parser::takeReplies() { return std::exchange(out_, {}); }

void Parser::reset() {
    state_ = resume_ = rawResume_ = State::Line;
    line_.clear();
    continuing_ = false;
    fixed_.clear();
    shorterMatch_ = nullptr;
    raw_.clear();
    rawLeft_ = 0;
    rawHandler_ = nullptr;
    out_.clear();
    connectionState_.clear();
}

void Parser::abandonCommand() {
    if (!midCommand()) return;
    ++ignoredLines_;
    ignoredBytes_ += raw_.size() + fixed_.size();
    state_ = resume_ = rawResume_ = State::Line;
    line_.clear();
    continuing_ = false;
    fixed_.clear();
    shorterMatch_ = nullptr;
    raw_.clear();
    rawLeft_ = 0;
    rawHandler_ = nullptr;
    printer_.journal().recordIgnored(std::exchange(ignoredLines_, 0), std::exchange(ignoredBytes_, 0));
}

void Parser::expectRaw(std::size_t n, RawHandler handler) {
    if (n == 0) {
        deliverRaw(handler, {});
        return;
    }
    rawResume_ = state_;
    state_ = State::Raw;
    rawLeft_ = n;
    rawHandler_ = std::move(handler);
}

void Parser::process(const std::uint8_t* p, const std::uint8_t* end) {
    Scanner scan(end);
    while (p < end) {
        switch (state_) {
            case State::Line:
                p = takeLine(p, end, scan);
                break;
            case State::SkipLine:
                p = skipLine(p, end, scan);
                break;
            case State::Fixed:
                p = takeFixed(p, end);
                break;
            case State::Raw:
                p = takeRaw(p, end);
                break;
        }
    }
}

const std::uint8_t* Parser::takeLine(const std::uint8_t* p, const std::uint8_t* end, Scanner& scan) {
    if (line_.empty() && !continuing_) {
        const std::uint8_t first = *p;
        if (endsLine(first)) return p + 1;  // an empty line, or the LF of CR LF
        if (first == kEsc || (commands_.fixedAtLineStart_[first] && commands_.mayBeFixed(p, end))) {
            startFixed(State::Line);
            return p;
        }
        if (commands_.lines_[first].empty() && !commands_.otherLine_) {
            ++ignoredLines_;
            state_ = State::SkipLine;
            return p;
        }
    } else if (line_.empty() && endsLine(*p)) {
        continuing_ = false;  // the pieces handed over were the whole line
        return p + 1;
    }
    const std::uint8_t* stop = scan.next(p);
    if (!commands_.formatEnd_.empty()) p = handOverPieces(p, stop, scan);
    if (state_ == State::Raw) return p;  // a piece asked for the bytes after it
    // A quoted command ends at its apostrophe, however long the rest of the line (an image's raw
    // bytes follow its header at once), so it is looked for before the line's length counts.
    const std::uint8_t first = !line_.empty() ? static_cast<std::uint8_t>(line_[0]) : p < stop ? *p : 0;
    if (!continuing_ && p < stop && !commands_.quoted_[first].empty()) {
        const CommandSet::LineCommand* quoted = nullptr;
        const std::uint8_t* within = p + std::min<std::size_t>(static_cast<std::size_t>(stop - p), kMaxLine - line_.size());
        if (const std::uint8_t* close = quotedEnd(p, within, quoted)) {
            line_.append(view(p, static_cast<std::size_t>(close + 1 - p)));
            const std::string command = std::exchange(line_, {});
            run(quoted->handler, command);
            return close + 1;
        }
    }
    const auto length = static_cast<std::size_t>(stop - p);
    if (line_.size() + length > kMaxLine) {
        ignoreLine(line_.size() + length);
        line_.clear();
        continuing_ = false;
        state_ = State::SkipLine;
        return stop;
    }
    if (stop == end) {
        line_.append(view(p, length));
        return stop;
    }
    if (*stop == kEsc) {
        line_.append(view(p, length));
        if (unknownEscape(stop, end)) {
            ++ignoredBytes_;
            return stop + 1;
        }
        startFixed(State::Line);
        return stop;
    }
    lineEnd_ = static_cast<char>(*stop);
    if (continuing_) {
        line_.append(view(p, length));
        dispatchOther(line_);
        line_.clear();
        continuing_ = false;
    } else if (line_.empty()) {
        dispatchLine(view(p, length));
    } else {
        line_.append(view(p, length));
        dispatchLine(line_);
        line_.clear();
    }
    lineEnd_ = 0;
    return stop + 1;
}

bool Parser::otherLineSure(const std::uint8_t* p, const std::uint8_t* stop) const {
    const std::string_view segment = view(p, static_cast<std::size_t>(stop - p));
    const std::size_t have = line_.size() + segment.size();
    if (have == 0) return false;
    const auto at = [&](std::size_t i) { return i < line_.size() ? line_[i] : segment[i - line_.size()]; };
    // A prefix claims the line when it matches, or may once more of the line is in. A line that
    // short cannot hide a format end, so waiting loses no piece.
    const auto claims = [&](const std::vector<CommandSet::LineCommand>& bucket) {
        return std::any_of(bucket.begin(), bucket.end(), [&](const CommandSet::LineCommand& c) {
            const std::size_t n = std::min(c.prefix.size(), have);
            std::size_t i = 0;
            while (i < n && at(i) == c.prefix[i]) ++i;
            return i == n;
        });
    };
    const auto first = static_cast<std::uint8_t>(at(0));
    return !claims(commands_.lines_[first]) && !claims(commands_.quoted_[first]);
}

const std::uint8_t* Parser::handOverPieces(const std::uint8_t* p, const std::uint8_t* stop, Scanner& scan) {
    const std::string_view formatEnd = commands_.formatEnd_;
    const std::string& starts = commands_.commandStarts_;
    // The line so far and [p, upTo) as one piece; straight from the chunk when nothing is held.
    const auto handOver = [&](const std::uint8_t* upTo) {
        if (line_.empty()) {
            dispatchOther(view(p, static_cast<std::size_t>(upTo - p)));
        } else {
            line_.append(view(p, static_cast<std::size_t>(upTo - p)));
            dispatchOther(line_);
            line_.clear();
        }
        p = upTo;
        continuing_ = true;
    };
    while (p < stop) {
        const auto left = static_cast<std::size_t>(stop - p);
        // The first format end that ends in [p, stop), perhaps begun in line_.
        const std::uint8_t* cut = nullptr;
        for (std::size_t k = std::min(formatEnd.size() - 1, line_.size()); k >= 1 && !cut; --k) {
            const std::size_t rest = formatEnd.size() - k;
            // The held line's last byte rules out nearly every held line before any comparing.
            if (left >= rest && line_.back() == formatEnd[k - 1] && line_.ends_with(formatEnd.substr(0, k)) &&
                view(p, rest) == formatEnd.substr(k))
                cut = p + rest;
        }
        if (!cut) {
            const std::uint8_t* hit = scan.next(p, formatEnd);
            if (hit < stop && static_cast<std::size_t>(stop - hit) >= formatEnd.size())
                cut = hit + formatEnd.size();
        }
        const bool cutFits = cut && line_.size() + static_cast<std::size_t>(cut - p) <= kMaxLine;
        // Nothing to hand over yet (most lines): whose line it is need not be asked.
        if (!cutFits && line_.size() + left <= kMaxLine) return p;
        if (!continuing_ && !otherLineSure(p, stop)) return p;
        if (cutFits) {
            handOver(cut);
            if (state_ == State::Raw) return p;
            continue;
        }
        // Too long without a format end: up to the last command start within kMaxLine bytes, so
        // no command is split (the byte at kMaxLine may begin the next piece).
        const std::size_t reach = std::min(kMaxLine - line_.size() + 1, left);
        const std::uint8_t* start = nullptr;
        const std::uint8_t* from = line_.empty() ? p + 1 : p;
        for (const char c : starts) {
            if (const void* hit = ::memrchr(from, c, static_cast<std::size_t>(p + reach - from)))
                start = std::max(start, static_cast<const std::uint8_t*>(hit));
        }
        if (start) {
            handOver(start);
            if (state_ == State::Raw) return p;
            continue;
        }
        std::size_t held = 0;  // the last command start held, past the first byte
        for (const char c : starts) {
            const std::size_t n = std::min(line_.size(), kMaxLine + 1);
            if (const void* hit = n > 1 ? ::memrchr(line_.data() + 1, c, n - 1) : nullptr)
                held = std::max(held, static_cast<std::size_t>(static_cast<const char*>(hit) - line_.data()));
        }
        if (held > 0) {
            dispatchOther(std::string_view(line_).substr(0, held));
            line_.erase(0, held);
            continuing_ = true;
            continue;
        }
        handOver(p + (kMaxLine - line_.size()));
        if (state_ == State::Raw) return p;
    }
    return p;
}

const std::uint8_t* Parser::quotedEnd(const std::uint8_t* p, const std::uint8_t* stop,
                                      const CommandSet::LineCommand*& command) const {
    // Quoted commands are short up to their second apostrophe; the line so far is short too.
    std::string head = line_;
    head.append(view(p, static_cast<std::size_t>(std::min<std::ptrdiff_t>(stop - p, 64))));
    command = nullptr;
    for (const auto& candidate : commands_.quoted_[static_cast<std::uint8_t>(head[0])]) {
        if (head.starts_with(candidate.prefix)) {
            command = &candidate;
            break;
        }
    }
    if (!command) return nullptr;
    int quotes = static_cast<int>(std::count(line_.begin(), line_.end(), '\''));
    for (const std::uint8_t* q = p; q < stop; ++q) {
        if (*q == '\'' && ++quotes == 2) return q;
    }
    return nullptr;
}

const std::uint8_t* Parser::skipLine(const std::uint8_t* p, const std::uint8_t* end, Scanner& scan) {
    const std::uint8_t* stop = scan.next(p);
    ignoredBytes_ += static_cast<std::uint64_t>(stop - p);
    if (stop == end) return stop;
    if (*stop == kEsc) {
        if (unknownEscape(stop, end)) {
            ++ignoredBytes_;
            return stop + 1;
        }
        startFixed(State::SkipLine);
        return stop;
    }
    state_ = State::Line;
    return stop + 1;
}

// An ESC whose next byte (already here) begins no known escape loses its ESC at once, as the
// escape matching would drop it, without a detour through it: binary data holds many.
bool Parser::unknownEscape(const std::uint8_t* esc, const std::uint8_t* end) const {
    return esc + 1 < end && !commands_.escapeSecond_[esc[1]];
}

void Parser::startFixed(State resume) {
    resume_ = resume;
    state_ = State::Fixed;
    fixed_.clear();
}

const std::uint8_t* Parser::takeFixed(const std::uint8_t* p, const std::uint8_t* end) {
    while (p < end) {
        fixed_.push_back(static_cast<char>(*p++));
        // The candidates still possible, and the complete one with the longest prefix.
        const CommandSet::FixedCommand* complete = nullptr;
        std::size_t longestOpenPrefix = 0;
        bool open = false;
        for (const auto& command : commands_.fixed_) {
            if (fixed_.size() > command.length) continue;
            // The byte just taken rules most commands out without comparing the rest.
            if (fixed_.size() <= command.prefix.size() &&
                fixed_.back() != command.prefix[fixed_.size() - 1]) {
                continue;
            }
            const std::size_t compared = std::min(fixed_.size(), command.prefix.size());
            if (fixed_.compare(0, compared, command.prefix, 0, compared) != 0) continue;
            if (fixed_.size() == command.length) {
                if (!complete || command.prefix.size() > complete->prefix.size()) complete = &command;
            } else {
                open = true;
                longestOpenPrefix = std::max(longestOpenPrefix, command.prefix.size());
            }
        }
        if (complete) {
            if (longestOpenPrefix <= complete->prefix.size()) {
                finishFixed(complete, fixed_.size());
                return p;
            }
            // A longer prefix may still match; fall back to this one if it does not.
            shorterMatch_ = complete;
        }
        if (!open) {
            finishFixed(shorterMatch_, shorterMatch_ ? shorterMatch_->length : 0);
            return p;
        }
    }
    return p;
}

void Parser::finishFixed(const CommandSet::FixedCommand* command, std::size_t used) {
    std::string seen = std::exchange(fixed_, {});
    shorterMatch_ = nullptr;
    state_ = resume_;
    if (command) {
        run(command->handler, std::string_view(seen).substr(0, used));
    } else {
        // Nothing matched. An unknown escape loses its ESC byte; anything else was the start of
        // an ordinary line.
        used = 1;
        const auto first = static_cast<std::uint8_t>(seen[0]);
        if (first == kEsc) {
            ++ignoredBytes_;
        } else if (commands_.lines_[first].empty() && !commands_.otherLine_) {
            ++ignoredLines_;
            ++ignoredBytes_;
            state_ = State::SkipLine;
        } else {
            line_.push_back(seen[0]);
        }
    }
    // The bytes after the command (or after the first byte) are parsed again from the top.
    const auto* rest = reinterpret_cast<const std::uint8_t*>(seen.data());
    process(rest + used, rest + seen.size());
}

const std::uint8_t* Parser::takeRaw(const std::uint8_t* p, const std::uint8_t* end) {
    const auto available = static_cast<std::size_t>(end - p);
    std::string_view bytes;
    if (raw_.empty() && available >= rawLeft_) {
        bytes = view(p, rawLeft_);  // all of it is in this chunk: no copy
        p += rawLeft_;
    } else {
        const std::size_t take = std::min(available, rawLeft_);
        raw_.append(view(p, take));
        rawLeft_ -= take;
        p += take;
        if (rawLeft_ > 0) return p;
        bytes = raw_;
    }
    rawLeft_ = 0;
    state_ = rawResume_;
    deliverRaw(std::exchange(rawHandler_, nullptr), bytes);
    // The handler has seen the bytes; a further expectRaw collects afresh. An image-sized buffer
    // is given back rather than kept for the rest of the connection.
    if (raw_.capacity() > kMaxLine) {
        std::string().swap(raw_);
    } else {
        raw_.clear();
    }
    return p;
}

void Parser::deliverRaw(const RawHandler& handler, std::string_view bytes) {
    const std::size_t replyStart = out_.size();
    handler(*this, bytes);
    applyReplyFaults(replyStart);
}

void Parser::dispatchLine(std::string_view line) {
    for (const auto& command : commands_.lines_[static_cast<std::uint8_t>(line[0])]) {
        if (line.starts_with(command.prefix)) {
            run(command.handler, line);
            return;
        }
    }
    if (commands_.otherLine_) {
        dispatchOther(line);
        return;
    }
    ignoreLine(line.size());
}

void Parser::dispatchOther(std::string_view piece) {
    if (piece.empty()) return;
    const std::size_t replyStart = out_.size();
    const bool found = commands_.otherLine_(*this, piece);
    applyReplyFaults(replyStart);
    if (found) {
        journalCommand(piece);
    } else {
        ignoreLine(piece.size());
    }
}

void Parser::journalCommand(std::string_view command) {
    commandBatch_.add(command);
    if (commandBatch_.full()) printer_.journal().recordCommands(commandBatch_);
}

void Parser::run(const CommandHandler& handler, std::string_view command) {
    journalCommand(command);
    const std::size_t replyStart = out_.size();
    handler(*this, command);
    applyReplyFaults(replyStart);
}

void Parser::applyReplyFaults(std::size_t replyStart) {
    if (out_.size() <= replyStart) return;
    if (faults_.silent) {
        out_.resize(replyStart);
    } else if (faults_.shortReplies) {
        out_.pop_back();
    }
    if (faults_.garbage) std::fill(out_.begin() + static_cast<std::ptrdiff_t>(replyStart), out_.end(), 'z');
}

void Parser::ignoreLine(std::size_t bytes) {
    ++ignoredLines_;
    ignoredBytes_ += bytes;
}

}  // namespace velmora::sim
