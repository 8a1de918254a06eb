// ZII real-time clock page: enable rules, picker texts and the "^ST" block.
#include "zii/usersetting_zii_timetab.h"

#include <cstdio>

#include "app/dialogcatalog.h"
#include "resources/templates_zii_pages.h"
#include "ui/dataexchange.h"
#include "zii/ziiprotocol.h"

namespace velmora::zii {

using namespace resources;

namespace {

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Reads `count` digits at `pos` of `text`.
bool digits(const std::string& text, std::size_t pos, std::size_t count, int& out) {
    if (pos + count > text.size()) return false;
    out = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::string formatPickerDate(const platform::LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
    return buf;
}

std::string formatPickerTime(const platform::LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

bool parsePickerDate(const std::string& text, platform::LocalTime& into) {
    int y = 0, m = 0, d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    if (!digits(text, 0, 4, y) || !digits(text, 5, 2, m) || !digits(text, 8, 2, d)) return false;
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return false;
    into.year = y;
    into.month = m;
    into.day = d;
    return true;
}

bool parsePickerTime(const std::string& text, platform::LocalTime& into) {
    int h = 0, m = 0, s = 0;
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
    if (!digits(text, 0, 2, h) || !digits(text, 3, 2, m) || !digits(text, 6, 2, s)) return false;
    if (h > 23 || m > 59 || s > 59) return false;
    into.hour = h;
    into.minute = m;
    into.second = s;
    return true;
}

std::string clockLine(const platform::LocalTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "^ST%02d,%02d,%04d,%02d,%02d,%02d,M", t.month, t.day, t.year, t.hour,
                  t.minute, t.second);
    return buf;
}

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
    CommandText text;
    text.beginBlock().line(clockLine(t)).endBlockAndSave();
    lastWrite_ = text.send(ctx_.comm);
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
