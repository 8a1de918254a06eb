// The ZII serial interface page: reads the printer's serial parameters with a setting query and
// writes them with one saved "^SC" command; they take effect when the printer is restarted.
#pragma once

#include <array>

#include "app/toolcontext.h"
#include "ui/dialog.h"
#include "zii/ziiserialops.h"

namespace velmora::zii {

class CUserSetting_ZII_SerialTab : public ui::Dialog {
  public:
    explicit CUserSetting_ZII_SerialTab(app::ToolContext& ctx);

    void OnGet();
    void OnSet();
    void OnDefaultSetting();

    // "Please, select ..." for an empty list, one per field in page order.
    // Control ids of the five lists in page order.
    static const std::array<int, kSerialFieldCount> kListIds;

    // Bound fields: list positions, -1 for none.
    std::array<int, kSerialFieldCount> positions{-1, -1, -1, -1, -1};

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    void enableEditing();

    app::ToolContext& ctx_;
};

}  // namespace velmora::zii
