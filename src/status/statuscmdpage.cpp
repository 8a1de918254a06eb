// Status query page: the query's outcome as ticked boxes.
#include "status/statuscmdpage.h"

#include "resources/messages.h"
#include "resources/templates_status.h"

namespace velmora::status {

StatusCmdPage::StatusCmdPage(app::ToolContext& ctx, const ui::DialogTemplate& tmpl, const StatusQuery& query)
    : ui::Dialog(ctx.host, tmpl), ctx_(ctx), query_(query) {}

bool StatusCmdPage::OnInitDialog() {
    on(ui::Event::Clicked, resources::IDC_STATUS_TEST, [this] { OnCommandTest(); });
    // The boxes show what the printer said; the user cannot tick them.
    for (const auto& bit : query_.bits) control(bit.controlId).setReadOnly(true);
    control(resources::IDC_STATUS_OK).setReadOnly(true);
    return ui::Dialog::OnInitDialog();
}

void StatusCmdPage::OnCommandTest() {
    // A short first read is said before the second read, as it happens.
    const app::Outcome outcome = queryStatus(ctx_.comm, ctx_.clock, query_, [this](const app::Step& step) {
        if (step.kind == app::Step::Kind::ValueRead) app::ShowMessage(host(), msg::kStatusReadFail);
    });
    const app::ReadValue* value = outcome.find(kStatusKey);
    // The page decodes any whole reply, as it always has; only a reply that never came whole
    // ticks nothing (a printer that did not answer is not "OK").
    showReply(value && value->raw.size() == query_.length ? replyBytes(*value) : std::span<const std::uint8_t>{});
    UpdateData(true);
}

void StatusCmdPage::showReply(std::span<const std::uint8_t> reply) {
    for (const auto& bit : query_.bits) control(bit.controlId).setCheck(0);
    control(resources::IDC_STATUS_OK).setCheck(0);
    if (reply.empty()) return;
    for (const StatusBit* bit : decodeStatusBits(query_.bits, reply)) control(bit->controlId).setCheck(1);
    if (allClear(reply)) control(resources::IDC_STATUS_OK).setCheck(1);
}

}  // namespace velmora::status
