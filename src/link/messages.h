// How the link reports a failure to the user. The link sits below the dialog framework, so it
// names the message by its string-table number and the tools layer shows it.
#pragma once

namespace velmora::link {

namespace msg {
constexpr int kSerialPortError = 110;  // a serial read call failed
constexpr int kPortError = 111;        // a write still failed after its retries
constexpr int kCreateSocket = 149;
constexpr int kConnectFailed = 150;
}  // namespace msg

class LinkMessages {
public:
    virtual ~LinkMessages() = default;
    virtual void showMessage(int stringId) = 0;
};

// Drops messages; used until a host is attached.
class SilentMessages final : public LinkMessages {
public:
    void showMessage(int) override {}
};

}  // namespace velmora::link
