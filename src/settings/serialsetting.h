// The native "Interface" page: the printer's serial port set-up, kept in memory switch 2 as one
// byte (handshake, stop bits, data length, parity check and selection, baud rate), read and
// written through the operations of serialops.h.
#pragma once

#include <array>

#include "app/toolcontext.h"
#include "settings/serialops.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CSerialSetting : public ui::Dialog {
  public:
    explicit CSerialSetting(app::ToolContext& ctx);

    static const std::array<int, kSerialListCount> kListIds;

    SerialChoices choices{-1, -1, -1, -1, -1, -1};

    void OnGet();
    void OnSet();
    void OnDefaultSetting();

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    app::ToolContext& ctx_;
};

}  // namespace velmora::settings
