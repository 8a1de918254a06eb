// The system's print queues, as far as the main window needs them: while Velmora holds a COM or
// LPT port, the queues printing to that port are pointed elsewhere so their jobs wait instead of
// reaching the printer, and afterwards they get their port back. The calls mirror what the
// queue switching needs (list, open, size query, read, write, close) so its every failure path
// can be exercised with a fake.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velmora::platform {

class PrintSpooler {
public:
    struct Queue {
        std::string printerName;
        std::string portName;  // the port string: one port or several separated by commas
    };
    enum class SizeResult { Ok, InsufficientBuffer, Failed };
    using Handle = int;

    virtual ~PrintSpooler() = default;
    virtual std::vector<Queue> enumerate() = 0;
    // A handle with full access, or nothing when the queue cannot be opened.
    virtual std::optional<Handle> open(const std::string& printerName) = 0;
    // How much room the queue's information needs; a real spooler answers "insufficient
    // buffer" to the size question, which is how it reports success.
    virtual SizeResult querySize(Handle h, std::size_t& size) = 0;
    virtual std::optional<Queue> read(Handle h) = 0;
    virtual bool write(Handle h, const Queue& info) = 0;
    virtual void close(Handle h) = 0;

    // Whether a queue prints to the port the user chose: `portName` as the program names it
    // ("COM1:"), `devicePath` the device the port map gives for it (/dev/ttyS0). Port strings
    // that name ports (Windows') contain the port name; this is what the fake spooler uses.
    virtual bool attachedTo(const Queue& queue, const std::string& portName, const std::string& /*devicePath*/) {
        return queue.portName.find(portName) != std::string::npos;
    }
};

// The port string a queue is switched to while Velmora holds its port.
constexpr const char* kFilePort = "FILE:";

// The system's spooler: CUPS when the program was built with libcups, else one without queues.
PrintSpooler& systemSpooler();
// A spooler that lists no queues, for runs that must leave the machine's queues alone.
PrintSpooler& spoolerWithoutQueues();

}  // namespace velmora::platform
