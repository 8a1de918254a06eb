// The file transfer and the PCX image manager as operations: a file sent whole (or not at all
// said to be), an image stored, deleted, listed or recalled. The dialogs and the command line
// call these; a transfer's progress comes as steps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/operation.h"

namespace velmora::download {

// The command texts, CR and LF included.
std::string PcxStoreHeader(std::size_t size, const std::string& name);  // IS<size>,'<name>'
std::string PcxRecallTrailer(const std::string& name);                  // CR CR IR100,100,'<name>' CR P1 CR
std::string PcxDeleteCommand(const std::string& name);                  // ID'<name>' CR LF II CR LF
std::string PcxRecallCommand(int x, int y, const std::string& name);    // IR<x>,<y>,'<name>' CR P1 CR
inline constexpr char kPcxDeleteAll[] = "ID*\r\nII\r\n";
inline constexpr char kPcxInformation[] = "II\r\n";
// Whether a name can go between the apostrophes of a command: an apostrophe, CR or LF would end
// the command early and turn what follows (the image's bytes) into commands.
bool IsUsableImageName(const std::string& name);
// What stops a file from being an image the printer can store, judged from its first 128 bytes
// (the PCX header) and its size: empty when it is one (run-length encoded, one plane of 1 or 8
// bits, a sound size, at most kMaxPcxBytes). The window's DownLoad sends any file as it is; the
// command line asks this first unless told --raw.
inline constexpr std::uint64_t kMaxPcxBytes = 16u << 20;
inline constexpr int kMaxPcxDots = 32000;
std::string pcxImageProblem(std::string_view head, std::uint64_t fileSize);

// The file name without its last four characters (the ".pcx"); empty for four or fewer.
std::string ImageNameFromFile(const std::string& fileName);

// Sends the file at `path` as stored (a complete byte-order mark aside; UTF-16 text in the code
// page), in 4096-byte chunks (one write on Ethernet), within the transfer's time-outs, a USB
// link kept open throughout. Steps: Progress with the bytes sent of the total, once before the
// first byte, after each chunk (each piece of the one write) and after the rest. Done (237) only
// when every byte went; a failed write stops it (460), and so does a file that shrinks or is
// rewritten while it is sent (462); a file that cannot be opened fails (107).
app::Outcome sendFile(link::CComm& comm, const std::string& path, const app::Steps& steps = {});

// Stores the PCX file at `path` as image `name`: the header with the size of the bytes that
// follow, the bytes in 2048-byte chunks (one write on Ethernet), then the trailer that prints
// the image once. Steps as for sendFile. A name that would end the command is refused (148);
// nothing follows a write that failed (461).
app::Outcome storePcx(link::CComm& comm, const std::string& path, const std::string& name,
                      const app::Steps& steps = {});
app::Outcome deletePcx(link::CComm& comm, const std::string& name);
app::Outcome deleteAllPcx(link::CComm& comm);
app::Outcome pcxInformation(link::CComm& comm);
app::Outcome recallPcx(link::CComm& comm, const std::string& name, int x, int y);

}  // namespace velmora::download
