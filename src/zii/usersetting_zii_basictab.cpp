// The ZII basic settings page: rows, enable rules and key filter; its Get and Set are the
// operations of ziibasicops.h, whose outcomes it shows.
#include "zii/usersetting_zii_basictab.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/messages.h"
#include "resources/templates_zii_basic.h"
#include "ui/dataexchange.h"
#include "zii/ziiprotocol.h"

namespace velmora::zii {

using namespace resources;

namespace {

// The rows in page order (as the key table has them): "use" box and the control it enables.
struct Row {
    int use;
    int box;
};
constexpr std::array<Row, kBasicRowCount> kRows{{
    {IDC_ZB_USE_WIDTH, IDC_ZB_WIDTH},
    {IDC_ZB_USE_HEIGHT, IDC_ZB_HEIGHT},
    {IDC_ZB_USE_ORIENTATION, IDC_ZB_ORIENTATION},
    {IDC_ZB_USE_SPEED, IDC_ZB_SPEED},
    {IDC_ZB_USE_DARKNESS, IDC_ZB_DARKNESS},
    {IDC_ZB_USE_PRINT_MODE, IDC_ZB_PRINT_MODE},
    {IDC_ZB_USE_MEDIA_TYPE, IDC_ZB_MEDIA_TYPE},
    {IDC_ZB_USE_TEAR_OFF, IDC_ZB_TEAR_OFF},
    {IDC_ZB_USE_PRINT_OFFSET, IDC_ZB_PRINT_OFFSET},
}};

// The "Lock" box of each lock code.
struct Lock {
    int code;
    int box;
};
constexpr std::array<Lock, 6> kLocks{{
    {3, IDC_ZB_LOCK_WIDTH},
    {1, IDC_ZB_LOCK_SPEED},
    {2, IDC_ZB_LOCK_DARKNESS},
    {7, IDC_ZB_LOCK_MEDIA_TYPE},
    {6, IDC_ZB_LOCK_TEAR_OFF},
    {5, IDC_ZB_LOCK_PRINT_OFFSET},
}};

// The speed list shows each speed with one decimal: "2.0" ... "7.0".
const std::vector<std::string>& speedTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (const std::string& s : basicKeys()[kSpeedRow].words) t.push_back(s + ".0");
        return t;
    }();
    return texts;
}

