// How the link reports a failure to the user: by the message's string-table number
// (resources/messages.h); the tools layer shows it.
#pragma once

namespace velmora::link {

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
