// A status query page: one button sends the query, and the reply's bits tick the page's boxes.
// The two pages of the status check differ only in their query.
#pragma once

#include <span>

#include "app/toolcontext.h"
#include "status/statusops.h"
#include "ui/dialog.h"

namespace velmora::status {

class StatusCmdPage : public ui::Dialog {
public:
    StatusCmdPage(app::ToolContext& ctx, const ui::DialogTemplate& tmpl, const StatusQuery& query);

    // Sends the query, reads the reply and shows its bits.
    void OnCommandTest();

protected:
    bool OnInitDialog() override;

private:
    void showReply(std::span<const std::uint8_t> reply);

    app::ToolContext& ctx_;
    const StatusQuery& query_;
};

}  // namespace velmora::status
