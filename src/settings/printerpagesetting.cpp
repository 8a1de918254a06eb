// The print and page settings: one exchange per button, one message per exchange. The exchanges
// are the operations of printerpageops.h; the page maps its controls onto them and shows what
// came back as the page's rules say.
#include "settings/printerpagesetting.h"

#include <string>

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/messages.h"
#include "resources/templates_settings.h"
#include "settings/printerpageops.h"
#include "settings/settingexchange.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

namespace {

const PageKey& keyOf(const char* name) { return *findPrinterPageKey(name); }

int choiceOf(const PageKey& key, const std::string& word) {
    for (std::size_t i = 0; i < key.words.size(); ++i)
        if (key.words[i] == word) return static_cast<int>(i);
    return -1;
}
}  // namespace

const std::array<CPrinterPageSetting::Row, kNumericCount> CPrinterPageSetting::kRows = {{
    {IDC_PP_WIDTH, IDC_PP_WIDTH_GET, "paper-width"},
    {IDC_PP_DENSITY, IDC_PP_DENSITY_GET, "density"},
    {IDC_PP_LENGTH, IDC_PP_LENGTH_GET, "paper-length"},
    {IDC_PP_H_MARGIN, IDC_PP_H_MARGIN_GET, "h-margin"},
    {IDC_PP_V_MARGIN, IDC_PP_V_MARGIN_GET, "v-margin"},
    {IDC_PP_GAP_LENGTH, IDC_PP_GAP_LENGTH_GET, "gap-length"},
}};

CPrinterPageSetting::CPrinterPageSetting(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, PrinterPageSettingTemplate()), ctx_(ctx) {}

bool CPrinterPageSetting::OnInitDialog() {
    control(IDC_PP_DENSITY_SPIN).setRange(0, 20);
    control(IDC_PP_DENSITY_SPIN).show(false);
    gapDetect = 0;
    speed = -1;
    labelLengthCheck = 0;
    FillComboFromString(control(IDC_PP_GAP_DETECT), msg::kGapDetectItems);
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
        const PageKey& key = keyOf(row.key);
        dx.Text(row.editId, values[which]);
        if (key.min <= key.max) dx.MinMaxInt(values[which], key.min, key.max);
    }
    dx.Radio(IDC_PP_STROBE_2, strobe);
    dx.CBIndex(IDC_PP_SPEED, speed);
    dx.Check(IDC_PP_OFFSET_NEG, offsetNegative);
    dx.Text(IDC_PP_OFFSET, offset);
    dx.MinMaxInt(offset, 0, keyOf("offset").max);
    dx.Check(IDC_PP_TEAROFF_NEG, tearOffNegative);
    dx.Text(IDC_PP_TEAROFF, tearOff);
    dx.MinMaxInt(tearOff, 0, keyOf("tear-off").max);
    dx.CBIndex(IDC_PP_GAP_DETECT, gapDetect);
    dx.Radio(IDC_PP_LLC_DISABLE, labelLengthCheck);
}

void CPrinterPageSetting::report(const app::Outcome& outcome) {
    if (outcome.result.messageId) app::ShowMessage(host(), outcome.result.messageId);
}

void CPrinterPageSetting::OnNumericSet(NumericSetting which) {
    if (!UpdateData(true)) return;
    PageValue value;
    value.number = values[which];
    report(setPageSetting(ctx_.comm, ctx_.clock, keyOf(kRows[which].key), value));
}

void CPrinterPageSetting::OnNumericGet(NumericSetting which) {
    const Row& row = kRows[which];
    const PageKey& key = keyOf(row.key);
    ctx_.comm.BeginAction();
    UpdateData(true);  // a wrong box is named, but the Get goes on
    const app::Outcome got = getPageSetting(ctx_.comm, ctx_.clock, key);
    // Any reply is shown as the page shows replies; one that is no valid value is named by the
    // box's own range message below.
    if (got.values.empty() || !got.values.front().replied) {
        app::ShowMessage(host(), key.getFailed);
        return;
    }
    control(row.editId).setText(normaliseReply(got.values.front().raw));
    UpdateData(true);  // a reply out of range is named here
    control(row.editId).enable();
    control(row.getId + 1).enable();
    app::ShowMessage(host(), key.getOk);
}

// A choice of none has no byte: the operation sends nothing and reports the failure string.
void CPrinterPageSetting::switchSet(const char* key, int choice) {
    PageValue value;
    value.choice = choice;
    report(setPageSetting(ctx_.comm, ctx_.clock, keyOf(key), value));
}

