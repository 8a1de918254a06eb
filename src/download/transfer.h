// What the file transfer and the PCX store share: a file's bytes as they go to the printer (read a
// piece at a time as they are sent; a complete byte-order mark removed), the chunked write with
// progress, and the USB keep-open for the length of a transfer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/operation.h"
#include "link/comm.h"
#include "platform/clock.h"
#include "platform/filereader.h"
#include "ui/control.h"
#include "ui/host.h"

namespace velmora::download {

// Chunk sizes on the links that are written piece by piece (Ethernet takes one write).
inline constexpr std::size_t kFileChunk = 4096;
inline constexpr std::size_t kPcxChunk = 2048;
// The progress bar counts units of this many bytes.
inline constexpr std::size_t kProgressUnit = 2048;

// The length of a complete byte-order mark at the start: 3 for EF BB BF, 2 for FF FE or FE FF,
// 0 otherwise. A lone first byte is no mark: a binary image starting with 0xFF is sent whole.
std::size_t ByteOrderMarkLength(std::span<const std::uint8_t> head);

// UTF-16 text (without its mark) converted to the system code page, up to its first NUL unit.
std::string Utf16ToCodePage(std::span<const std::uint8_t> units, bool bigEndian);

// The progress bar's upper bound for n bytes: n / 2048, never wrapping however large the file.
int ProgressRange(std::uint64_t n);

// The bytes of one file as they are sent, read a piece at a time.
class TransferSource {
public:
    // False when the path cannot be opened or is not a regular file. With `removeMark`, a complete
    // UTF-8 mark is skipped and UTF-16 text (after its mark) is converted to the code page.
    bool open(const std::string& path, bool removeMark);
    // What will be sent: the size when the file was opened, less its mark.
    std::size_t size() const;
    // The n bytes at `offset` (counted after the mark); an empty span when they cannot be read or
    // the file is no longer as it was opened (changed() then says so).
    std::span<const std::uint8_t> piece(std::size_t offset, std::size_t n);
    bool changed() const { return file_.changed(); }
    // The first bytes (at most n), for what a transfer notes it sent.
    std::string head(std::size_t n);
    // The file itself when its bytes go as they are (no converted text), so the link may send
    // them straight from it; its bytes start at skip().
    platform::FileReader* plainFile() { return useConverted_ ? nullptr : &file_; }
    std::size_t skip() const { return skip_; }
    // What has gone (the first `sent` bytes) need not stay in memory.
    void releaseSent(std::size_t sent);

private:
    platform::FileReader file_;
    std::size_t skip_ = 0;
    std::string converted_;
    bool useConverted_ = false;
    std::vector<std::uint8_t> buffer_;
    std::size_t released_ = 0;
};

// One write (Ethernet) is handed to the link this many bytes at a time, so the bar moves while it
// goes and a large file is never resident whole; the printer still sees one write.
inline constexpr std::size_t kOneWritePiece = 64u << 10;

// Writes the source's bytes through the port object: one write when `chunk` is 0 (read and handed
// over in pieces of kOneWritePiece), else whole chunks while a whole chunk remains and then the
// rest (possibly no bytes, as the printer has always been sent). `afterChunk` runs after each
// whole chunk, or each piece of the one write, with the bytes sent so far. Stops at the first
// failed write, or at a piece the source cannot give (a file that changed), and returns false; a
// final write of zero bytes is no failure.
bool SendInChunks(link::CComm& comm, TransferSource& source, std::size_t chunk,
                  const std::function<void(std::size_t sent)>& afterChunk);

// Opens a link that is reopened around each transfer (USB) once for a whole transfer and closes
// it after; nothing on other links.
class UsbKeepOpen {
public:
    explicit UsbKeepOpen(link::CComm& comm);
    ~UsbKeepOpen();
    UsbKeepOpen(const UsbKeepOpen&) = delete;
    UsbKeepOpen& operator=(const UsbKeepOpen&) = delete;

private:
    link::CComm& comm_;
    bool active_;
};

// The port's time-outs around a file transfer: 20 s (and 1 ms a byte) for each read and write
// while it runs, so a printer that takes its time with a large chunk is not cut off; then 3 s,
// within which the bytes still queued in the port are let leave, before the port's own
// time-outs come back. The port is not reopened (which would purge what is still queued).
class TransferTimeouts {
public:
    static constexpr platform::Timeouts kDuring{0, 1, 20000, 1, 20000};
    static constexpr platform::Timeouts kAfter{0, 1, 3000, 1, 3000};
    explicit TransferTimeouts(link::CComm& comm);
    ~TransferTimeouts();
    TransferTimeouts(const TransferTimeouts&) = delete;
    TransferTimeouts& operator=(const TransferTimeouts&) = delete;

private:
    link::CComm& comm_;
};

// Lets the window repaint during a transfer, at most every few milliseconds, so a fast link is
// not slowed by a repaint after every chunk.
class RepaintPacer {
public:
    explicit RepaintPacer(platform::Clock& clock) : clock_(clock) {}
    void tick();

private:
    static constexpr std::uint64_t kIntervalMs = 20;
    platform::Clock& clock_;
    std::uint64_t last_ = 0;
    bool painted_ = false;
};

// A dialog's progress bar as a transfer's steps move it: its range (units of 2048 bytes, at least
// one) when the transfer starts, then the share of the bytes sent after each chunk or piece of the
// one write, full when the last byte went; the window repainted on the way. The caller puts the bar
// back to 0 at the end.
app::Steps progressBarSteps(ui::Control& bar, RepaintPacer& repaint);

// The file's name without its folder.
std::string BaseName(const std::string& path);

// The Browse button of both dialogs: the user picks a file; only a regular file can be sent (a
// FIFO or a device would never end), anything else shows "Can't open file!". A cancelled choice
// clears the file: no path, name "None", size "0 Byte".
struct FileChoice {
    enum class Outcome { Cancelled, Refused, Chosen } outcome = Outcome::Cancelled;
    std::string path;
    std::string name = "None";      // without its folder
    std::string sizeText = "0 Byte";  // "1234 Bytes"
};
FileChoice ChooseFileToSend(ui::Host& host, const ui::FileDialogRequest& request);

}  // namespace velmora::download
