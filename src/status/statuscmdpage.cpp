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
    ctx_.comm.BeginAction();
    std::array<std::uint8_t, 2> buffer{};
    const std::span<std::uint8_t> reply(buffer.data(), replyLength_);
    auto readReply = [&] {
        buffer.fill(0);
        return ctx_.comm.ReadBytes(reply.data(), reply.size()) == static_cast<int>(reply.size());
    };
    // The port object has reported a failed write; there is no reply to wait for.
    bool answered = ctx_.comm.WriteText(query_) != 0;
    if (answered) {
        ctx_.clock.sleepMs(kReplyWaitMs);
        if (!readReply()) {
            app::ShowMessage(host(), kReadFailMessage);
            // One more read: a reply that was late still counts, a short one does not.
            answered = readReply();
        }
    }
    showReply(answered ? reply : std::span<const std::uint8_t>{});
    UpdateData(true);
}

void StatusCmdPage::showReply(std::span<const std::uint8_t> reply) {
    for (const auto& bit : bits_) control(bit.controlId).setCheck(0);
    control(resources::IDC_STATUS_OK).setCheck(0);
    // No reply ticks nothing: a printer that did not answer is not "OK".
    if (reply.empty()) return;
    for (const StatusBit* bit : decodeStatusBits(bits_, reply)) control(bit->controlId).setCheck(1);
    if (allClear(reply)) control(resources::IDC_STATUS_OK).setCheck(1);
}

}  // namespace velmora::status
