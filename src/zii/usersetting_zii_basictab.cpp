// The ZII basic settings page: rows, enable rules, key filter, Get and Set.
#include "zii/usersetting_zii_basictab.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/templates_zii_basic.h"
#include "ui/dataexchange.h"

namespace velmora::zii {

using namespace resources;

namespace {

// The rows in page order: "use" box and the control it enables.
struct Row {
    int use;
    int box;
};
enum RowIndex {
    kWidth,
    kHeight,
    kOrientation,
    kSpeed,
    kDarkness,
    kPrintMode,
    kMediaType,
    kTearOff,
    kPrintOffset
};
constexpr std::array<Row, 9> kRows{{
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

// Lock codes with their boxes, in the order Set unlocks and locks them.
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

// Setting query codes, in the order Get asks for them.
constexpr std::array<int, 9> kQueryCodes{1, 2, 3, 5, 6, 7, 8, 9, 10};

// Strings whose ";"-separated items fill the word lists.
constexpr int kOrientationItems = 251;
constexpr int kPrintModeItems = 252;
constexpr int kMediaTypeItems = 253;

constexpr int kMinSpeed = 2;
constexpr int kMaxSpeed = 7;
constexpr int kMaxDarkness = 30;

const std::vector<std::string>& speedTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int s = kMinSpeed; s <= kMaxSpeed; ++s) t.push_back(std::to_string(s) + ".0");
        return t;
    }();
    return texts;
}

// The whole-number part the printer takes for a label size. A size beyond the int range (only
// typed, never read back) stops at the range's ends rather than wrapping.
std::string integerPart(double value) {
    const double whole =
        std::clamp(std::trunc(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX));
    return std::to_string(static_cast<long long>(whole));
}

// Position of `reply` in `letters`, compared as whole texts; -1 when it is none of them.
int matchLetter(const std::string& reply, std::initializer_list<std::string_view> letters) {
    int pos = 0;
    for (std::string_view letter : letters) {
        if (reply == letter) return pos;
        ++pos;
    }
    return -1;
}

}  // namespace

CUserSetting_ZII_BasicTab::CUserSetting_ZII_BasicTab(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiBasicTabTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_BasicTab::OnInitDialog() {
    FillComboFromString(control(IDC_ZB_ORIENTATION), kOrientationItems);
    FillComboFromString(control(IDC_ZB_PRINT_MODE), kPrintModeItems);
    FillComboFromString(control(IDC_ZB_MEDIA_TYPE), kMediaTypeItems);
    control(IDC_ZB_SPEED).resetContent();
    for (const auto& s : speedTexts()) control(IDC_ZB_SPEED).addItem(s);
    control(IDC_ZB_DARKNESS).resetContent();
    for (int d = 0; d <= kMaxDarkness; ++d) control(IDC_ZB_DARKNESS).addItem(std::to_string(d));

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
        // Every query waits for its reply, with a pause between queries; then the lock query.
        const unsigned queries = static_cast<unsigned>(std::size(kQueryCodes));
        ui::LongAction action(host(), queries * (kReplyWaitMs + kBetweenQueriesMs) + kReplyWaitMs + kAfterGetMs);
        for (const Row& r : kRows) {
            control(r.use).setCheck(1);
            control(r.box).enable(true);
        }
        control(IDC_ZB_SET).enable(true);

        repliesReceived_ = 0;
        failedWrites_ = 0;
        bool first = true;
        for (int code : kQueryCodes) {
            if (!first) ctx_.clock.sleepMs(kBetweenQueriesMs);
            first = false;
            if (querySetting(ctx_.comm, ctx_.clock, reply_, code, kReplyWaitMs) > 0) {
                ++repliesReceived_;
                applyReply(code, reply_.text());
            }
        }

        ctx_.clock.sleepMs(kBetweenQueriesMs);
        count(sendLockStatusQuery(ctx_.comm));
        reply_.clear();
        ctx_.clock.sleepMs(kReplyWaitMs);
        if (reply_.read(ctx_.comm) > 0) {
            ++repliesReceived_;
            applyLockFlags(decodeLockFlags(reply_.bytes()));
        }
        ctx_.clock.sleepMs(kAfterGetMs);
    }
    UpdateData(false);
}

