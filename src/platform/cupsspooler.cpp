// The CUPS backend of the print spooler, and the system's spooler when libcups is built in.
// Every request runs on one connection with bounded waits; a password is never asked for (an
// operation the user may not do fails, and the queue is skipped as any other that cannot be
// switched).
#include "platform/cupsspooler.h"

#include <cups/cups.h>
#include <dlfcn.h>
#include <sys/socket.h>

#include <cctype>
#include <filesystem>
#include <system_error>
#include <type_traits>

namespace velmora::platform {

namespace {

// libcups, loaded the first time a queue is asked for: it brings TLS, Kerberos and Avahi, whose
// start-up no command that never pauses a queue should pay. Without it there are no queues.
struct CupsLibrary {
    decltype(&::cupsDoRequest) cupsDoRequest;
    decltype(&::cupsEncryption) cupsEncryption;
    decltype(&::cupsLastError) cupsLastError;
    decltype(&::cupsServer) cupsServer;
    decltype(&::cupsSetPasswordCB2) cupsSetPasswordCB2;
    decltype(&::cupsUser) cupsUser;
    decltype(&::httpAssembleURIf) httpAssembleURIf;
    decltype(&::httpClose) httpClose;
    decltype(&::httpConnect2) httpConnect2;
    decltype(&::httpSetTimeout) httpSetTimeout;
    decltype(&::ippAddString) ippAddString;
    decltype(&::ippAddStrings) ippAddStrings;
    decltype(&::ippDelete) ippDelete;
    decltype(&::ippFirstAttribute) ippFirstAttribute;
    decltype(&::ippGetGroupTag) ippGetGroupTag;
    decltype(&::ippGetInteger) ippGetInteger;
    decltype(&::ippGetName) ippGetName;
    decltype(&::ippGetString) ippGetString;
    decltype(&::ippGetValueTag) ippGetValueTag;
    decltype(&::ippNewRequest) ippNewRequest;
    decltype(&::ippNextAttribute) ippNextAttribute;
    decltype(&::ippPort) ippPort;
};

const CupsLibrary* loadCups() {
    static const CupsLibrary* const loaded = []() -> const CupsLibrary* {
        void* handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!handle) return nullptr;
        static CupsLibrary api;
        bool complete = true;
        auto take = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
            complete = complete && function;
        };
        take(api.cupsDoRequest, "cupsDoRequest");
        take(api.cupsEncryption, "cupsEncryption");
        take(api.cupsLastError, "cupsLastError");
        take(api.cupsServer, "cupsServer");
        take(api.cupsSetPasswordCB2, "cupsSetPasswordCB2");
        take(api.cupsUser, "cupsUser");
        take(api.httpAssembleURIf, "httpAssembleURIf");
        take(api.httpClose, "httpClose");
        take(api.httpConnect2, "httpConnect2");
        take(api.httpSetTimeout, "httpSetTimeout");
        take(api.ippAddString, "ippAddString");
        take(api.ippAddStrings, "ippAddStrings");
        take(api.ippDelete, "ippDelete");
        take(api.ippFirstAttribute, "ippFirstAttribute");
        take(api.ippGetGroupTag, "ippGetGroupTag");
        take(api.ippGetInteger, "ippGetInteger");
        take(api.ippGetName, "ippGetName");
        take(api.ippGetString, "ippGetString");
        take(api.ippGetValueTag, "ippGetValueTag");
        take(api.ippNewRequest, "ippNewRequest");
        take(api.ippNextAttribute, "ippNextAttribute");
        take(api.ippPort, "ippPort");
        return complete ? &api : nullptr;
    }();
    return loaded;
}

// The library's functions; called only after a connection was made, so once it is loaded.
const CupsLibrary& cups() { return *loadCups(); }

}  // namespace

