// A small HTTP/1.1 server for a monitoring system's scrapes: GET and HEAD of one page at a time,
// each answer computed by the caller's handler, one request per connection. It runs on a thread
// of its own; a client that is slow to send its request or to take the answer costs at most
// the bounds below, never a printer's poll.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace velmora::platform {

class TcpListener;

struct HttpRequest {
    std::string method;  // "GET"
    std::string path;    // "/metrics", without its query
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string body;
};

// The request line of a request's head ("GET /metrics?x=1 HTTP/1.1"); nothing when it is not
// one (three parts, a path starting with '/', an HTTP version).
std::optional<HttpRequest> parseRequestLine(std::string_view head);
// The whole answer as it goes on the wire; HEAD gets the head only, and a method other than GET
// and HEAD gets 405 without asking the handler.
std::string httpAnswer(const HttpRequest& request, const HttpResponse& response);

class HttpServer {
  public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;
    static constexpr unsigned kRequestMs = 3000;  // the request's head must come within this
    static constexpr unsigned kAnswerMs = 10000;  // and the answer be taken within this
    static constexpr std::size_t kMaxHead = 8192;

    explicit HttpServer(Handler handler);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Listens on address:port (port 0 picks one) and starts serving; false with error() set.
    bool start(const std::string& address, unsigned port);
    unsigned port() const { return port_; }
    const std::string& error() const { return error_; }
    // Stops serving and waits for the thread (within a wait slice).
    void stop();

  private:
    void serve();

    Handler handler_;
    std::unique_ptr<TcpListener> listener_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    unsigned port_ = 0;
    std::string error_;
};

}  // namespace velmora::platform
