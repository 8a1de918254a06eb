// The ZII basic settings page of the user-setting manager: label size, orientation, speed,
// darkness, print mode, media type, tear-off and print offset, read with setting queries and
// written as one saved settings block, with the printer's per-setting locks beside six of them.
#pragma once

#include "app/toolcontext.h"
#include "ui/dialog.h"
#include "zii/ziibasicops.h"

namespace velmora::zii {

class CUserSetting_ZII_BasicTab : public ui::Dialog {
  public:
    explicit CUserSetting_ZII_BasicTab(app::ToolContext& ctx);

    // "Get From Printer": nine setting queries and the lock status, then shows what came back.
    void OnGetFromPrinter();
    // "Set to Printer": unlock, one settings block for the ticked rows, then the locks again.
    void OnSetToPrinter();

    // Of the ten replies the last Get asked for, how many came.
    int repliesReceived() const { return repliesReceived_; }
    // Writes of the last Get or Set that the port object reported as failed. A Get or Set stops at
    // its first failed write (the port object has said so once), except that a Set puts back the
    // locks it had removed.
    int failedWrites() const { return failedWrites_; }

    // Pauses, in milliseconds.
    static constexpr unsigned kBetweenQueriesMs = zii::kBetweenQueriesMs;
    static constexpr unsigned kReplyWaitMs = kBasicReplyWaitMs;
    static constexpr unsigned kAfterGetMs = zii::kAfterGetMs;
    static constexpr unsigned kAfterSetMs = zii::kAfterSetMs;
    static constexpr int kRepliesPerGet = kBasicRowCount + 1;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    void onUseBox(int row);
    void filterKeys(int editId, bool allowSign);
    void show(const app::Outcome& got);
    BasicSetRequest request() const;

    app::ToolContext& ctx_;
    // The number boxes, moved by data exchange; lists, ticks and locks live in their controls.
    double width_ = 0;
    double height_ = 0;
    int tearOff_ = 0;
    int printOffset_ = 0;
    int repliesReceived_ = 0;
    int failedWrites_ = 0;
};

}  // namespace velmora::zii
