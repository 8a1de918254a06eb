// The ZII basic settings page of the user-setting manager: label size, orientation, speed,
// darkness, print mode, media type, tear-off and print offset, read with setting queries and
// written as one saved settings block, with the printer's per-setting locks beside six of them.
#pragma once

#include <array>
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
    // Whether the last Get read a valid value for row `row` (page order, 0 to 8), and the lock
    // flags. A reply that came but holds no valid value (a speed of 9, a width of 2147483647)
    // leaves the row as it was and does not count here.
    bool rowAnswered(int row) const { return rowAnswered_[static_cast<std::size_t>(row)]; }
    bool locksAnswered() const { return locksAnswered_; }
    // Writes of the last Get or Set that the port object reported as failed. A Get or Set stops at
    // its first failed write (the port object has said so once), except that a Set puts back the
    // locks it had removed.
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
    bool applyReply(int code, const std::string& text);
    void applyLockFlags(unsigned flags);
    std::string composeSettings() const;
    bool sendLocks(bool fromBoxes, std::size_t count);
    bool count(int writeResult) {
        failedWrites_ += writeResult == 0 ? 1 : 0;
        return writeResult != 0;
    }

    app::ToolContext& ctx_;
    ReplyArea reply_;
    // The number boxes, moved by data exchange; lists, ticks and locks live in their controls.
    double width_ = 0;
    double height_ = 0;
    int tearOff_ = 0;
    int printOffset_ = 0;
    int repliesReceived_ = 0;
    std::array<bool, 9> rowAnswered_{};
    bool locksAnswered_ = false;
    int failedWrites_ = 0;
};

}  // namespace velmora::zii
