// The print spooler over CUPS (libcups). A queue's port string is its device URI, and a queue is
// attached to a port when that URI names the port's device. "Switching a queue to FILE:" pauses
// it, so its jobs wait in the queue instead of reaching the device; giving its port back resumes
// it. A paused queue reads as "FILE:" (it prints nowhere), so a queue the user had paused is
// neither attached to any port nor resumed by Velmora. The device URI itself is never changed.
// Where no CUPS server answers within the bound, there are no queues.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/spooler.h"

namespace velmora::platform {

// Whether a device URI ("serial:/dev/ttyS0?baud=9600", "parallel:/dev/lp0") names the device at
// `devicePath`: the whole path, not a longer name that starts with it (/dev/ttyS1 is not
// /dev/ttyS10), or a path that leads to the same device through symbolic links.
bool deviceUriNames(const std::string& uri, const std::string& devicePath);

// How long the spooler waits for the server to take a connection, and for each answer. A
// request may take about a second more: libcups waits that long for the server's go-ahead
// before it sends a request's body.
struct CupsTimeouts {
    unsigned connectMs = 1000;
    unsigned requestMs = 2000;
};

class CupsSpooler final : public PrintSpooler {
public:
    using Timeouts = CupsTimeouts;
    // server: "host", "host:port" or the path of a local socket; empty: the one libcups chooses
    // (CUPS_SERVER, client.conf, else the local scheduler).
    explicit CupsSpooler(std::string server = {}, Timeouts timeouts = {});
    ~CupsSpooler() override;
    CupsSpooler(const CupsSpooler&) = delete;
    CupsSpooler& operator=(const CupsSpooler&) = delete;

    std::vector<Queue> enumerate() override;
    std::optional<Handle> open(const std::string& printerName) override;
    SizeResult querySize(Handle h, std::size_t& size) override;
    std::optional<Queue> read(Handle h) override;
    // Port "FILE:" pauses the queue; any other port resumes it.
    bool write(Handle h, const Queue& info) override;
    void close(Handle h) override;
    bool attachedTo(const Queue& queue, const std::string& portName, const std::string& devicePath) override;

private:
    struct Connection;
    std::optional<Queue> queueAttributes(const std::string& printerName);
    const std::string* nameOf(Handle h) const;

    std::string server_;
    Timeouts timeouts_;
    std::unique_ptr<Connection> connection_;
    std::vector<std::optional<std::string>> opened_;  // by handle: the queue's name while open
};

}  // namespace velmora::platform
