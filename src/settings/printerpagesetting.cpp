// The print and page settings: one exchange per button, one message per exchange.
#include "settings/printerpagesetting.h"

#include <string>

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/templates_settings.h"
#include "settings/settingexchange.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

namespace {
constexpr int kGapDetectItems = 250;
constexpr int kStrobeSwitch = 4;
constexpr int kGapDetectSwitch = 4;
constexpr int kSpeedSwitch = 3;
constexpr int kNoRange = 1;  // min above max
}  // namespace

const std::array<CPrinterPageSetting::Row, kNumericCount> CPrinterPageSetting::kRows = {{
    {IDC_PP_WIDTH, IDC_PP_WIDTH_GET, 0, 5, 0, 0, 832, 153, 154, 155, 156},
    {IDC_PP_DENSITY, IDC_PP_DENSITY_GET, 1, 4, 1, 0, 20, 169, 170, 171, 172},
    {IDC_PP_LENGTH, IDC_PP_LENGTH_GET, 2, 5, 1, 0, 2432, 157, 158, 159, 160},
    {IDC_PP_H_MARGIN, IDC_PP_H_MARGIN_GET, 3, 5, 3, 0, 832, 161, 162, 163, 164},
    {IDC_PP_V_MARGIN, IDC_PP_V_MARGIN_GET, 4, 5, 4, 0, 2432, 165, 166, 167, 168},
    {IDC_PP_GAP_LENGTH, IDC_PP_GAP_LENGTH_GET, 5, 5, 2, kNoRange, 0, 179, 180, 181, 182},
}};

std::uint8_t strobeByte(int choice) { return choice == 1 ? 0x40 : choice == 2 ? 0x80 : 0x00; }

std::optional<int> decodeStrobe(std::uint8_t byte) {
    switch (byte) {
        case 0x00: return 0;
        case 0x40: return 1;
        case 0x80: return 2;
        default: return std::nullopt;
    }
}

std::uint8_t gapDetectByte(int choice) { return choice == 1 ? 0x20 : 0x00; }

std::optional<int> decodeGapDetect(std::uint8_t byte) {
    if (byte == 0x00) return 0;
    if (byte == 0x20) return 1;
    return std::nullopt;
}

std::uint8_t speedByte(int choice) {
    return choice >= 1 && choice <= 6 ? static_cast<std::uint8_t>(choice * 0x20) : 0x00;
}

int decodeSpeed(std::uint8_t byte) {
    const int choice = (byte & 0xE0) / 0x20;
    return choice == 7 ? 0 : choice;
}

CPrinterPageSetting::CPrinterPageSetting(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, PrinterPageSettingTemplate()), ctx_(ctx) {}

bool CPrinterPageSetting::OnInitDialog() {
    control(IDC_PP_DENSITY_SPIN).setRange(0, 20);
    control(IDC_PP_DENSITY_SPIN).show(false);
    gapDetect = 0;
    speed = -1;
    labelLengthCheck = 0;
    FillComboFromString(control(IDC_PP_GAP_DETECT), kGapDetectItems);
    ui::Dialog::OnInitDialog();
    for (int i = 0; i < kNumericCount; ++i) {
        const auto which = static_cast<NumericSetting>(i);
        on(ui::Event::Clicked, kRows[i].getId, [this, which] { OnNumericGet(which); });
        on(ui::Event::Clicked, kRows[i].getId + 1, [this, which] { OnNumericSet(which); });
    }
    on(ui::Event::Clicked, IDC_PP_STROBE_GET, [this] { OnStrobeGet(); });
    on(ui::Event::Clicked, IDC_PP_STROBE_SET, [this] { OnStrobeSet(); });
    on(ui::Event::Clicked, IDC_PP_GAP_DETECT_GET, [this] { OnGapDetectGet(); });
    on(ui::Event::Clicked, IDC_PP_GAP_DETECT_SET, [this] { OnGapDetectSet(); });
    on(ui::Event::Clicked, IDC_PP_SPEED_GET, [this] { OnSpeedGet(); });
    on(ui::Event::Clicked, IDC_PP_SPEED_SET, [this] { OnSpeedSet(); });
    on(ui::Event::Clicked, IDC_PP_OFFSET_GET, [this] { OnOffsetGet(); });
    on(ui::Event::Clicked, IDC_PP_OFFSET_SET, [this] { OnOffsetSet(); });
    on(ui::Event::Clicked, IDC_PP_TEAROFF_GET, [this] { OnTearOffGet(); });
    on(ui::Event::Clicked, IDC_PP_TEAROFF_SET, [this] { OnTearOffSet(); });
    on(ui::Event::Clicked, IDC_PP_LLC_SET, [this] { OnLabelLengthCheckSet(); });
    on(ui::Event::Clicked, IDC_PP_INITIALIZE, [this] { OnInitialize(); });
    return true;
}

