// The printer information page: eight queries, one verdict from the last of them.
#include "settings/printerinfo.h"

#include "app/dialogcatalog.h"
#include "platform/codepage.h"
#include "resources/stringtable.h"
#include "resources/templates_settings.h"
#include "settings/settingexchange.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

const std::array<CPrinterInfo::Fact, 8> CPrinterInfo::kFacts = {{
    {IDC_PI_MODEL, "^PI0\r\n", nullptr, false},
    {IDC_PI_FIRMWARE, "^PI2\r\n", nullptr, false},
    {IDC_PI_MOTOR, "^PI3,0,0\r\n", " meter", false},
    {IDC_PI_MOTOR_PERMANENT, "^PI3,0,1\r\n", " meter", false},
    {IDC_PI_TPH, "^PI3,1,0\r\n", " meter", false},
    {IDC_PI_TPH_PERMANENT, "^PI3,1,1\r\n", " meter", false},
    {IDC_PI_CUTTER, "^PI3,2,0\r\n", " times", true},
    {IDC_PI_CUTTER_PERMANENT, "^PI3,2,1\r\n", " times", true},
}};

CPrinterInfo::CPrinterInfo(app::ToolContext& ctx) : ui::Dialog(ctx.host, PrinterInfoTemplate()), ctx_(ctx) {}

bool CPrinterInfo::OnInitDialog() {
    control(IDC_PI_USB_SERIAL).setLimitText(kUsbSerialLength);
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_PI_GET, [this] { OnGet(); });
    on(ui::Event::Clicked, IDC_PI_INIT_MOTOR, [this] { OnInitStat(0x0C); });
    on(ui::Event::Clicked, IDC_PI_INIT_TPH, [this] { OnInitStat(0x0D); });
    on(ui::Event::Clicked, IDC_PI_INIT_CUTTER, [this] { OnInitStat(0x0E); });
    on(ui::Event::Clicked, IDC_PI_USB_SET, [this] { OnUsbSerialSet(); });
    return true;
}

void CPrinterInfo::DoDataExchange(ui::DataExchange& dx) {
    for (std::size_t i = 0; i < kFacts.size(); ++i) dx.Text(kFacts[i].id, facts[i]);
    dx.Text(IDC_PI_USB_SERIAL, usbSerial);
    dx.MaxChars(usbSerial, kUsbSerialLength);
}

void CPrinterInfo::OnGet() {
    ctx_.comm.BeginAction();
    bool lastAnswered = false;
    {
        ui::WaitCursor wait(host());
        for (auto& fact : facts) fact.clear();
        for (std::size_t i = 0; i < kFacts.size(); ++i) control(kFacts[i].id).setText("");
        for (std::size_t i = 0; i < kFacts.size(); ++i) {
            const Fact& f = kFacts[i];
            const auto reply = queryReply(ctx_.comm, ctx_.clock, f.query, kReplyWaitMs, kReplyLimit);
            const std::string raw = reply.value_or("");
            if (!f.suffix) {
                facts[i] = platform::fromCodePage(raw);  // kept as received, line end too
                continue;
            }
            std::string text = trimLineEnd(raw);
            if (text.empty() && f.emptyIsZero) text.assign(1, '0');
            text.append(f.suffix);
            facts[i] = std::move(text);
            lastAnswered = reply.has_value();
        }
    }
    if (lastAnswered) {
        for (std::size_t i = 0; i < kFacts.size(); ++i) control(kFacts[i].id).setText(facts[i]);
        app::ShowMessage(host(), kMsgGetOk);
    } else {
        host().messageBox("Get printer information is failed", "Warnning", ui::Icon::Exclamation, ui::Buttons::Ok);
        app::ShowMessage(host(), kMsgGetFailed);
    }
}

void CPrinterInfo::OnInitStat(std::uint8_t counter) {
    std::string bytes = "*MBY\x0f";
    bytes += static_cast<char>(counter);
    lastWrite_ = writeRaw(ctx_.comm, bytes);
}

void CPrinterInfo::OnUsbSerialSet() {
    if (!UpdateData(true)) return;
    // Only the count is checked, in characters, not that they are digits.
    int characters = 0;
    for (unsigned char c : usbSerial) characters += (c & 0xC0) != 0x80;
    if (characters != kUsbSerialLength) {
        app::ShowMessage(host(), kMsgUsbSerialLength);
        return;
    }
    lastWrite_ = ctx_.comm.WriteText("\x1b\x1c\x1d" + usbSerial + "\r\n");
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
