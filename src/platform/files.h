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

// Replaces the file at `path` with `text` through a temporary file in the same directory and a
// rename, so a reader never sees half a file and whatever stood at the path (even a FIFO) is
// replaced rather than written into. False with `error` set on failure.
bool replaceFile(const std::string& path, const std::string& text, std::string& error);

// Whether standard error is a terminal (a progress bar is drawn only there).
bool standardErrorIsTerminal();

}  // namespace velmora::platform