// The whole-number part the printer takes for a label size. A size beyond the int range (only
// typed, never read back) stops at the range's ends rather than wrapping.
int integerPart(double value) {
    return static_cast<int>(std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

CUserSetting_ZII_BasicTab::CUserSetting_ZII_BasicTab(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiBasicTabTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_BasicTab::OnInitDialog() {
    FillComboFromString(control(IDC_ZB_ORIENTATION), msg::kOrientationItems);
    FillComboFromString(control(IDC_ZB_PRINT_MODE), msg::kPrintModeItems);
    FillComboFromString(control(IDC_ZB_MEDIA_TYPE), msg::kMediaTypeItems);
    control(IDC_ZB_SPEED).resetContent();
    for (const auto& s : speedTexts()) control(IDC_ZB_SPEED).addItem(s);
    control(IDC_ZB_DARKNESS).resetContent();
    for (const std::string& d : basicKeys()[kDarknessRow].words) control(IDC_ZB_DARKNESS).addItem(d);

    for (std::size_t i = 0; i < kRows.size(); ++i) {
        control(kRows[i].use).setCheck(0);
        control(kRows[i].box).enable(false);
        on(ui::Event::Clicked, kRows[i].use, [this, i] { onUseBox(static_cast<int>(i)); });
    }
    control(IDC_ZB_SET).enable(false);
    on(ui::Event::Clicked, IDC_ZB_GET, [this] { OnGetFromPrinter(); });
    on(ui::Event::Clicked, IDC_ZB_SET, [this] { OnSetToPrinter(); });
    on(ui::Event::EditChange, IDC_ZB_WIDTH, [this] { filterKeys(IDC_ZB_WIDTH, false); });
    on(ui::Event::EditChange, IDC_ZB_HEIGHT, [this] { filterKeys(IDC_ZB_HEIGHT, false); });
    on(ui::Event::EditChange, IDC_ZB_TEAR_OFF, [this] { filterKeys(IDC_ZB_TEAR_OFF, true); });
    return ui::Dialog::OnInitDialog();
}

void CUserSetting_ZII_BasicTab::DoDataExchange(ui::DataExchange& dx) {
    // Only the number boxes: ticks, locks and list selections stay in their controls, so a Get
    // whose reply did not come leaves what the user chose on screen.
    dx.Text(IDC_ZB_WIDTH, width_);
    dx.Text(IDC_ZB_HEIGHT, height_);
    dx.Text(IDC_ZB_TEAR_OFF, tearOff_);
    dx.Text(IDC_ZB_PRINT_OFFSET, printOffset_);
}

void CUserSetting_ZII_BasicTab::onUseBox(int row) {
    const Row& r = kRows[static_cast<std::size_t>(row)];
    control(r.box).enable(control(r.use).checked());
    control(IDC_ZB_SET).enable(true);
}

// The three size boxes take only the keys of a number: digits and the full stop, and signs in
// the tear-off box; anything else never reaches the text.
void CUserSetting_ZII_BasicTab::filterKeys(int editId, bool allowSign) {
    ui::Control& box = control(editId);
    std::string kept;
    for (char c : box.text())
        if ((c >= '0' && c <= '9') || c == '.' || (allowSign && (c == '+' || c == '-'))) kept += c;
    if (kept != box.text()) box.setText(kept);
}

void CUserSetting_ZII_BasicTab::OnGetFromPrinter() {
    {
        ui::LongAction action(host(), kBasicGetPausesMs);
        for (const Row& r : kRows) {
            control(r.use).setCheck(1);
            control(r.box).enable(true);
        }
        control(IDC_ZB_SET).enable(true);
        const app::Outcome got = getBasicSettings(ctx_.comm, ctx_.clock);
        failedWrites_ = stoppedAtFailedWrite(got) ? 1 : 0;
        show(got);
    }
    UpdateData(false);
}

// A value without text held nothing the row takes: the row keeps what it showed.
void CUserSetting_ZII_BasicTab::show(const app::Outcome& got) {
    repliesReceived_ = 0;
    bool lockReplyCounted = false;
    for (const app::ReadValue& v : got.values) {
        const BasicKey* key = findBasicKey(v.key);
        if (!key) {  // a lock: one reply carries them all
            if (v.replied && !lockReplyCounted) ++repliesReceived_;
            lockReplyCounted = lockReplyCounted || v.replied;
            for (const Lock& l : kLocks)
                if (!v.text.empty() && lockKeyName(l.code) == v.key) control(l.box).setCheck(v.text == "1" ? 1 : 0);
            continue;
        }
        repliesReceived_ += v.replied ? 1 : 0;
        if (v.text.empty()) continue;
        const auto row = static_cast<std::size_t>(key - basicKeys().data());
        switch (row) {
            case kWidthRow: width_ = std::stoi(v.text); break;
            case kHeightRow: height_ = std::stoi(v.text); break;
            case kTearOffRow: tearOff_ = std::stoi(v.text); break;
            case kPrintOffsetRow: printOffset_ = std::stoi(v.text); break;
            default: control(kRows[row].box).setCurSel(entryOfWord(*key, v.text)); break;
        }
    }
}

BasicSetRequest CUserSetting_ZII_BasicTab::request() const {
    BasicSetRequest r;
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        r.use[row] = control(kRows[row].use).checked();
        r.value[row] = control(kRows[row].box).curSel();
    }
    r.value[kWidthRow] = integerPart(width_);
    r.value[kHeightRow] = integerPart(height_);
    r.value[kTearOffRow] = tearOff_;
    r.value[kPrintOffsetRow] = printOffset_;
    for (const Lock& l : kLocks)
        if (control(l.box).checked()) r.locks |= 1u << (l.code - 1);
    return r;
}

void CUserSetting_ZII_BasicTab::OnSetToPrinter() {
    // A box that is not a number shows the framework's message and keeps its previous value.
    UpdateData(true);
    {
        ui::WaitCursor wait(host());
        if (control(IDC_ZB_USE_TEAR_OFF).checked()) {
            UpdateData(true);
            UpdateData(false);
        }
        failedWrites_ = setBasicSettings(ctx_.comm, ctx_.clock, request()).done() ? 0 : 1;
    }
    UpdateData(false);
    if (failedWrites_ == 0) app::ShowStatus(host(), msg::kStatusSettingsSent);
}

namespace {
const bool registered = app::registerDialog({
    "zii-basic",
    [](app::ToolContext& ctx) { return std::make_unique<CUserSetting_ZII_BasicTab>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_ZB_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::zii