void CPrinterPageSetting::DoDataExchange(ui::DataExchange& dx) {
    // In the order of the page, so the first wrong box is the one named.
    for (NumericSetting which : {kPaperWidth, kPaperLength, kGapLength, kHMargin, kVMargin, kDensity}) {
        const Row& row = kRows[which];
        dx.Text(row.editId, values[which]);
        if (row.min <= row.max) dx.MinMaxInt(values[which], row.min, row.max);
    }
    dx.Radio(IDC_PP_STROBE_2, strobe);
    dx.CBIndex(IDC_PP_SPEED, speed);
    dx.Check(IDC_PP_OFFSET_NEG, offsetNegative);
    dx.Text(IDC_PP_OFFSET, offset);
    dx.MinMaxInt(offset, 0, 100);
    dx.Check(IDC_PP_TEAROFF_NEG, tearOffNegative);
    dx.Text(IDC_PP_TEAROFF, tearOff);
    dx.MinMaxInt(tearOff, 0, 100);
    dx.CBIndex(IDC_PP_GAP_DETECT, gapDetect);
    dx.Radio(IDC_PP_LLC_DISABLE, labelLengthCheck);
}

void CPrinterPageSetting::report(bool ok, int okId, int failedId) { app::ShowMessage(host(), ok ? okId : failedId); }

void CPrinterPageSetting::OnNumericSet(NumericSetting which) {
    if (!UpdateData(true)) return;
    const Row& row = kRows[which];
    report(writeRaw(ctx_.comm, userValueCommand(row.valueNumber, values[which])) != 0, row.setOk, row.setFailed);
}

void CPrinterPageSetting::OnNumericGet(NumericSetting which) {
    const Row& row = kRows[which];
    UpdateData(true);  // a wrong box is named, but the Get goes on
    const auto reply = queryReply(ctx_.comm, ctx_.clock, userValueQuery(row.queryGroup, row.queryNumber),
                                  kReplyWaitMs, kTextReplyLimit);
    if (!reply) {
        app::ShowMessage(host(), row.getFailed);
        return;
    }
    control(row.editId).setText(normaliseReply(*reply));
    UpdateData(true);  // a reply out of range is named here
    control(row.editId).enable();
    control(row.getId + 1).enable();
    app::ShowMessage(host(), row.getOk);
}

// A choice of none has no byte: sending one would write a setting the user never chose.
void CPrinterPageSetting::switchSet(int switchNumber, int choice, std::uint8_t value, int ok, int failed) {
    if (choice < 0) {
        app::ShowMessage(host(), failed);
        return;
    }
    report(writeSwitch(ctx_.comm, '^', switchNumber, value, true) != 0, ok, failed);
}

std::optional<std::uint8_t> CPrinterPageSetting::switchGet(int switchNumber) {
    return readSwitch(ctx_.comm, ctx_.clock, '^', switchNumber, kReplyWaitMs);
}

void CPrinterPageSetting::OnStrobeSet() {
    UpdateData(true);
    switchSet(kStrobeSwitch, strobe, strobeByte(strobe), 173, 174);
}

void CPrinterPageSetting::OnStrobeGet() {
    ctx_.comm.BeginAction();
    UpdateData(true);
    strobe = -1;
    UpdateData(false);
    const auto byte = switchGet(kStrobeSwitch);
    if (!byte) {
        app::ShowMessage(host(), 176);
        return;
    }
    if (const auto choice = decodeStrobe(*byte)) strobe = *choice;
    UpdateData(false);
    for (int id : {IDC_PP_STROBE_2, IDC_PP_STROBE_3, IDC_PP_STROBE_4, IDC_PP_STROBE_SET}) control(id).enable();
    app::ShowMessage(host(), 175);
}

void CPrinterPageSetting::OnGapDetectSet() {
    UpdateData(true);
    switchSet(kGapDetectSwitch, gapDetect, gapDetectByte(gapDetect), 183, 184);
}

