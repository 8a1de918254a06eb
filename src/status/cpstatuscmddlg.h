// The "^cp Command" page: the two-byte status reply.
#pragma once

#include "resources/templates_status.h"
#include "status/statuscmdpage.h"

namespace velmora::status {

class CCpStatusCmdDlg : public StatusCmdPage {
public:
    explicit CCpStatusCmdDlg(app::ToolContext& ctx)
        : StatusCmdPage(ctx, resources::CpStatusCmdTemplate(), cpQuery()) {}
};

}  // namespace velmora::status
