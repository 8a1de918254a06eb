// The RFID configuration dialog over the encoder settings' queries and Set text.
#include "rfid/crfidsetting.h"

#include "app/dialogcatalog.h"
#include "app/menuview.h"
#include "resources/templates_rfid.h"
#include "rfid/rfidcommands.h"
#include "ui/dataexchange.h"

namespace velmora::rfid {

using namespace resources;

namespace {
constexpr int kMsgSetOk = 202, kMsgSetFailed = 203, kMsgGetOk = 204, kMsgGetFailed = 205;
constexpr int kMsgCalibrationOk = 206, kMsgCalibrationFailed = 207;
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
    ctx_.comm.BeginAction();
    const SettingReplies replies = querySettings(ctx_.comm, ctx_.clock);
    applyReplies(values, replies);
    // Only a complete reading is shown as one: a setting the encoder did not report would
    // otherwise be sent back by Set as whatever the list happened to show.
    if (!allAnswered(replies)) {
        app::ShowMessage(host(), kMsgGetFailed);
        return;
    }
    UpdateData(false);
    if (!control(IDC_RS_SET).enabled())
        for (int id : kReadGated) control(id).enable();
    app::ShowMessage(host(), kMsgGetOk);
}

void CRFIDSetting::OnSet() {
    UpdateData(true);
    const auto text = settingsText(values);
    if (!text || !ctx_.comm.WriteText(*text)) {
        app::ShowMessage(host(), kMsgSetFailed);
        return;
    }
    app::ShowMessage(host(), kMsgSetOk);
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
    if (ctx_.comm.WriteText(std::string(kResetCounters) + "\r")) {
        app::ShowMessage(host(), kMsgCalibrationOk);
        values.valid = values.voids = "0";
    } else {
        app::ShowMessage(host(), kMsgCalibrationFailed);
    }
    UpdateData(false);
}

void CRFIDSetting::OnAutoCalibration() {
    app::ShowMessage(host(), ctx_.comm.WriteText(std::string(kCalibrate) + "\r") ? kMsgCalibrationOk
                                                                                    : kMsgCalibrationFailed);
}

namespace {
const bool registered = app::registerDialog({
    app::kToolRfidSetting,
    [](app::ToolContext& ctx) { return std::make_unique<CRFIDSetting>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_RS_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::rfid
