// The port object: the only path between the program and the printer. It opens the link named
// by its port name (serial, parallel, USB or Ethernet), writes commands with bounded retries,
// reads replies, and closes the link, following the transfer rule of each kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/asocket.h"
#include "link/commobserver.h"
#include "link/linktraits.h"
#include "link/messages.h"
#include "link/transport.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/portmap.h"
#include "platform/registry.h"

namespace velmora::link {

class CComm {
public:
    CComm(platform::DeviceFactory& devices, platform::Clock& clock, LinkMessages& messages);
    virtual ~CComm();
    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    // Nonzero on success.
    int Open();
    void Close();
    void CloseTcp();
    // 1 for serial, parallel and USB; the byte count sent for Ethernet. 0 on failure, after
    // message 111 (or the connect message when Ethernet cannot connect); the program goes on.
    int WriteBytes(const std::uint8_t* data, std::size_t count);
    // One write of count bytes, as WriteBytes makes it (the same bytes on the link, the same
    // result; on Ethernet one send and one pause after it), handed to the link `piece` bytes at a
    // time so that a large buffer need not be in memory whole: `afterPiece` gets the bytes
    // written so far after each piece. Serial, parallel and USB write each piece with the
    // retries of a write, within one reopen of a USB link.
    int WriteBytesInPieces(const std::uint8_t* data, std::size_t count, std::size_t piece,
                           const std::function<void(std::size_t written)>& afterPiece);
    // The same one write with its bytes handed over by `source` a piece at a time (the n bytes at
    // an offset), so a file is read as it is sent. A source that cannot give a piece (an empty
    // span: the file changed) stops the write, which returns 0 with no message: the link did
    // nothing wrong, and sourceFailed() says so.
    using PieceSource = CASocket::PieceSource;
    int WriteFromSource(std::size_t count, std::size_t piece, const PieceSource& source,
                        const std::function<void(std::size_t written)>& afterPiece);
    // The same one write with the bytes [skip, skip + count) of a file. Over TCP the system sends
    // them straight from the file, unless a trace must see them.
    int WriteFromFile(platform::FileReader& file, std::uint64_t skip, std::size_t count, std::size_t piece,
                      const std::function<void(std::size_t written)>& afterPiece);
    bool sourceFailed() const { return sourceFailed_; }
    // UTF-8 text converted to the system code page, then written as WriteBytes does.
    int WriteText(const std::string& text);
    // The number of bytes placed in buf (Ethernet: 0 when the printer closed or stayed silent,
    // -1 on a socket error).
    int ReadBytes(std::uint8_t* buf, std::size_t count);

    // The open device's time-outs (serial; the other kinds keep their own bounds, Ethernet the
    // socket's). True when there is nothing to set them on.
    bool SetTimeouts(const platform::Timeouts& timeouts);
    // Back to the time-outs the open set.
    void RestoreTimeouts();
    // Waits, within the device's write time-out, until the bytes written have left it.
    bool DrainOutput();

    bool isOpen() const;  // a device is open, or the TCP connection is up
    // What the kind of link means for the tools.
    const LinkTraits& traits() const { return linkTraits(kind); }
    // Starts one action of a tool (a button press, a command): see CASocket::BeginAction.
    void BeginAction() { socket.BeginAction(); }

    InterfaceKind kind = kSerial;
    int modelIndex = -1;
    std::string devicePath;  // last USB printer found
    unsigned baudRate = 0;
    int parity = 0;    // 0 none, 1 odd, 2 even
    int dataBits = 0;  // 7 or 8
    int stopBits = 0;  // 0 one, 1 one and a half, 2 two
    bool legacyWindows = false;  // the Windows 95 family; computed at construction, never set on Linux
    std::string portName;  // "COM1:" ... "COM20:", "LPT1:" ... "LPT4:", "USB", "ETHERNET"
    bool keepOpen = false;
    CASocket socket;
    platform::PortMap portMap;
    // The registry the USB access grant widens (the system's: on Linux it has no keys).
    platform::Registry* registry = &platform::systemRegistry();
    // The model catalog's USB product ids, which USB discovery consults on the Windows 95 family.
    std::vector<std::string> catalogProductIds;
    // Sees every write and read (the session trace); null: nobody watches.
    CommObserver* observer = nullptr;
    // The link as a trace names it: the port name, and the address or device behind it.
    std::string linkName() const;

    // Why the last open failed: the device that would not open and the errno it reported (EACCES:
    // no permission; 0 when the device reports none). Cleared by every Open; for USB it names the
    // first known printer that would not open, and stays empty when none was found; for Ethernet
    // it names "address:port" and why the connect failed (ECONNREFUSED, ETIMEDOUT ...).
    using OpenFailure = link::OpenFailure;
    const OpenFailure& openFailure() const { return openFailure_; }

    // The open device (serial, parallel, USB), or null.
    platform::Device* handle() const { return transport_ ? transport_->device() : nullptr; }
    platform::Clock& clock() const { return clock_; }
    platform::DeviceFactory& devices() const { return devices_; }
    LinkMessages& messages() const { return *messages_; }
    // Where the link's messages go (the socket's too).
    void setMessages(LinkMessages& messages) {
        messages_ = &messages;
        socket.setMessages(messages);
    }

private:
    // The transport of the kind, made when the link opens (or at a first transfer without an open).
    Transport& transport();

    platform::DeviceFactory& devices_;
    platform::Clock& clock_;
    LinkMessages* messages_;
    std::unique_ptr<Transport> transport_;
    OpenFailure openFailure_;
    bool sourceFailed_ = false;
};

}  // namespace velmora::link
