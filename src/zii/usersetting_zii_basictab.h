// The ZII basic settings page of the user-setting manager: label size, orientation, speed,
// darkness, print mode, media type, tear-off and print offset, read with setting queries and
// written as one saved settings block, with the printer's per-setting locks beside six of them.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"
#include "zii/ziiprotocol.h"

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
    // Writes of the last Get or Set that the port object reported as failed.
    int failedWrites() const { return failedWrites_; }

    // Pauses, in milliseconds.
    static constexpr unsigned kBetweenQueriesMs = 80;
    static constexpr unsigned kReplyWaitMs = 70;
    static constexpr unsigned kAfterGetMs = 30;
    static constexpr unsigned kAfterSetMs = 500;
    static constexpr int kRepliesPerGet = 10;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    void onUseBox(int row);
    void filterKeys(int editId, bool allowSign);
    void applyReply(int code, const std::string& text);
    void applyLockFlags(unsigned flags);
    std::string composeSettings() const;
    void sendLocks(bool fromBoxes);
    void count(int writeResult) { failedWrites_ += writeResult == 0 ? 1 : 0; }

    app::ToolContext& ctx_;
    ReplyArea reply_;
    // The number boxes, moved by data exchange; lists, ticks and locks live in their controls.
    double width_ = 0;
    double height_ = 0;
    int tearOff_ = 0;
    int printOffset_ = 0;
    int repliesReceived_ = 0;
    int failedWrites_ = 0;
};

}  // namespace velmora::zii
