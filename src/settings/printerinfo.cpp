// The printer information page: eight queries, one verdict from the last of them.
#include "settings/printerinfo.h"

#include "app/dialogcatalog.h"
#include "platform/codepage.h"
#include "resources/messages.h"
#include "resources/templates_settings.h"
#include "settings/settingexchange.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

const std::array<int, kInfoFactCount> CPrinterInfo::kFactIds = {
    IDC_PI_MODEL, IDC_PI_FIRMWARE, IDC_PI_MOTOR,  IDC_PI_MOTOR_PERMANENT,
    IDC_PI_TPH,   IDC_PI_TPH_PERMANENT, IDC_PI_CUTTER, IDC_PI_CUTTER_PERMANENT,
};

CPrinterInfo::CPrinterInfo(app::ToolContext& ctx) : ui::Dialog(ctx.host, PrinterInfoTemplate()), ctx_(ctx) {}

bool CPrinterInfo::OnInitDialog() {
    control(IDC_PI_USB_SERIAL).setLimitText(kUsbSerialLength);
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_PI_GET, [this] { OnGet(); });
    on(ui::Event::Clicked, IDC_PI_INIT_MOTOR, [this] { OnInitStat(InfoCounter::Motor); });
    on(ui::Event::Clicked, IDC_PI_INIT_TPH, [this] { OnInitStat(InfoCounter::Tph); });
    on(ui::Event::Clicked, IDC_PI_INIT_CUTTER, [this] { OnInitStat(InfoCounter::Cutter); });
    on(ui::Event::Clicked, IDC_PI_USB_SET, [this] { OnUsbSerialSet(); });
    return true;
}

void CPrinterInfo::DoDataExchange(ui::DataExchange& dx) {
    for (std::size_t i = 0; i < kInfoFactCount; ++i) dx.Text(kFactIds[i], facts[i]);
    dx.Text(IDC_PI_USB_SERIAL, usbSerial);
    dx.MaxChars(usbSerial, kUsbSerialLength);
}

void CPrinterInfo::OnGet() {
    bool lastAnswered = false;
    {
        ui::WaitCursor wait(host());
        for (auto& fact : facts) fact.clear();
        for (int id : kFactIds) control(id).setText("");
        const app::Outcome got = getPrinterInfo(ctx_.comm, ctx_.clock);
        // The page shows each reply by its own rule, valid or not: model and firmware as they
        // came, line end too; a counter with its trailing LF run and then its CR run removed.
        for (std::size_t i = 0; i < got.values.size(); ++i) {
            const InfoFact& f = printerInfoFacts()[i];
            const std::string& raw = got.values[i].raw;
            if (!f.suffix) {
                facts[i] = platform::fromCodePage(raw);
                continue;
            }
            std::string text = trimLineEnd(raw);
            if (text.empty() && f.emptyIsZero) text.assign(1, '0');
            facts[i] = text + f.suffix;
        }
        // The verdict is the last query's alone.
        lastAnswered = got.values.size() == kInfoFactCount && got.values.back().replied;
    }
    if (lastAnswered) {
        for (std::size_t i = 0; i < kInfoFactCount; ++i) control(kFactIds[i]).setText(facts[i]);
        app::ShowMessage(host(), msg::kInfoGetOk);
    } else {
        host().messageBox("Get printer information is failed", "Warnning", ui::Icon::Exclamation, ui::Buttons::Ok);
        app::ShowMessage(host(), msg::kInfoGetFailed);
    }
}

void CPrinterInfo::OnInitStat(InfoCounter counter) { lastWrite_ = resetCounter(ctx_.comm, counter).done() ? 1 : 0; }

void CPrinterInfo::OnUsbSerialSet() {
    if (!UpdateData(true)) return;
    const app::Outcome set = setUsbSerial(ctx_.comm, usbSerial);
    if (set.result.status == app::Status::Refused) {
        if (set.result.messageId) app::ShowMessage(host(), set.result.messageId);
        if (!set.result.message.empty()) host().message(set.result.message);
        return;
    }
    lastWrite_ = set.done() ? 1 : 0;
}

namespace {
const bool registered = app::registerDialog({
    "printer-info",
    [](app::ToolContext& ctx) { return std::make_unique<CPrinterInfo>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_PI_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::settings