namespace {

constexpr const char* kRequestedAttributes[] = {"printer-name", "device-uri", "printer-state", "printer-type"};

// No prompt on the terminal, no stored password: refuse.
const char* noPassword(const char*, http_t*, const char*, const char*, void*) { return nullptr; }
// A wait that ran out ends the request.
int giveUp(http_t*, void*) { return 0; }

bool continuesName(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == '/';
}

bool containsWholePath(const std::string& uri, const std::string& path) {
    if (path.empty()) return false;
    for (auto at = uri.find(path); at != std::string::npos; at = uri.find(path, at + 1)) {
        const bool startsWell = at == 0 || uri[at - 1] == ':' || uri[at - 1] == '/' || uri[at - 1] == '=';
        const std::size_t end = at + path.size();
        if (startsWell && (end == uri.size() || !continuesName(uri[end]))) return true;
    }
    return false;
}

// The device path a URI names: what follows the scheme (and an empty "//" authority), up to
// its options.
std::string uriPath(const std::string& uri) {
    const auto colon = uri.find(':');
    if (colon == std::string::npos) return {};
    std::string path = uri.substr(colon + 1, uri.find_first_of("?#", colon + 1) - colon - 1);
    if (path.rfind("//", 0) == 0) path.erase(0, 2);
    return path;
}

std::string resolved(const std::string& path) {
    std::error_code ec;
    const auto canonical = std::filesystem::canonical(path, ec);
    return ec ? std::string() : canonical.string();
}

std::string printerUri(const std::string& name) {
    char uri[HTTP_MAX_URI];
    cups().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                     name.c_str());
    return uri;
}

// One printer's attributes from the group starting at `attr`; leaves `attr` at the group's end.
struct PrinterAttributes {
    std::string name;
    std::string deviceUri;
    int state = 0;
    int type = 0;
};

PrinterAttributes takePrinter(ipp_t* response, ipp_attribute_t*& attr) {
    PrinterAttributes p;
    for (; attr && cups().ippGetGroupTag(attr) == IPP_TAG_PRINTER; attr = cups().ippNextAttribute(response)) {
        const char* name = cups().ippGetName(attr);
        if (!name) continue;
        const std::string n = name;
        if (n == "printer-name" && cups().ippGetValueTag(attr) == IPP_TAG_NAME) p.name = cups().ippGetString(attr, 0, nullptr);
        else if (n == "device-uri" && cups().ippGetValueTag(attr) == IPP_TAG_URI) p.deviceUri = cups().ippGetString(attr, 0, nullptr);
        else if (n == "printer-state" && cups().ippGetValueTag(attr) == IPP_TAG_ENUM) p.state = cups().ippGetInteger(attr, 0);
        else if (n == "printer-type" && cups().ippGetValueTag(attr) == IPP_TAG_ENUM) p.type = cups().ippGetInteger(attr, 0);
    }
    return p;
}

PrintSpooler::Queue queueOf(const PrinterAttributes& p) {
    // A stopped queue prints nowhere: it reads as switched away already.
    return {p.name, p.state == IPP_PSTATE_STOPPED ? std::string(kFilePort) : p.deviceUri};
}

void addRequestedAttributes(ipp_t* request) {
    cups().ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kRequestedAttributes)), nullptr, kRequestedAttributes);
}

}  // namespace

bool deviceUriNames(const std::string& uri, const std::string& devicePath) {
    if (devicePath.empty()) return false;
    if (containsWholePath(uri, devicePath)) return true;
    const std::string device = resolved(devicePath);
    if (device.empty()) return false;
    if (device != devicePath && containsWholePath(uri, device)) return true;
    const std::string named = uriPath(uri);
    return !named.empty() && resolved(named) == device;
}

namespace {

// "host:port" into its parts; a socket path or a host without a port keeps the port given.
void splitServer(const std::string& server, std::string& host, int& port) {
    host = server;
    if (server.empty() || server.front() == '/') return;
    const auto colon = server.rfind(':');
    const auto bracket = server.rfind(']');
    if (colon == std::string::npos || (bracket != std::string::npos && colon < bracket)) return;
    const std::string digits = server.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return;
    host = server.substr(0, colon);
    port = std::stoi(digits);
}

}  // namespace

// The connection to the server, made on first use and made again after an exchange failed.
struct CupsSpooler::Connection {
    http_t* http = nullptr;

    ~Connection() { drop(); }
    void drop() {
        if (http) cups().httpClose(http);
        http = nullptr;
    }
    bool ensure(const std::string& server, const Timeouts& timeouts) {
        if (http) return true;
        if (!loadCups()) return false;
        std::string host;
        int port = cups().ippPort();  // libcups' own server comes with its port already in ippPort()
        splitServer(server.empty() ? std::string(cups().cupsServer()) : server, host, port);
        if (host.empty()) return false;
        http = cups().httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC, cups().cupsEncryption(), 1,
                            static_cast<int>(timeouts.connectMs), nullptr);
        if (!http) return false;
        cups().httpSetTimeout(http, timeouts.requestMs / 1000.0, giveUp, nullptr);
        return true;
    }
    // Runs one request (freeing it): the response, or null when the server did not answer with
    // success. A failed exchange drops the connection.
    ipp_t* perform(ipp_t* request, const char* resource) {
        cups().cupsSetPasswordCB2(noPassword, nullptr);
        ipp_t* response = cups().cupsDoRequest(http, request, resource);
        const ipp_status_t status = cups().cupsLastError();
        if (response && status <= IPP_STATUS_OK_CONFLICTING) return response;
        if (!response || status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL)
            drop();
        cups().ippDelete(response);
        return nullptr;
    }
};

