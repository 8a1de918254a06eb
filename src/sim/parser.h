// The simulated printer's command interpreter: an incremental parser fed the byte stream in
// chunks of any size (a command may be split at any byte), which calls the handler registered for
// each command and collects the reply bytes the handlers produce.
//
// The stream holds three kinds of command:
//   - lines, ended by CR, LF or CR LF, dispatched by prefix (the longest registered prefix wins);
//   - fixed-length commands: a prefix and then a set number of bytes of any value, with no line
//     end ("^MBR4,1" is one, with 3 bytes after "^MBR"). Those whose prefix starts with ESC are
//     the binary escapes and are recognised anywhere; the others only at the start of a line;
//   - quoted commands: a prefix at the start of a line, ended by the second apostrophe rather
//     than by a line end ("IS1234,'LOGO'", which raw image bytes follow at once);
//   - raw payloads that a handler asks for with Parser::expectRaw (an image after its header).
// A line no prefix claims goes to the one "other line" handler when there is one (ZII commands
// may stand anywhere in a line). That handler may also take its lines in pieces: each piece ends
// just after a format end ("^XZ"), so formats sent back to back with no line end are each taken
// as soon as they are complete, and a run longer than kMaxLine without one is cut before a
// command start. Lines nobody handles, unknown escapes (the ESC byte is skipped) and other lines
// longer than kMaxLine are ignored and counted in the journal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/printer.h"

namespace velmora::sim {

class Parser;

// Called with the whole command: a line without its line end, or all bytes of a fixed-length one.
using CommandHandler = std::function<void(Parser& parser, std::string_view command)>;
// Called with the raw bytes a handler asked for, all at once.
using RawHandler = std::function<void(Parser& parser, std::string_view bytes)>;
// Called with a line no prefix claimed; true when it found a command in it (else the line counts
// as ignored).
using OtherLineHandler = std::function<bool(Parser& parser, std::string_view line)>;

// The commands a printer understands. Built once, then shared read-only by every parser.
class CommandSet {
  public:
    static constexpr char kEsc = '\x1b';

    // A line that begins with `prefix`. The prefix must not begin with CR, LF or ESC.
    void onLine(std::string prefix, CommandHandler handler);
    // `prefix` followed by exactly `extra` bytes of any value. The prefix must not begin with CR
    // or LF, and prefix and extra bytes together may not exceed kMaxFixed bytes.
    void onFixed(std::string prefix, std::size_t extra, CommandHandler handler);
    // Every line that no line prefix claims; a later call replaces the handler. With a
    // `formatEnd` the handler gets the line in pieces, each ending just after a format end, and a
    // run of more than kMaxLine bytes without one in pieces cut before the last of
    // `commandStarts` in reach (at kMaxLine bytes when there is none). Where the pieces fall
    // depends on the bytes only, never on how the stream was chunked.
    void onOtherLine(OtherLineHandler handler, std::string formatEnd = {}, std::string commandStarts = {});

    // A line that begins with `prefix` and ends at its second apostrophe (or at a line end that
    // comes first). The handler gets the command up to and including that apostrophe.
    void onQuoted(std::string prefix, CommandHandler handler);

    static constexpr std::size_t kMaxFixed = 256;

  private:
    friend class Parser;
    struct LineCommand {
        std::string prefix;
        CommandHandler handler;
    };
    struct FixedCommand {
        std::string prefix;
        std::size_t length;  // prefix and extra bytes
        CommandHandler handler;
    };
    // Whether [p, end), the start of a line, may begin a fixed-length command (or is too short
    // to tell). A line that cannot is taken as a line at once: the fixed-command matching would
    // come to the same after a detour through a copy.
    bool mayBeFixed(const std::uint8_t* p, const std::uint8_t* end) const;
    // Line commands by their first byte, longest prefix first, so a line costs one bucket lookup.
    std::array<std::vector<LineCommand>, 256> lines_;
    std::vector<FixedCommand> fixed_;
    OtherLineHandler otherLine_;
    std::string formatEnd_;
    std::string commandStarts_;
    std::array<std::vector<LineCommand>, 256> quoted_;  // by first byte
    std::array<bool, 256> fixedAtLineStart_{};  // first bytes of fixed commands that are not escapes
    std::array<bool, 256> escapeSecond_{};      // bytes after ESC that may begin a known escape
};

// The commands of the simulated printer (defined in commands.cpp).
const CommandSet& standardCommands();

class Parser {
  public:
    // A longer line is junk: dropped up to its line end without being kept.
    static constexpr std::size_t kMaxLine = 64 * 1024;

