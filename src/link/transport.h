// How bytes move on one kind of link. The port object picks the transport of the kind its port
// name names and keeps what every kind shares (the observer, actions, the code page); each
// transport keeps its kind's rules: retries and reopening around a transfer for the devices,
// one send and one pause for a TCP connection that stays up between uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/filereader.h"

namespace velmora::link {

class CComm;
struct OpenFailure {
    std::string device;  // the device or "address:port" that would not open
    int error = 0;       // its errno; 0 when it reports none
};

// The n bytes of `file` at skip + offset, read into `buffer`; an empty span when the file is not
// as it was opened.
std::function<std::span<const std::uint8_t>(std::size_t offset, std::size_t n)> filePieces(
    platform::FileReader& file, std::uint64_t skip, std::vector<std::uint8_t>& buffer);

class Transport {
public:
    using PieceSource = std::function<std::span<const std::uint8_t>(std::size_t offset, std::size_t n)>;
    using AfterPiece = std::function<void(std::size_t written)>;

    virtual ~Transport() = default;
    // Opens the link, or makes sure the connection is up; nonzero on success, else the port
    // object's open failure says why.
    virtual int open() = 0;
    // Ends a use of the link. A device is let go; a TCP connection stays up until CloseTcp.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // One write, as CComm::WriteBytes returns it.
    virtual int write(const std::uint8_t* data, std::size_t count) = 0;
    // One write of `count` bytes taken from `source` `piece` at a time (see CComm::WriteFromSource).
    virtual int writeFrom(std::size_t count, std::size_t piece, const PieceSource& source,
                          const AfterPiece& afterPiece, const bool& sourceFailed) = 0;
    // The same write with the bytes [skip, skip + count) of `file` (see CComm::WriteFromFile);
    // this one reads them piece by piece for writeFrom.
    virtual int writeFile(platform::FileReader& file, std::uint64_t skip, std::size_t count, std::size_t piece,
                          const AfterPiece& afterPiece, bool& sourceFailed);
    // One read, as CComm::ReadBytes returns it.
    virtual int read(std::uint8_t* buf, std::size_t count) = 0;
    // The link as a trace names it.
    virtual std::string name() const = 0;
    // The open device; null for a TCP connection.
    virtual platform::Device* device() const { return nullptr; }
    // Back to the time-outs the open set.
    virtual void restoreTimeouts() {}
};

// The transport of the kind `comm.kind` names, over the port object's settings; it notes why an
// open failed in `failure`.
std::unique_ptr<Transport> makeTransport(CComm& comm, OpenFailure& failure);

}  // namespace velmora::link
