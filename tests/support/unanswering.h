// A listener whose queue is full: the host drops every further connect to it without an answer,
// as a printer that is switched off behind a router does.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>

namespace velmora::testing {

class Unanswering {
  public:
    Unanswering(const std::string& address, unsigned port) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(port));
        inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        filler_ = socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        ok = bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && listen(listener_, 0) == 0 &&
             connect(filler_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~Unanswering() {
        close(filler_);
        close(listener_);
    }
    Unanswering(const Unanswering&) = delete;
    Unanswering& operator=(const Unanswering&) = delete;
    bool ok = false;

  private:
    int listener_ = -1;
    int filler_ = -1;
};

}  // namespace velmora::testing
