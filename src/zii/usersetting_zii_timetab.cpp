// ZII real-time clock page: enable rules and the time it sets; the "^ST" block is the operation
// of ziiclockops.h.
#include "zii/usersetting_zii_timetab.h"

#include "app/dialogcatalog.h"
#include "resources/messages.h"
#include "resources/templates_zii_pages.h"
#include "ui/dataexchange.h"

namespace velmora::zii {

using namespace resources;

CUserSetting_ZII_TimeTab::CUserSetting_ZII_TimeTab(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiTimeTabTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_TimeTab::OnInitDialog() {
    // The pickers open on the computer's time, as a date and time picker does.
    const platform::LocalTime now = platform::toLocalTime(ctx_.clock.wallNow());
    date = formatPickerDate(now);
    time = formatPickerTime(now);
    ui::Dialog::OnInitDialog();
    for (int id : {IDC_ZRTC_SET_CLOCK, IDC_ZRTC_TO_COMPUTER, IDC_ZRTC_TO_CHOSEN})
        on(ui::Event::Clicked, id, [this] { applyEnables(); });
    on(ui::Event::Clicked, IDC_ZRTC_SET, [this] { OnSetToPrinter(); });
    applyEnables();
    return true;
}

void CUserSetting_ZII_TimeTab::DoDataExchange(ui::DataExchange& dx) {
    dx.Check(IDC_ZRTC_SET_CLOCK, setClock);
    dx.Radio(IDC_ZRTC_TO_COMPUTER, source);
    dx.Text(IDC_ZRTC_DATE, date);
    dx.Text(IDC_ZRTC_TIME, time);
}

void CUserSetting_ZII_TimeTab::applyEnables() {
    const bool on = control(IDC_ZRTC_SET_CLOCK).checked();
    control(IDC_ZRTC_TO_COMPUTER).enable(on);
    control(IDC_ZRTC_TO_CHOSEN).enable(on);
    const bool pick = on && control(IDC_ZRTC_TO_CHOSEN).checked();
    control(IDC_ZRTC_DATE).enable(pick);
    control(IDC_ZRTC_TIME).enable(pick);
}

void CUserSetting_ZII_TimeTab::OnSetToPrinter() {
    lastWrite_.reset();
    UpdateData(true);
    if (!setClock) return;
    platform::LocalTime t;
    if (source == kChosenTime) {
        // Only the date of the date picker and the time of day of the time picker count. The
        // pickers only ever hold real values; a text that is not one sends nothing.
        if (!parsePickerDate(date, t) || !parsePickerTime(time, t)) return;
    } else {
        t = platform::toLocalTime(ctx_.clock.wallNow());
    }
    {
        ui::WaitCursor wait(host());
        lastWrite_ = setPrinterClock(ctx_.comm, t).done() ? 1 : 0;
    }
    if (*lastWrite_ == 1) app::ShowStatus(host(), msg::kStatusSettingsSent);
}

namespace {
const bool registered = app::registerDialog({
    "zii-clock",
    [](app::ToolContext& ctx) { return std::make_unique<CUserSetting_ZII_TimeTab>(ctx); },
    {{"chosen-time",
      [](ui::Dialog& d) {
          d.click(IDC_ZRTC_SET_CLOCK);
          d.click(IDC_ZRTC_TO_CHOSEN);
          d.typeText(IDC_ZRTC_DATE, "2024-03-05");
          d.typeText(IDC_ZRTC_TIME, "14:07:09");
          d.click(IDC_ZRTC_SET);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::zii
