// The ZII real-time clock page: sets the printer's clock, with one saved "^ST" command, to the
// computer's local time or to a date and time the user picks. Nothing is read from the printer.
#pragma once

#include <optional>
#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"
#include "zii/ziiclockops.h"

namespace velmora::zii {

class CUserSetting_ZII_TimeTab : public ui::Dialog {
  public:
    explicit CUserSetting_ZII_TimeTab(app::ToolContext& ctx);

    void OnSetToPrinter();
    // What the last Set wrote: its write result, or nothing when it sent nothing.
    std::optional<int> lastWrite() const { return lastWrite_; }

    enum Source { kComputerClock = 0, kChosenTime = 1 };

    // Bound fields.
    bool setClock = false;
    int source = kComputerClock;
    std::string date;  // picker texts
    std::string time;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    void applyEnables();

    app::ToolContext& ctx_;
    std::optional<int> lastWrite_;
};

}  // namespace velmora::zii
