// ZII advanced settings page: two setting queries, one settings block, no messages. The queries
// and the block are the operations of ziiadvancedops.h.
#include "zii/usersetting_zii_advancedtab.h"

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/messages.h"
#include "resources/templates_zii_pages.h"
#include "ui/dataexchange.h"

namespace velmora::zii {

using namespace resources;

CUserSetting_ZII_AdvancedTab::CUserSetting_ZII_AdvancedTab(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiAdvancedTabTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_AdvancedTab::OnInitDialog() {
    FillComboFromString(control(IDC_ZADV_MEDIA_HANDLING), msg::kMediaHandlingItems);
    FillComboFromString(control(IDC_ZADV_MEDIA_FEED), msg::kMediaFeedItems);
    FillComboFromString(control(IDC_ZADV_BACKFEED), msg::kBackfeedItems);
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
    // A reply that names no entry leaves its list as it was.
    const AdvancedKey& handling = advancedKeys()[kMediaHandlingRow];
    const AdvancedKey& feed = advancedKeys()[kMediaFeedRow];
    for (const app::ReadValue& v : getAdvancedSettings(ctx_.comm, ctx_.clock).values) {
        if (v.text.empty()) continue;
        if (v.key == handling.name) mediaHandling = choiceOfWord(handling, v.text);
        if (v.key == feed.name) mediaFeed = choiceOfWord(feed, v.text);
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
    AdvancedSetRequest request;
    request.use = {useMediaHandling, useMediaFeed, useMirror};
    request.choice = {mediaHandling, mediaFeed, mirror ? 1 : 0};
    bool sent = false;
    {
        ui::WaitCursor wait(host());
        sent = setAdvancedSettings(ctx_.comm, request).done();
    }
    if (sent) app::ShowStatus(host(), msg::kStatusSettingsSent);
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
