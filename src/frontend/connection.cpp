// Connection options and the link they set up.
#include "frontend/connection.h"

#include <map>

namespace velmora::frontend {

bool parseUnsigned(const std::string& text, unsigned& out) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    out = static_cast<unsigned>(std::stoul(text));
    return true;
}

namespace {

// HOST, HOST:PORT, an IPv6 address alone, or [IPV6] and [IPV6]:PORT.
bool splitHostPort(const std::string& v, std::string& host, unsigned& port, std::string& error) {
    std::string portText;
    bool hasPort = false;
    if (!v.empty() && v[0] == '[') {
        const auto close = v.find(']');
        if (close == std::string::npos || (close + 1 < v.size() && v[close + 1] != ':')) {
            error = "bad address in --tcp " + v + " (write an IPv6 address as [ADDRESS] or [ADDRESS]:PORT)";
            return false;
        }
        host = v.substr(1, close - 1);
        hasPort = close + 1 < v.size();
        if (hasPort) portText = v.substr(close + 2);
    } else if (const auto colon = v.find(':'); colon != std::string::npos && v.find(':', colon + 1) == std::string::npos) {
        host = v.substr(0, colon);
        hasPort = true;
        portText = v.substr(colon + 1);
    } else {
        host = v;  // no colon, or an IPv6 address without brackets and so without a port
    }
    if (hasPort && (!parseUnsigned(portText, port) || port == 0 || port > 65535)) {
        error = "bad port in --tcp " + v;
        return false;
    }
    if (host.empty()) {
        error = "--tcp needs a host";
        return false;
    }
    return true;
}

}  // namespace

bool takeOptionValue(const std::vector<std::string>& args, std::size_t& i, std::string& value, std::string& error) {
    if (i + 1 >= args.size()) {
        error = args[i] + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

Taken takeConnectionOption(const std::vector<std::string>& args, std::size_t& i, ConnectionOptions& o,
                           int& connections, std::string& error) {
    const std::string& a = args[i];
    auto value = [&](std::string& v) { return takeOptionValue(args, i, v, error); };
    std::string v;
    if (a == "--tcp") {
        if (!value(v)) return Taken::Error;
        ++connections;
        o.connection = ConnectionOptions::Connection::Tcp;
        if (!splitHostPort(v, o.host, o.port, error)) return Taken::Error;
    } else if (a == "--serial" || a == "--lpt") {
        if (!value(o.device)) return Taken::Error;
        if (o.device.empty()) {
            error = a + " needs a device";
            return Taken::Error;
        }
        ++connections;
        o.connection = a == "--serial" ? ConnectionOptions::Connection::Serial : ConnectionOptions::Connection::Lpt;
    } else if (a == "--usb") {
        ++connections;
        o.connection = ConnectionOptions::Connection::Usb;
    } else if (a == "--baud") {
        if (!value(v)) return Taken::Error;
        if (v != "9600" && v != "19200" && v != "38400" && v != "57600" && v != "115200") {
            error = "--baud takes 9600, 19200, 38400, 57600 or 115200";
            return Taken::Error;
        }
        o.baud = static_cast<unsigned>(std::stoul(v));
    } else if (a == "--data-bits") {
        if (!value(v)) return Taken::Error;
        if (v != "7" && v != "8") {
            error = "--data-bits takes 7 or 8";
            return Taken::Error;
        }
        o.dataBits = v[0] - '0';
    } else if (a == "--parity") {
        if (!value(v)) return Taken::Error;
        static const std::map<std::string, int> parities = {{"none", 0}, {"odd", 1}, {"even", 2}};
        const auto it = parities.find(v);
        if (it == parities.end()) {
            error = "--parity takes none, odd or even";
            return Taken::Error;
        }
        o.parity = it->second;
    } else if (a == "--stop-bits") {
        if (!value(v)) return Taken::Error;
        static const std::map<std::string, int> stops = {{"1", 0}, {"1.5", 1}, {"2", 2}};
        const auto it = stops.find(v);
        if (it == stops.end()) {
            error = "--stop-bits takes 1, 1.5 or 2";
            return Taken::Error;
        }
        o.stopBits = it->second;
    } else if (a == "--timeout") {
        unsigned ms = 0;
        if (!value(v)) return Taken::Error;
        if (!parseUnsigned(v, ms) || ms == 0) {
            error = "--timeout takes a number of milliseconds";
            return Taken::Error;
        }
        o.timeoutMs = ms;
    } else {
        return Taken::No;
    }
    return Taken::Yes;
}

std::optional<ConnectionOptions> parseConnection(const std::vector<std::string>& args, std::string& error) {
    ConnectionOptions o;
    int connections = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        switch (takeConnectionOption(args, i, o, connections, error)) {
            case Taken::Yes:
                continue;
            case Taken::Error:
                return std::nullopt;
            case Taken::No:
                error = (args[i].rfind("--", 0) == 0 ? "unknown option " : "unexpected ") + args[i];
                return std::nullopt;
        }
    }
    if (connections > 1) {
        error = "give one connection only";
        return std::nullopt;
    }
    return o;
}

void configureLink(link::CComm& comm, const ConnectionOptions& o) {
    switch (o.connection) {
        case ConnectionOptions::Connection::Tcp:
            comm.portName = "ETHERNET";
            comm.socket.SetTarget(o.host, o.port);
            break;
        case ConnectionOptions::Connection::Serial:
            // The device given stands in for the first COM port.
            comm.portName = "COM1:";
            comm.portMap.set("COM1", o.device);
            break;
        case ConnectionOptions::Connection::Lpt:
            comm.portName = "LPT1:";
            comm.portMap.set("LPT1", o.device);
            break;
        case ConnectionOptions::Connection::Usb:
            comm.portName = "USB";
            break;
    }
    comm.baudRate = o.baud;
    comm.dataBits = o.dataBits;
    comm.parity = o.parity;
    comm.stopBits = o.stopBits;
    if (o.timeoutMs) comm.socket.timeouts = {*o.timeoutMs, *o.timeoutMs, *o.timeoutMs};
}

}  // namespace velmora::frontend
