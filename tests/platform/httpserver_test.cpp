// The scrape server: request lines, answers, and a whole round trip over loopback.
#include "platform/httpserver.h"

#include <gtest/gtest.h>

#include "platform/tcpsocket.h"

namespace velmora::platform {
namespace {

TEST(HttpRequestLine, ReadOrRefused) {
    const struct {
        const char* head;
        const char* method;  // nullptr: refused
        const char* path;
    } cases[] = {
        {"GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n", "GET", "/metrics"},
        {"HEAD /metrics?name[]=up HTTP/1.0\r\n\r\n", "HEAD", "/metrics"},
        {"GET metrics HTTP/1.1\r\n\r\n", nullptr, nullptr},
        {"GET /metrics\r\n\r\n", nullptr, nullptr},
        {"GET /a b HTTP/1.1\r\n\r\n", nullptr, nullptr},
        {"\r\n\r\n", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head);
        const auto r = parseRequestLine(c.head);
        ASSERT_EQ(r.has_value(), c.method != nullptr);
        if (!r) continue;
        EXPECT_EQ(r->method, c.method);
        EXPECT_EQ(r->path, c.path);
    }
}

TEST(HttpAnswer, HeadHasNoBodyAndOtherMethodsAreRefused) {
    const HttpResponse page{200, "text/plain", "hello\n"};
    EXPECT_EQ(httpAnswer({"GET", "/"}, page),
              "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 6\r\nConnection: "
              "close\r\n\r\nhello\n");
    EXPECT_EQ(
        httpAnswer({"HEAD", "/"}, page),
        "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 6\r\nConnection: close\r\n\r\n");
    const std::string post = httpAnswer({"POST", "/"}, page);
    EXPECT_EQ(post.rfind("HTTP/1.1 405 Method Not Allowed\r\n", 0), 0u) << post;
    EXPECT_NE(post.find("Allow: GET, HEAD\r\n"), std::string::npos);
}

std::string fetch(unsigned port, const std::string& request) {
    TcpSocket client;
    if (client.connect("127.0.0.1", port, 2000) != StreamSocket::ConnectResult::Ok) return "no connection";
    client.send(reinterpret_cast<const std::uint8_t*>(request.data()), request.size(), 2000);
    std::string got;
    std::uint8_t buf[65536];
    for (long n; (n = client.receive(buf, sizeof buf, 2000)) > 0;)
        got.append(reinterpret_cast<char*>(buf), n);
    return got;
}

TEST(HttpServer, AnswersEachRequestAndClosesEvenForALargeBody) {
    const std::string large(300000, 'x');
    HttpServer server([&large](const HttpRequest& r) {
        if (r.path == "/large") return HttpResponse{200, "text/plain", large};
        return HttpResponse{404, "text/plain", "no " + r.path + "\n"};
    });
    ASSERT_TRUE(server.start("127.0.0.1", 0)) << server.error();
    const std::string big = fetch(server.port(), "GET /large HTTP/1.1\r\nHost: t\r\n\r\n");
    EXPECT_EQ(big.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(big.find("Content-Length: 300000\r\n"), std::string::npos);
    EXPECT_EQ(big.substr(big.find("\r\n\r\n") + 4), large);
    EXPECT_EQ(fetch(server.port(), "GET /other HTTP/1.1\r\n\r\n").rfind("HTTP/1.1 404 Not Found\r\n", 0), 0u);
    EXPECT_EQ(fetch(server.port(), "nonsense\r\n\r\n").rfind("HTTP/1.1 400 Bad Request\r\n", 0), 0u);
    server.stop();
    EXPECT_EQ(fetch(server.port(), "GET / HTTP/1.1\r\n\r\n"), "no connection");
}

}  // namespace
}  // namespace velmora::platform