CupsSpooler::CupsSpooler(std::string server, Timeouts timeouts)
    : server_(std::move(server)), timeouts_(timeouts), connection_(std::make_unique<Connection>()) {}

CupsSpooler::~CupsSpooler() = default;

std::vector<PrintSpooler::Queue> CupsSpooler::enumerate() {
    std::vector<Queue> queues;
    if (!connection_->ensure(server_, timeouts_)) return queues;
    ipp_t* request = cups().ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    addRequestedAttributes(request);
    ipp_t* response = connection_->perform(request, "/");
    if (!response) return queues;
    for (ipp_attribute_t* attr = cups().ippFirstAttribute(response); attr; attr = cups().ippNextAttribute(response)) {
        while (attr && cups().ippGetGroupTag(attr) != IPP_TAG_PRINTER) attr = cups().ippNextAttribute(response);
        if (!attr) break;
        const PrinterAttributes p = takePrinter(response, attr);
        // Classes and other servers' queues have no device on this machine.
        if (!p.name.empty() && !p.deviceUri.empty() && !(p.type & (CUPS_PRINTER_CLASS | CUPS_PRINTER_REMOTE)))
            queues.push_back(queueOf(p));
        if (!attr) break;
    }
    cups().ippDelete(response);
    return queues;
}

std::optional<PrintSpooler::Queue> CupsSpooler::queueAttributes(const std::string& printerName) {
    if (!connection_->ensure(server_, timeouts_)) return std::nullopt;
    ipp_t* request = cups().ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri(printerName).c_str());
    addRequestedAttributes(request);
    ipp_t* response = connection_->perform(request, "/");
    if (!response) return std::nullopt;
    ipp_attribute_t* attr = cups().ippFirstAttribute(response);
    while (attr && cups().ippGetGroupTag(attr) != IPP_TAG_PRINTER) attr = cups().ippNextAttribute(response);
    const PrinterAttributes p = takePrinter(response, attr);
    cups().ippDelete(response);
    if (p.name.empty()) return std::nullopt;
    return queueOf(p);
}

const std::string* CupsSpooler::nameOf(Handle h) const {
    if (h < 0 || static_cast<std::size_t>(h) >= opened_.size() || !opened_[h]) return nullptr;
    return &*opened_[h];
}

std::optional<PrintSpooler::Handle> CupsSpooler::open(const std::string& printerName) {
    if (!queueAttributes(printerName)) return std::nullopt;
    for (std::size_t i = 0; i < opened_.size(); ++i) {
        if (!opened_[i]) {
            opened_[i] = printerName;
            return static_cast<Handle>(i);
        }
    }
    opened_.emplace_back(printerName);
    return static_cast<Handle>(opened_.size() - 1);
}

PrintSpooler::SizeResult CupsSpooler::querySize(Handle h, std::size_t& size) {
    const std::string* name = nameOf(h);
    if (!name || !queueAttributes(*name)) return SizeResult::Failed;
    size = sizeof(Queue);
    return SizeResult::InsufficientBuffer;  // how a spooler says "this much room, please"
}

std::optional<PrintSpooler::Queue> CupsSpooler::read(Handle h) {
    const std::string* name = nameOf(h);
    return name ? queueAttributes(*name) : std::nullopt;
}

bool CupsSpooler::write(Handle h, const Queue& info) {
    const std::string* name = nameOf(h);
    if (!name || !connection_->ensure(server_, timeouts_)) return false;
    ipp_t* request = cups().ippNewRequest(info.portName == kFilePort ? IPP_OP_PAUSE_PRINTER : IPP_OP_RESUME_PRINTER);
    cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri(*name).c_str());
    cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cups().cupsUser());
    ipp_t* response = connection_->perform(request, "/admin/");
    const bool done = response != nullptr;
    cups().ippDelete(response);
    return done;
}

void CupsSpooler::close(Handle h) {
    if (nameOf(h)) opened_[h].reset();
}

bool CupsSpooler::attachedTo(const Queue& queue, const std::string&, const std::string& devicePath) {
    return deviceUriNames(queue.portName, devicePath);
}

PrintSpooler& systemSpooler() {
    static CupsSpooler spooler;
    return spooler;
}

}  // namespace velmora::platform
