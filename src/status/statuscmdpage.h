// A status query page: one button sends the query, and the reply's bits tick the page's boxes.
// The two pages of the status check differ only in query, reply length and bit table.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "app/toolcontext.h"
#include "status/statusbits.h"
#include "ui/dialog.h"

namespace velmora::status {

class StatusCmdPage : public ui::Dialog {
public:
    StatusCmdPage(app::ToolContext& ctx, const ui::DialogTemplate& tmpl, std::string query, std::size_t replyLength,
                  std::span<const StatusBit> bits);

    // Sends the query, reads the reply and shows its bits.
    void OnCommandTest();

    static constexpr unsigned kReplyWaitMs = 50;
    static constexpr int kReadFailMessage = 112;

protected:
    bool OnInitDialog() override;

private:
    void showReply(std::span<const std::uint8_t> reply);

    app::ToolContext& ctx_;
    std::string query_;
    std::size_t replyLength_;
    std::span<const StatusBit> bits_;
};

}  // namespace velmora::status