void CUserSetting_ZII_BasicTab::applyReply(int code, const std::string& text) {
    auto select = [this](int id, int pos) {
        if (pos >= 0) control(id).setCurSel(pos);
    };
    switch (code) {
        case 1:
            width_ = decimalValue(text);
            break;
        case 2:
            height_ = decimalValue(text);
            break;
        case 3:
            select(IDC_ZB_ORIENTATION, matchLetter(text, {"T", "B"}));
            break;
        case 5: {
            const int v = decimalValue(text);
            if (v >= kMinSpeed && v <= kMaxSpeed) select(IDC_ZB_SPEED, v - kMinSpeed);
            break;
        }
        case 6: {
            const int v = decimalValue(text);
            if (v >= 0 && v <= kMaxDarkness) select(IDC_ZB_DARKNESS, v);
            break;
        }
        case 7:
            select(IDC_ZB_PRINT_MODE, matchLetter(text, {"T", "D"}));
            break;
        case 8: {
            // "G" (gap) is web sensing too.
            static constexpr int kEntry[] = {0, 0, 1, 2};
            const int pos = matchLetter(text, {"W", "G", "C", "M"});
            select(IDC_ZB_MEDIA_TYPE, pos < 0 ? -1 : kEntry[pos]);
            break;
        }
        case 9:
            tearOff_ = decimalValue(text);
            break;
        case 10:
            printOffset_ = decimalValue(text);
            break;
        default:
            break;
    }
}

void CUserSetting_ZII_BasicTab::applyLockFlags(unsigned flags) {
    for (const Lock& l : kLocks) control(l.box).setCheck((flags >> (l.code - 1)) & 1u ? 1 : 0);
}

std::string CUserSetting_ZII_BasicTab::composeSettings() const {
    auto ticked = [this](RowIndex row) { return control(kRows[row].use).checked(); };
    auto selected = [this](RowIndex row) { return control(kRows[row].box).curSel(); };

    CommandText text;
    // Immediate commands go before the block. A darkness row with nothing chosen sends nothing
    // rather than a "~SD-1" the printer cannot take.
    if (ticked(kDarkness) && selected(kDarkness) >= 0) {
        char line[16];
        std::snprintf(line, sizeof line, "~SD%02d", selected(kDarkness));
        text.line(line);
    }
    if (ticked(kTearOff)) text.line("~TA" + std::to_string(tearOff_));

    text.beginBlock();
    if (ticked(kWidth)) text.line("^PW" + integerPart(width_));
    if (ticked(kHeight)) text.line("^LL" + integerPart(height_));
    if (ticked(kOrientation)) text.line(selected(kOrientation) == 1 ? "^POI" : "^PON");
    if (ticked(kSpeed) && selected(kSpeed) >= 0) {
        // The entry's whole number, sent as both print and slew speed.
        const std::string speed =
            std::to_string(decimalValue(control(IDC_ZB_SPEED).itemText(selected(kSpeed))));
        text.line("^PR" + speed + "," + speed);
    }
    if (ticked(kPrintMode)) {
        static constexpr const char* kModes[] = {"^MTT", "^MTD"};
        const int pos = selected(kPrintMode);
        if (pos >= 0 && pos < 2) text.line(kModes[pos]);
    }
    if (ticked(kMediaType)) {
        static constexpr const char* kMedia[] = {"^MNY", "^MNN", "^MNM"};
        const int pos = selected(kMediaType);
        if (pos >= 0 && pos < 3) text.line(kMedia[pos]);
    }
    if (ticked(kPrintOffset)) text.line("^LT" + std::to_string(printOffset_));
    text.endBlockAndSave();
    return text.text();
}

void CUserSetting_ZII_BasicTab::sendLocks(bool fromBoxes) {
    for (const Lock& l : kLocks)
        count(sendSettingLock(ctx_.comm, fromBoxes && control(l.box).checked(), l.code));
}

void CUserSetting_ZII_BasicTab::OnSetToPrinter() {
    // A box that is not a number shows the framework's message and keeps its previous value.
    UpdateData(true);
    {
        ui::WaitCursor wait(host());
        failedWrites_ = 0;
        sendLocks(false);
        if (control(IDC_ZB_USE_TEAR_OFF).checked()) {
            UpdateData(true);
            UpdateData(false);
        }
        const bool anyRow = std::any_of(kRows.begin(), kRows.end(),
                                        [this](const Row& r) { return control(r.use).checked(); });
        if (anyRow) {
            count(ctx_.comm.WriteText(composeSettings()));
            // Lets the printer save the block before the locks go back on.
            ctx_.clock.sleepMs(kAfterSetMs);
        }
        // Even with nothing to write, the locks the boxes show go back on: the unlock above must
        // not leave the printer unlocked.
        sendLocks(true);
    }
    UpdateData(false);
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
