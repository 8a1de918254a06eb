// The native "Hardware Info" page: three identity strings the printer keeps (hardware version,
// serial number, user-defined printer ID), each with its own Get, Set and Initialize, through the
// operations of identityops.h.
#pragma once

#include <array>
#include <string>

#include "app/toolcontext.h"
#include "settings/identityops.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CHardwareInfoSetting : public ui::Dialog {
  public:
    explicit CHardwareInfoSetting(app::ToolContext& ctx);

    static constexpr unsigned kStoreWaitMs = kIdentityStoreWaitMs;

    std::array<std::string, kIdentityCount> texts;

    void OnGet(Identity which);
    void OnSet(Identity which);
    void OnInitialize(Identity which);
    void OnTextChange(Identity which);

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    void report(const app::Outcome& outcome);

    app::ToolContext& ctx_;
};

}  // namespace velmora::settings