void CPrinterPageSetting::OnGapDetectGet() {
    ctx_.comm.BeginAction();
    UpdateData(true);
    gapDetect = -1;
    UpdateData(false);
    const auto byte = switchGet(kGapDetectSwitch);
    if (!byte) {
        app::ShowMessage(host(), 186);
        return;
    }
    if (const auto choice = decodeGapDetect(*byte)) gapDetect = *choice;
    UpdateData(false);
    control(IDC_PP_GAP_DETECT).enable();
    control(IDC_PP_GAP_DETECT_SET).enable();
    app::ShowMessage(host(), 185);
}

void CPrinterPageSetting::OnSpeedSet() {
    UpdateData(true);
    switchSet(kSpeedSwitch, speed, speedByte(speed), 189, 190);
}

void CPrinterPageSetting::OnSpeedGet() {
    ctx_.comm.BeginAction();
    UpdateData(true);
    speed = 0;
    const auto byte = switchGet(kSpeedSwitch);
    if (!byte) {
        app::ShowMessage(host(), 188);
        return;
    }
    speed = decodeSpeed(*byte);
    UpdateData(false);
    control(IDC_PP_SPEED).enable();
    control(IDC_PP_SPEED_SET).enable();
    app::ShowMessage(host(), 187);
}

void CPrinterPageSetting::signedGet(const char* query, int& negative, int& magnitude, int negId, int editId,
                                    int setId, int ok, int failed) {
    UpdateData(true);
    const auto reply = queryReply(ctx_.comm, ctx_.clock, query, kReplyWaitMs, kSignedReplyLimit);
    // A reply that is not a sign and three digits is no value: showing a number made from other
    // bytes would pass it off as the printer's setting.
    const auto value = reply ? parseSignedReply(*reply) : std::nullopt;
    if (!value) {
        app::ShowMessage(host(), failed);
        return;
    }
    negative = value->negative ? 1 : 0;
    magnitude = value->magnitude;
    UpdateData(false);
    for (int id : {editId, negId, setId}) control(id).enable();
    app::ShowMessage(host(), ok);
}

void CPrinterPageSetting::signedSet(const char* command, int negId, int editId, int ok, int failed) {
    if (!UpdateData(true)) return;
    const std::string text = std::string(command) + (control(negId).checked() ? "-" : "+") +
                             control(editId).text() + "\r\n";
    report(ctx_.comm.WriteText(text) != 0, ok, failed);
}

void CPrinterPageSetting::OnOffsetGet() {
    ctx_.comm.BeginAction();
    signedGet("^SA\r\n", offsetNegative, offset, IDC_PP_OFFSET_NEG, IDC_PP_OFFSET, IDC_PP_OFFSET_SET, 191, 192);
}

void CPrinterPageSetting::OnOffsetSet() { signedSet("SA", IDC_PP_OFFSET_NEG, IDC_PP_OFFSET, 193, 194); }

void CPrinterPageSetting::OnTearOffGet() {
    ctx_.comm.BeginAction();
    signedGet("^PI4,2\r\n", tearOffNegative, tearOff, IDC_PP_TEAROFF_NEG, IDC_PP_TEAROFF, IDC_PP_TEAROFF_SET, 197,
              198);
}

void CPrinterPageSetting::OnTearOffSet() { signedSet("TA", IDC_PP_TEAROFF_NEG, IDC_PP_TEAROFF, 195, 196); }

void CPrinterPageSetting::OnLabelLengthCheckSet() {
    lastImmediateWrite_ = writeRaw(ctx_.comm, control(IDC_PP_LLC_ENABLE).checked() ? "^MBL1" : "^MBL0");
}

void CPrinterPageSetting::OnInitialize() {
    report(writeRaw(ctx_.comm, std::string_view("^MBU\x0f,99\r", 9)) != 0, 177, 178);
}

namespace {
const bool registered = app::registerDialog({
    "printer-page",
    [](app::ToolContext& ctx) { return std::make_unique<CPrinterPageSetting>(ctx); },
    {{"after-get", [](ui::Dialog& d) {
          for (int id : {IDC_PP_WIDTH_GET, IDC_PP_DENSITY_GET, IDC_PP_STROBE_GET, IDC_PP_SPEED_GET,
                         IDC_PP_OFFSET_GET, IDC_PP_GAP_DETECT_GET})
              d.click(id);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::settings
