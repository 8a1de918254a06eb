// The RFID configuration dialog over the encoder settings' queries and Set text.
#include "rfid/crfidsetting.h"

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "resources/templates_rfid.h"
#include "ui/dataexchange.h"

namespace velmora::rfid {

using namespace resources;

namespace {
constexpr int kReadGated[] = {IDC_RS_TAG_TYPE, IDC_RS_POWER, IDC_RS_POSITION, IDC_RS_RETRY,
                              IDC_RS_LABELS,   IDC_RS_SET,   IDC_RS_RESET};
}  // namespace

CRFIDSetting::CRFIDSetting(app::ToolContext& ctx) : ui::Dialog(ctx.host, RfidSettingTemplate()), ctx_(ctx) {}

bool CRFIDSetting::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_RS_GET, [this] { OnGet(); });
    on(ui::Event::Clicked, IDC_RS_SET, [this] { OnSet(); });
    on(ui::Event::Clicked, IDC_RS_DEFAULT, [this] { OnDefaultSetting(); });
    on(ui::Event::Clicked, IDC_RS_RESET, [this] { OnReset(); });
    on(ui::Event::Clicked, IDC_RS_CALIBRATE, [this] { OnAutoCalibration(); });
    return true;
}

void CRFIDSetting::DoDataExchange(ui::DataExchange& dx) {
    dx.CBIndex(IDC_RS_TAG_TYPE, values.tagType);
    dx.CBIndex(IDC_RS_POWER, values.power);
    dx.Text(IDC_RS_POSITION, values.position);
    dx.CBIndex(IDC_RS_RETRY, values.retries);
    dx.CBIndex(IDC_RS_LABELS, values.labels);
    dx.Text(IDC_RS_VALID, values.valid);
    dx.Text(IDC_RS_VOID, values.voids);
}

void CRFIDSetting::OnGet() {
    const app::Outcome got = getEncoderSettings(ctx_.comm, ctx_.clock);
    // The fields take the replies as they came; a missing one reads as empty.
    SettingReplies replies;
    for (const auto& v : got.values)
        if (v.replied) replies[findEncoderKey(v.key)->item - 1] = v.raw;
    applyReplies(values, replies);
    // Only a complete, valid reading is shown as one: a setting the encoder did not report
    // would otherwise be sent back by Set as whatever the list happened to show.
    if (!got.done()) {
        app::ShowMessage(host(), got.result.messageId);
        return;
    }
    UpdateData(false);
    if (!control(IDC_RS_SET).enabled())
        for (int id : kReadGated) control(id).enable();
    app::ShowMessage(host(), got.result.messageId);
}

void CRFIDSetting::OnSet() {
    UpdateData(true);
    app::ShowMessage(host(), setEncoderSettings(ctx_.comm, values).result.messageId);
}

void CRFIDSetting::OnDefaultSetting() {
    values.tagType = 0;
    values.power = 0;
    values.position = "600";
    values.retries = 3;
    values.labels = 2;
    UpdateData(false);
}

void CRFIDSetting::OnReset() {
    UpdateData(true);  // what the user changed since the Get stays on show
    const app::Outcome reset = resetCounters(ctx_.comm);
    app::ShowMessage(host(), reset.result.messageId);
    if (reset.done()) values.valid = values.voids = "0";
    UpdateData(false);
}

void CRFIDSetting::OnAutoCalibration() { app::ShowMessage(host(), startCalibration(ctx_.comm).result.messageId); }

namespace {
const bool registered = app::registerDialog({
    app::kToolRfidSetting,
    [](app::ToolContext& ctx) { return std::make_unique<CRFIDSetting>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_RS_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::rfid
