// The scrape server: accept, read the head within its bound, answer, close. One connection at a
// time keeps it small; the bounds keep a stuck client from holding it for long.
#include "platform/httpserver.h"

#include <algorithm>
#include <chrono>

#include "platform/server.h"

namespace velmora::platform {

namespace {

constexpr unsigned kAcceptSliceMs = 100;  // how soon stop() is noticed
constexpr std::size_t kSendPiece = 16 * 1024;

const char* reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        default:
            return "Internal Server Error";
    }
}

unsigned msLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<unsigned>(left.count()) : 0;
}

}  // namespace

std::optional<HttpRequest> parseRequestLine(std::string_view head) {
    const std::string_view line = head.substr(0, head.find_first_of("\r\n"));
    const auto first = line.find(' ');
    const auto second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos)
        return std::nullopt;
    HttpRequest r{std::string(line.substr(0, first)),
                  std::string(line.substr(first + 1, second - first - 1))};
    if (r.method.empty() || r.path.empty() || r.path[0] != '/' ||
        !line.substr(second + 1).starts_with("HTTP/"))
        return std::nullopt;
    r.path = r.path.substr(0, r.path.find('?'));
    return r;
}

std::string httpAnswer(const HttpRequest& request, const HttpResponse& given) {
    HttpResponse response = given;
    const bool head = request.method == "HEAD";
    if (request.method != "GET" && !head) response = {405, "text/plain; charset=utf-8", "GET or HEAD only\n"};
    std::string out = "HTTP/1.1 " + std::to_string(response.status) + " " + reason(response.status) + "\r\n";
    out += "Content-Type: " + response.contentType + "\r\n";
    out += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    if (response.status == 405) out += "Allow: GET, HEAD\r\n";
    out += "Connection: close\r\n\r\n";
    if (!head) out += response.body;
    return out;
}

HttpServer::HttpServer(Handler handler) : handler_(std::move(handler)) {}

HttpServer::~HttpServer() { stop(); }

bool HttpServer::start(const std::string& address, unsigned port) {
    stop();
    listener_ = std::make_unique<TcpListener>();
    if (!listener_->listen(address, port)) {
        error_ = listener_->error();
        listener_.reset();
        return false;
    }
    port_ = listener_->port();
    stopping_ = false;
    thread_ = std::thread([this] { serve(); });
    return true;
}

void HttpServer::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_) listener_->close();
    listener_.reset();
}

void HttpServer::serve() {
    while (!stopping_) {
        const auto client = listener_->accept(kAcceptSliceMs);
        if (!client) continue;
        const auto headDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRequestMs);
        std::string head;
        bool complete = false;
        while (!stopping_ && head.size() < kMaxHead) {
            std::uint8_t buf[1024];
            const unsigned left = msLeft(headDeadline);
            if (left == 0) break;
            const long got = client->receive(buf, std::min(sizeof buf, kMaxHead - head.size()), left);
            if (got <= 0) break;
            head.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(got));
            if (head.find("\r\n\r\n") != std::string::npos || head.find("\n\n") != std::string::npos) {
                complete = true;
                break;
            }
        }
        if (!complete) continue;  // nothing whole came in time: drop the connection
        const auto request = parseRequestLine(head);
        const HttpRequest asked = request ? *request : HttpRequest{"GET", "/"};
        HttpResponse response =
            request ? HttpResponse{} : HttpResponse{400, "text/plain; charset=utf-8", "bad request\n"};
        if (request && (request->method == "GET" || request->method == "HEAD")) response = handler_(*request);
        const std::string answer = httpAnswer(asked, response);
        const auto answerDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerMs);
        for (std::size_t sent = 0; sent < answer.size() && !stopping_;) {
            const unsigned left = msLeft(answerDeadline);
            const std::size_t n = std::min(kSendPiece, answer.size() - sent);
            const long r =
                left ? client->send(reinterpret_cast<const std::uint8_t*>(answer.data() + sent), n, left) : 0;
            if (r <= 0) break;
            sent += static_cast<std::size_t>(r);
        }
        client->close();
    }
}

}  // namespace velmora::platform
