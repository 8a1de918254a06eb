// The "^cu Command" page: the one-byte status reply.
#pragma once

#include "resources/templates_status.h"
#include "status/statuscmdpage.h"

namespace velmora::status {

class CCuStatusCmdDlg : public StatusCmdPage {
public:
    explicit CCuStatusCmdDlg(app::ToolContext& ctx)
        : StatusCmdPage(ctx, resources::CuStatusCmdTemplate(), cuQuery()) {}
};

}  // namespace velmora::status
