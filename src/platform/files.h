// Small file-system queries for the layers above: where the program was started, whether a path
// names anything, bounded reads of a file that may not be what its name promises, and the few
// writes the simulator makes (a directory of output files, a file replaced whole).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

// The working directory the program runs in; empty when it cannot be determined (for example
// when it has been removed).
std::string currentDirectory();

// True when anything (file, directory, device, dangling link excepted) exists at the path.
bool pathExists(const std::string& path);

// Up to `maxBytes` bytes from the start of a regular file. Nothing (std::nullopt) when the path
// cannot be opened or is not a regular file: a directory, a FIFO or a device is never read, so
// a stray pipe cannot block the caller.
std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes);

// Makes the directory unless it is already one. False, with the reason, when neither holds.
bool ensureDirectory(const std::string& path, std::string& error);
// The names in a directory ("." and ".." left out); empty when it cannot be read.
std::vector<std::string> directoryEntries(const std::string& path);
// A settings or catalog file, read the way every reader of one must: a regular file only (a FIFO
// would block, /dev/zero never ends), and no more than a cap, cut back to whole lines.
struct TextFileRead {
    enum class Outcome {
        Read,            // the whole file
        Cut,             // longer than the cap: the whole lines within it
        Missing,         // nothing at the path
        NotRegularFile,  // a directory, FIFO, device or socket: not read
        Unreadable,      // no permission, or a read error
    };
    Outcome outcome = Outcome::Missing;
    std::string text;    // empty unless Read or Cut
    std::string reason;  // for Unreadable, the system's words
    bool hasText() const { return outcome == Outcome::Read || outcome == Outcome::Cut; }
};
TextFileRead readTextFile(const std::string& path, std::size_t maxBytes);
// One line for the user saying what of the file was ignored and why ("/x/velmora.ini is not a
// regular file; ignored"); empty for Read and Missing.
std::string ignoredNote(const TextFileRead& read, const std::string& path, std::size_t maxBytes);

// Every output file a program writes (pictures, profiles, traces, saved states, the user's
// command files) goes through here, decided by what the path names after following links: a
// regular file or a new name is written to a temporary file beside it and renamed over it (the
// old file's mode kept), so a reader never sees half a file and a link stays a link; a character
// device or a FIFO is written into as it is (`-o /dev/stdout` works), never replaced; anything
// else (a directory, a socket) is refused. No sync: a rename is enough for a reader to see either
// the old file or the new one.
//
// What stands in the way of writing `path`, checked before anything else happens (so a command
// finds a bad output before it talks to the printer); empty when it can be written.
std::string outputProblem(const std::string& path);
// False with `error` (and the errno in `errorNumber`, when given) on failure.
bool writeOutputFile(const std::string& path, std::string_view bytes, std::string& error, int* errorNumber = nullptr);

// Whether standard error is a terminal (a progress bar is drawn only there).
bool standardErrorIsTerminal();

}  // namespace velmora::platform
