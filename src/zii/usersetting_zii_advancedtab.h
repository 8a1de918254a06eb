// The ZII advanced settings page: media handling (tear off, peel off, cutter) and the feed action
// at power-up, read with setting queries and written with the mirror-image setting as one saved
// settings block.
#pragma once

#include <string>
#include <string_view>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::zii {

// List positions of "Media Handling" and "Media feed options".
enum MediaHandling { kTearOff = 0, kPeelOff = 1, kCutter = 2 };
enum MediaFeed { kFeedNextLabel = 0, kFeedCalibrate = 1, kFeedLabelLength = 2, kFeedNone = 3 };

// The list position a reply names, or -1 when it names none (whole text, case-sensitive).
int mediaHandlingFromReply(std::string_view reply);
int mediaFeedFromReply(std::string_view reply);
// The setting line (without CR LF) for a list position; any other position, "none selected"
// included, gives the printer's automatic handling or no feed.
std::string mediaHandlingLine(int position);
std::string mediaFeedLine(int position);

class CUserSetting_ZII_AdvancedTab : public ui::Dialog {
  public:
    explicit CUserSetting_ZII_AdvancedTab(app::ToolContext& ctx);

    void OnGetFromPrinter();
    void OnSetToPrinter();

    // What the last Get recognised in the printer's replies; a setting it did not recognise keeps
    // what the page showed before.
    struct GetOutcome {
        bool mediaHandling = false;
        bool mediaFeed = false;
    };
    const GetOutcome& lastGet() const { return lastGet_; }
    // What the last Set's write returned (0: it failed).
    int lastWrite() const { return lastWrite_; }

    static constexpr int kMediaHandlingQuery = 12;
    static constexpr int kMediaFeedQuery = 14;
    static constexpr unsigned kReplyWaitMs = 50;

    // Bound fields.
    bool useMediaHandling = false;
    bool useMediaFeed = false;
    bool useBackfeed = true;  // shown ticked; the row never takes part
    bool useMirror = false;
    bool mirror = false;
    int mediaHandling = kTearOff;
    int mediaFeed = kFeedNone;
    int backfeed = 1;  // "Default settings"

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    // Each row's control follows its "use" box.
    void applyUseBoxes();

    app::ToolContext& ctx_;
    GetOutcome lastGet_;
    int lastWrite_ = 0;
};

}  // namespace velmora::zii
