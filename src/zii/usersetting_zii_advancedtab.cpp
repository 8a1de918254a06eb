// ZII advanced settings page: two setting queries, one settings block, no messages.
#include "zii/usersetting_zii_advancedtab.h"

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/templates_zii_pages.h"
#include "ui/dataexchange.h"
#include "zii/ziiprotocol.h"

namespace velmora::zii {

using namespace resources;

namespace {
constexpr int kMediaHandlingItems = 254;
constexpr int kMediaFeedItems = 255;
constexpr int kBackfeedItems = 256;
}  // namespace

int mediaHandlingFromReply(std::string_view reply) {
    if (reply == "T") return kTearOff;
    if (reply == "P") return kPeelOff;
    if (reply == "C") return kCutter;
    return -1;
}

int mediaFeedFromReply(std::string_view reply) {
    if (reply == "F") return kFeedNextLabel;
    if (reply == "C") return kFeedCalibrate;
    if (reply == "L") return kFeedLabelLength;
    if (reply == "N") return kFeedNone;
    return -1;
}

std::string mediaHandlingLine(int position) {
    switch (position) {
        case kTearOff:
            return "^MMT,N";
        case kPeelOff:
            return "^MMP,N";
        case kCutter:
            return "^MMC,N";
        default:
            return "^MMA,N";
    }
}

std::string mediaFeedLine(int position) {
    switch (position) {
        case kFeedNextLabel:
            return "^MFF,F";
        case kFeedCalibrate:
            return "^MFC,C";
        case kFeedLabelLength:
            return "^MFL,L";
        default:
            return "^MFN,N";
    }
}

CUserSetting_ZII_AdvancedTab::CUserSetting_ZII_AdvancedTab(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiAdvancedTabTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_AdvancedTab::OnInitDialog() {
    FillComboFromString(control(IDC_ZADV_MEDIA_HANDLING), kMediaHandlingItems);
    FillComboFromString(control(IDC_ZADV_MEDIA_FEED), kMediaFeedItems);
    FillComboFromString(control(IDC_ZADV_BACKFEED), kBackfeedItems);
    control(IDC_ZADV_EVERY_LABEL).setText("0");
    // "No feed" is the last entry, whatever the table holds.
    mediaFeed = control(IDC_ZADV_MEDIA_FEED).count() - 1;
    ui::Dialog::OnInitDialog();

    for (int id : {IDC_ZADV_USE_MEDIA_HANDLING, IDC_ZADV_USE_MEDIA_FEED, IDC_ZADV_USE_MIRROR})
        on(ui::Event::Clicked, id, [this] { applyUseBoxes(); });
    on(ui::Event::Clicked, IDC_ZADV_GET, [this] { OnGetFromPrinter(); });
    on(ui::Event::Clicked, IDC_ZADV_SET, [this] { OnSetToPrinter(); });
    return true;
}

void CUserSetting_ZII_AdvancedTab::DoDataExchange(ui::DataExchange& dx) {
    dx.Check(IDC_ZADV_USE_MEDIA_HANDLING, useMediaHandling);
    dx.Check(IDC_ZADV_USE_MEDIA_FEED, useMediaFeed);
    dx.Check(IDC_ZADV_USE_BACKFEED, useBackfeed);
    dx.Check(IDC_ZADV_USE_MIRROR, useMirror);
    dx.Check(IDC_ZADV_MIRROR, mirror);
    dx.CBIndex(IDC_ZADV_MEDIA_HANDLING, mediaHandling);
    dx.CBIndex(IDC_ZADV_MEDIA_FEED, mediaFeed);
    dx.CBIndex(IDC_ZADV_BACKFEED, backfeed);
}

void CUserSetting_ZII_AdvancedTab::applyUseBoxes() {
    // The backfeed row stays disabled for the page's whole life, whatever its box shows.
    control(IDC_ZADV_MEDIA_HANDLING).enable(control(IDC_ZADV_USE_MEDIA_HANDLING).checked());
    control(IDC_ZADV_MEDIA_FEED).enable(control(IDC_ZADV_USE_MEDIA_FEED).checked());
    control(IDC_ZADV_MIRROR).enable(control(IDC_ZADV_USE_MIRROR).checked());
}

void CUserSetting_ZII_AdvancedTab::OnGetFromPrinter() {
    ui::WaitCursor wait(host());
    UpdateData(true);  // keep what the user changed in the rows Get does not read
    lastGet_ = {};
    // Each reply is read into a cleared area: a short reply after a longer one must not be
    // judged together with the older reply's leftover bytes.
    ReplyArea area;
    ctx_.comm.BeginAction();
    const int handling = querySetting(ctx_.comm, ctx_.clock, area, kMediaHandlingQuery, kReplyWaitMs);
    if (handling > 0) {
        if (const int pos = mediaHandlingFromReply(area.text()); pos >= 0) {
            mediaHandling = pos;
            lastGet_.mediaHandling = true;
        }
    }
    // After a failed write the second query is not sent: the link has said so once.
    if (handling >= 0 && querySetting(ctx_.comm, ctx_.clock, area, kMediaFeedQuery, kReplyWaitMs) > 0) {
        if (const int pos = mediaFeedFromReply(area.text()); pos >= 0) {
            mediaFeed = pos;
            lastGet_.mediaFeed = true;
        }
    }
    useMediaHandling = true;
    useMediaFeed = true;
    UpdateData(false);
    control(IDC_ZADV_USE_MEDIA_HANDLING).enable();
    control(IDC_ZADV_USE_MEDIA_FEED).enable();
    control(IDC_ZADV_SET).enable();
    applyUseBoxes();
}

void CUserSetting_ZII_AdvancedTab::OnSetToPrinter() {
    UpdateData(true);
    CommandText text;
    text.beginBlock();
    if (useMediaHandling) text.line(mediaHandlingLine(mediaHandling));
    if (useMediaFeed) text.line(mediaFeedLine(mediaFeed));
    if (useMirror) text.line(mirror ? "^PMY" : "^PMN");
    text.endBlockAndSave();
    lastWrite_ = text.send(ctx_.comm);
}

namespace {
const bool registered = app::registerDialog({
    "zii-advanced",
    [](app::ToolContext& ctx) { return std::make_unique<CUserSetting_ZII_AdvancedTab>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_ZADV_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::zii
