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
constexpr int kMaxLabelDots = 32000;  // the longest label a printer takes
constexpr int kMaxAdjustDots = 120;   // tear-off adjustment and print offset, either way

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

        ctx_.comm.BeginAction();
        repliesReceived_ = 0;
        rowAnswered_.fill(false);
        locksAnswered_ = false;
        failedWrites_ = 0;
        for (std::size_t row = 0; row < kQueryCodes.size(); ++row) {
            if (row > 0) ctx_.clock.sleepMs(kBetweenQueriesMs);
            const int got = querySetting(ctx_.comm, ctx_.clock, reply_, kQueryCodes[row], kReplyWaitMs);
            // The link failed and has said so once: the rest of the Get would only say it again.
            if (!count(got >= 0)) break;
            if (got > 0) {
                ++repliesReceived_;
                rowAnswered_[row] = applyReply(kQueryCodes[row], reply_.text());
            }
        }

        if (failedWrites_ == 0) {
            ctx_.clock.sleepMs(kBetweenQueriesMs);
            if (count(sendLockStatusQuery(ctx_.comm))) {
                reply_.clear();
                ctx_.clock.sleepMs(kReplyWaitMs);
                const int got = reply_.read(ctx_.comm);
                if (got > 0) ++repliesReceived_;
                // The flags are in the third and fourth bytes: a shorter reply carries none.
                if (got >= 4) {
                    applyLockFlags(decodeLockFlags(reply_.bytes()));
                    locksAnswered_ = true;
                }
            }
            ctx_.clock.sleepMs(kAfterGetMs);
        }
    }
    UpdateData(false);
}

// The decimal value of a number reply within [low, high]; nothing when the reply has no digits
// where the number starts (after blanks and a sign) or is out of range.
static std::optional<int> numberReply(std::string_view text, int low, int high) {
    std::size_t i = text.find_first_not_of(" \t\r\n\v\f");
    if (i != std::string_view::npos && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    const int value = decimalValue(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

bool CUserSetting_ZII_BasicTab::applyReply(int code, const std::string& text) {
    auto select = [this](int id, int pos) {
        if (pos >= 0) control(id).setCurSel(pos);
        return pos >= 0;
    };
    // A reply that is no valid value leaves the setting as it was: it is not the printer's.
    auto number = [&text](int low, int high, auto& field) {
        const auto v = numberReply(text, low, high);
        if (v) field = *v;
        return v.has_value();
    };
    switch (code) {
        case 1:
            return number(0, kMaxLabelDots, width_);
        case 2:
            return number(0, kMaxLabelDots, height_);
        case 3:
            return select(IDC_ZB_ORIENTATION, matchLetter(text, {"T", "B"}));
        case 5: {
            const auto v = numberReply(text, kMinSpeed, kMaxSpeed);
            return v && select(IDC_ZB_SPEED, *v - kMinSpeed);
        }
        case 6: {
            const auto v = numberReply(text, 0, kMaxDarkness);
            return v && select(IDC_ZB_DARKNESS, *v);
        }
        case 7:
            return select(IDC_ZB_PRINT_MODE, matchLetter(text, {"T", "D"}));
        case 8: {
            // "G" (gap) is web sensing too.
            static constexpr int kEntry[] = {0, 0, 1, 2};
            const int pos = matchLetter(text, {"W", "G", "C", "M"});
            return select(IDC_ZB_MEDIA_TYPE, pos < 0 ? -1 : kEntry[pos]);
        }
        case 9:
            return number(-kMaxAdjustDots, kMaxAdjustDots, tearOff_);
        case 10:
            return number(-kMaxAdjustDots, kMaxAdjustDots, printOffset_);
        default:
            return false;
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

// Sends the lock sequence of the first `n` locks, each locking when fromBoxes and its box is
// ticked; stops at the first failed write and returns false then.
bool CUserSetting_ZII_BasicTab::sendLocks(bool fromBoxes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (!count(sendSettingLock(ctx_.comm, fromBoxes && control(kLocks[i].box).checked(), kLocks[i].code)))
            return false;
    return true;
}

void CUserSetting_ZII_BasicTab::OnSetToPrinter() {
    // A box that is not a number shows the framework's message and keeps its previous value.
    UpdateData(true);
    {
        ui::WaitCursor wait(host());
        failedWrites_ = 0;
        // The series stops at its first failed write: the port object has said so once.
        std::size_t unlocked = 0;
        while (unlocked < kLocks.size() && count(sendSettingLock(ctx_.comm, false, kLocks[unlocked].code)))
            ++unlocked;
        bool ok = unlocked == kLocks.size();
        if (ok && control(IDC_ZB_USE_TEAR_OFF).checked()) {
            UpdateData(true);
            UpdateData(false);
        }
        const bool anyRow = std::any_of(kRows.begin(), kRows.end(),
                                        [this](const Row& r) { return control(r.use).checked(); });
        if (ok && anyRow) {
            ok = count(ctx_.comm.WriteText(composeSettings()));
            // Lets the printer save the block before the locks go back on.
            if (ok) ctx_.clock.sleepMs(kAfterSetMs);
        }
        if (ok) {
            // Even with nothing to write, the locks the boxes show go back on: the unlock above
            // must not leave the printer unlocked.
            sendLocks(true, kLocks.size());
        } else {
            // The locks this Set removed go back on all the same, without a second message.
            link::LinkMessages& shown = ctx_.comm.messages();
            link::SilentMessages quiet;
            ctx_.comm.setMessages(quiet);
            for (std::size_t i = 0; i < unlocked; ++i)
                if (control(kLocks[i].box).checked() && !sendSettingLock(ctx_.comm, true, kLocks[i].code)) break;
            ctx_.comm.setMessages(shown);
        }
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
