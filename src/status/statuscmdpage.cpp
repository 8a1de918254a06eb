// Status query page: send, wait, read, decode.
#include "status/statuscmdpage.h"

#include <array>

#include "resources/templates_status.h"

namespace velmora::status {

StatusCmdPage::StatusCmdPage(app::ToolContext& ctx, const ui::DialogTemplate& tmpl, std::string query,
                             std::size_t replyLength, std::span<const StatusBit> bits)
    : ui::Dialog(ctx.host, tmpl), ctx_(ctx), query_(std::move(query)), replyLength_(replyLength), bits_(bits) {}

bool StatusCmdPage::OnInitDialog() {
    on(ui::Event::Clicked, resources::IDC_STATUS_TEST, [this] { OnCommandTest(); });
    // The boxes show what the printer said; the user cannot tick them.
    for (const auto& bit : bits_) control(bit.controlId).setReadOnly(true);
    control(resources::IDC_STATUS_OK).setReadOnly(true);
    return ui::Dialog::OnInitDialog();
}

void StatusCmdPage::OnCommandTest() {
    ctx_.comm.WriteText(query_);
    ctx_.clock.sleepMs(kReplyWaitMs);

    std::array<std::uint8_t, 2> buffer{};
    const std::span<std::uint8_t> reply(buffer.data(), replyLength_);
    const int got = ctx_.comm.ReadBytes(reply.data(), reply.size());
    if (got != static_cast<int>(reply.size())) {
        app::ShowMessage(host(), kReadFailMessage);
        // One more read into the same buffer; whatever it leaves there is what gets shown.
        ctx_.comm.ReadBytes(reply.data(), reply.size());
    }
    showReply(reply);
    UpdateData(true);
}

void StatusCmdPage::showReply(std::span<const std::uint8_t> reply) {
    for (const auto& bit : bits_) control(bit.controlId).setCheck(0);
    control(resources::IDC_STATUS_OK).setCheck(0);
    for (const StatusBit* bit : decodeStatusBits(bits_, reply)) control(bit->controlId).setCheck(1);
    if (allClear(reply)) control(resources::IDC_STATUS_OK).setCheck(1);
}

}  // namespace velmora::status