void CPrinterPageSetting::switchGet(const char* name, int& choice, int noneChoice, bool redisplayBefore,
                                   std::initializer_list<int> enable) {
    const PageKey& key = keyOf(name);
    ctx_.comm.BeginAction();
    UpdateData(true);
    choice = noneChoice;
    if (redisplayBefore) UpdateData(false);
    const app::Outcome got = getPageSetting(ctx_.comm, ctx_.clock, key);
    if (got.values.empty() || !got.values.front().replied) {
        app::ShowMessage(host(), key.getFailed);
        return;
    }
    // A byte the table lacks leaves the choice as it was set above.
    if (got.values.front().valid) choice = choiceOf(key, got.values.front().text);
    UpdateData(false);
    for (int id : enable) control(id).enable();
    app::ShowMessage(host(), key.getOk);
}

void CPrinterPageSetting::OnStrobeSet() {
    UpdateData(true);
    switchSet("strobe", strobe);
}

void CPrinterPageSetting::OnStrobeGet() {
    switchGet("strobe", strobe, -1, true, {IDC_PP_STROBE_2, IDC_PP_STROBE_3, IDC_PP_STROBE_4, IDC_PP_STROBE_SET});
}

void CPrinterPageSetting::OnGapDetectSet() {
    UpdateData(true);
    switchSet("gap-detect", gapDetect);
}

void CPrinterPageSetting::OnGapDetectGet() {
    switchGet("gap-detect", gapDetect, -1, true, {IDC_PP_GAP_DETECT, IDC_PP_GAP_DETECT_SET});
}

void CPrinterPageSetting::OnSpeedSet() {
    UpdateData(true);
    switchSet("speed", speed);
}

void CPrinterPageSetting::OnSpeedGet() {
    switchGet("speed", speed, 0, false, {IDC_PP_SPEED, IDC_PP_SPEED_SET});
}

void CPrinterPageSetting::signedGet(const char* name, int& negative, int& magnitude, int negId, int editId,
                                    int setId) {
    const PageKey& key = keyOf(name);
    ctx_.comm.BeginAction();
    UpdateData(true);
    const app::Outcome got = getPageSetting(ctx_.comm, ctx_.clock, key);
    // A reply that is not a sign and three digits is no value: showing a number made from other
    // bytes would pass it off as the printer's setting.
    const auto value = got.values.empty() ? std::nullopt : parseSignedReply(got.values.front().raw);
    if (!value) {
        app::ShowMessage(host(), key.getFailed);
        return;
    }
    negative = value->negative ? 1 : 0;
    magnitude = value->magnitude;
    UpdateData(false);
    for (int id : {editId, negId, setId}) control(id).enable();
    app::ShowMessage(host(), key.getOk);
}

void CPrinterPageSetting::signedSet(const char* key, int negId, int editId) {
    if (!UpdateData(true)) return;
    PageValue value;
    value.negative = control(negId).checked();
    value.magnitude = control(editId).text();  // sent as typed
    report(setPageSetting(ctx_.comm, ctx_.clock, keyOf(key), value));
}

void CPrinterPageSetting::OnOffsetGet() {
    signedGet("offset", offsetNegative, offset, IDC_PP_OFFSET_NEG, IDC_PP_OFFSET, IDC_PP_OFFSET_SET);
}

void CPrinterPageSetting::OnOffsetSet() { signedSet("offset", IDC_PP_OFFSET_NEG, IDC_PP_OFFSET); }

void CPrinterPageSetting::OnTearOffGet() {
    signedGet("tear-off", tearOffNegative, tearOff, IDC_PP_TEAROFF_NEG, IDC_PP_TEAROFF, IDC_PP_TEAROFF_SET);
}

void CPrinterPageSetting::OnTearOffSet() { signedSet("tear-off", IDC_PP_TEAROFF_NEG, IDC_PP_TEAROFF); }

void CPrinterPageSetting::OnLabelLengthCheckSet() {
    PageValue value;
    value.choice = control(IDC_PP_LLC_ENABLE).checked() ? 1 : 0;
    lastImmediateWrite_ = setPageSetting(ctx_.comm, ctx_.clock, keyOf("label-length-check"), value).done() ? 1 : 0;
}

void CPrinterPageSetting::OnInitialize() { report(initializeUserSettings(ctx_.comm)); }

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
