// What every tool dialog works with: the port object, the clock for its pauses, and the host
// that shows its messages.
#pragma once

#include <initializer_list>
#include <string>

#include "link/comm.h"
#include "platform/clock.h"
#include "ui/host.h"

namespace velmora::app {

struct ToolContext {
    link::CComm& comm;
    platform::Clock& clock;
    ui::Host& host;
};

// Shows string-table entry `stringId` with the application's caption, an OK button and the
// exclamation icon.
int ShowMessage(ui::Host& host, int stringId);

// String-table entry `stringId` with each "%s" replaced by the next argument.
std::string FilledString(int stringId, std::initializer_list<std::string> args);

// Says string-table entry `stringId` on the bottom line, its "%s" replaced by `arg`.
void ShowStatus(ui::Host& host, int stringId, const std::string& arg = {});

// Routes the port object's messages to a host.
class HostLinkMessages final : public link::LinkMessages {
public:
    explicit HostLinkMessages(ui::Host& host) : host_(host) {}
    void showMessage(int stringId) override { ShowMessage(host_, stringId); }

private:
    ui::Host& host_;
};

}  // namespace velmora::app
