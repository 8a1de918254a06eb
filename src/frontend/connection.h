// The connection both programs take on their command line (velmora-cli before its command,
// velmora with --dialog): --tcp, --serial with its line settings, --lpt or --usb, and the
// network bound --timeout; and the port object set up for it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "link/comm.h"

namespace velmora::frontend {

struct ConnectionOptions {
    enum class Connection { Tcp, Serial, Lpt, Usb };
    Connection connection = Connection::Tcp;
    std::string host = "127.0.0.1";
    unsigned port = 9100;
    std::string device;  // serial or parallel device path
    unsigned baud = 115200;
    int dataBits = 8;
    int parity = 0;    // 0 none, 1 odd, 2 even
    int stopBits = 0;  // 0 one, 1 one and a half, 2 two
    std::optional<unsigned> timeoutMs;
};

enum class Taken { No, Yes, Error };

// The value after option args[i] into `value` (i moves to it); false, with `error` set, when
// there is none.
bool takeOptionValue(const std::vector<std::string>& args, std::size_t& i, std::string& value, std::string& error);

// Takes the connection option at args[i] and its value (i moves past it), counting the
// connections named in `connections`. No: args[i] is no connection option; Error: `error` says why.
Taken takeConnectionOption(const std::vector<std::string>& args, std::size_t& i, ConnectionOptions& options,
                           int& connections, std::string& error);
// Connection options and nothing else, at most one connection; nothing and `error` set otherwise.
std::optional<ConnectionOptions> parseConnection(const std::vector<std::string>& args, std::string& error);

// Sets the port object up for the connection.
void configureLink(link::CComm& comm, const ConnectionOptions& options);

// Digits only, at most nine of them.
bool parseUnsigned(const std::string& text, unsigned& out);

}  // namespace velmora::frontend