    explicit Parser(Printer& printer, const CommandSet& commands = standardCommands());
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // Takes the next chunk of the stream: journals it, runs every command it completes.
    void feed(const std::uint8_t* data, std::size_t n);
    void feed(std::string_view bytes);
    // The reply bytes produced since the last call, in order, with the printer's reply faults
    // (silent, short replies) already applied.
    std::string takeReplies();
    bool hasReplies() const { return !out_.empty(); }
    // Forgets any half-received command, unsent reply and connection state, as for a new
    // connection.
    void reset();
    // Whether a command has begun and not ended in a way a line end cannot end: a raw payload
    // still owed, or a fixed-length command or escape not yet complete.
    bool midCommand() const { return state_ == State::Raw || state_ == State::Fixed; }
    // The link fell silent in the middle of such a command: it is dropped (and counted as
    // ignored), so a stream that promised bytes it never sent cannot hold the printer deaf.
    void abandonCommand();

    // For handlers.
    Printer& printer() { return printer_; }
    // Appends to the reply of the command being handled.
    void reply(std::string_view bytes) { out_.append(bytes); }
    void reply(std::span<const std::uint8_t> bytes) {
        out_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    // Hands the next n bytes of the stream, whatever they are, to `handler` once they are all in;
    // nothing else is parsed before. The handler may ask again (a header, then a payload).
    void expectRaw(std::size_t n, RawHandler handler);
    // The CR or LF that ended the line being handled (0 for a piece that ends elsewhere): bytes
    // of a payload, when the line was cut short by one that belongs to it.
    char lineEnd() const { return lineEnd_; }
    // What a command family keeps for this connection alone (whether a ZII format is open), made
    // on first use. Connections to one printer share its settings but not this.
    template <typename State>
    State& connectionState() {
        // Asked for on every line of a label stream: a kind of state finds its slot by a number
        // of its own rather than by hashing its type.
        static const std::size_t kind = nextStateKind();
        if (kind >= connectionState_.size()) connectionState_.resize(kind + 1);
        std::shared_ptr<void>& slot = connectionState_[kind];
        if (!slot) slot = std::make_shared<State>();
        return *static_cast<State*>(slot.get());
    }

  private:
    enum class State {
        Line,      // collecting a line (line_ empty: at the start of one)
        SkipLine,  // dropping an ignored or overlong line up to its end
        Fixed,     // matching a fixed-length command or escape in fixed_
        Raw,       // collecting bytes for expectRaw
    };
    class Scanner;

    void process(const std::uint8_t* p, const std::uint8_t* end);
    const std::uint8_t* takeLine(const std::uint8_t* p, const std::uint8_t* end, Scanner& scan);
    const std::uint8_t* skipLine(const std::uint8_t* p, const std::uint8_t* end, Scanner& scan);
    // The end of a quoted command that begins the line being collected, or nullptr.
    const std::uint8_t* quotedEnd(const std::uint8_t* p, const std::uint8_t* stop,
                                  const CommandSet::LineCommand*& command) const;
    const std::uint8_t* takeFixed(const std::uint8_t* p, const std::uint8_t* end);
    const std::uint8_t* takeRaw(const std::uint8_t* p, const std::uint8_t* end);
    bool unknownEscape(const std::uint8_t* esc, const std::uint8_t* end) const;
    void startFixed(State resume);
    // Runs `command` on the first `used` bytes seen (nullptr: nothing matched) and parses the rest.
    void finishFixed(const CommandSet::FixedCommand* command, std::size_t used);
    void deliverRaw(const RawHandler& handler, std::string_view bytes);
    void dispatchLine(std::string_view line);
    // Hands every complete piece of an other line to its handler; returns where the rest begins.
    const std::uint8_t* handOverPieces(const std::uint8_t* p, const std::uint8_t* stop, Scanner& scan);
    // Whether the line being collected (line_, then [p, stop)) is surely no prefix's.
    bool otherLineSure(const std::uint8_t* p, const std::uint8_t* stop) const;
    void dispatchOther(std::string_view piece);
    // Commands go to the journal a chunk at a time (at the end of each feed).
    void journalCommand(std::string_view command);
    void run(const CommandHandler& handler, std::string_view command);
    void applyReplyFaults(std::size_t replyStart);
    void ignoreLine(std::size_t bytes);

    Printer& printer_;
    const CommandSet& commands_;
    Faults faults_;  // as of the current feed

    State state_ = State::Line;
    State resume_ = State::Line;     // where a fixed command returns to
    State rawResume_ = State::Line;  // where a raw payload returns to
    std::string line_;
    char lineEnd_ = 0;
    bool continuing_ = false;  // the line being collected has handed pieces to the other-line handler
    std::string fixed_;
    const CommandSet::FixedCommand* shorterMatch_ = nullptr;  // complete, while a longer one may be
    std::string raw_;
    std::size_t rawLeft_ = 0;
    RawHandler rawHandler_;
    std::string out_;
    static std::size_t nextStateKind();
    std::vector<std::shared_ptr<void>> connectionState_;  // by kind

    // Counted and collected locally, and handed to the journal once per feed.
    Journal::CommandBatch commandBatch_;
    std::uint64_t ignoredLines_ = 0;
    std::uint64_t ignoredBytes_ = 0;
};

}  // namespace velmora::sim
