// ZII serial interface page: query 11 in, "^SC" out, and the restart reminder.
#include "zii/usersetting_zii_serialtab.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/templates_zii_pages.h"
#include "ui/dataexchange.h"
#include "zii/ziiprotocol.h"

namespace velmora::zii {

using namespace resources;

namespace {

constexpr int kBaudItems = 264;
constexpr int kParityItems = 266;
constexpr int kStopBitItems = 267;
constexpr int kProtocolItems = 268;

// "Default Setting": the entry each list gets, compared in upper case.
constexpr std::array<const char*, kSerialFieldCount> kDefaults = {"115200", "8", "NONE", "1", "HARDWARE"};

std::string upper(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

int indexOf(std::string_view field, std::initializer_list<std::string_view> values) {
    int pos = 0;
    for (std::string_view v : values) {
        if (field == v) return pos;
        ++pos;
    }
    return -1;
}

int numberIndex(std::string_view field, std::initializer_list<int> values) {
    const int value = decimalValue(field);
    int pos = 0;
    for (int v : values) {
        if (value == v) return pos;
        ++pos;
    }
    return -1;
}

}  // namespace

const std::array<int, kSerialFieldCount> CUserSetting_ZII_SerialTab::kListIds = {
    IDC_ZSER_BAUD, IDC_ZSER_DATA_LENGTH, IDC_ZSER_PARITY, IDC_ZSER_STOP_BIT, IDC_ZSER_PROTOCOL};

std::array<int, kSerialFieldCount> parseSerialReply(std::string_view reply) {
    std::array<int, kSerialFieldCount> out{-1, -1, -1, -1, -1};
    const auto firstDigit = reply.find_first_of("0123456789");
    if (firstDigit == std::string_view::npos) return out;
    std::vector<std::string_view> fields;
    std::string_view rest = reply.substr(firstDigit);
    while (fields.size() < kSerialFieldCount) {
        const auto comma = rest.find(',');
        const std::string_view field = rest.substr(0, comma);
        if (!field.empty()) fields.push_back(field);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view f = fields[i];
        switch (i) {
            case kBaudField:
                out[i] = numberIndex(f, {9600, 14400, 19200, 28800, 38400, 57600, 115200});
                break;
            case kDataLengthField:
                out[i] = numberIndex(f, {8, 7});
                break;
            case kParityField:
                out[i] = indexOf(f, {"N", "E", "O"});
                break;
            case kStopBitField:
                out[i] = numberIndex(f, {1, 2});
                break;
            case kProtocolField:
                out[i] = indexOf(f, {"X", "D"});
                break;
        }
    }
    return out;
}

std::string serialSetCommand(const std::string& baud, const std::string& dataLength,
                             const std::string& parity, const std::string& stopBit,
                             const std::string& protocol) {
    std::string text = "^XA^SC" + baud + "," + dataLength + "," + parity.substr(0, 1) + "," + stopBit + ",";
    text += upper(protocol) == "SOFTWARE" ? "X," : "D,";
    text += "N^JUS^XZ\r\n";
    return text;
}

CUserSetting_ZII_SerialTab::CUserSetting_ZII_SerialTab(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiSerialTabTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_SerialTab::OnInitDialog() {
    FillComboFromString(control(IDC_ZSER_BAUD), kBaudItems);
    FillComboFromString(control(IDC_ZSER_PARITY), kParityItems);
    FillComboFromString(control(IDC_ZSER_STOP_BIT), kStopBitItems);
    FillComboFromString(control(IDC_ZSER_PROTOCOL), kProtocolItems);
    ui::Dialog::OnInitDialog();
    on(ui::Event::Clicked, IDC_ZSER_GET, [this] { OnGet(); });
    on(ui::Event::Clicked, IDC_ZSER_SET, [this] { OnSet(); });
    on(ui::Event::Clicked, IDC_ZSER_DEFAULT, [this] { OnDefaultSetting(); });
    return true;
}

void CUserSetting_ZII_SerialTab::DoDataExchange(ui::DataExchange& dx) {
    for (int i = 0; i < kSerialFieldCount; ++i) dx.CBIndex(kListIds[i], positions[i]);
}

void CUserSetting_ZII_SerialTab::enableEditing() {
    for (int id : kListIds) control(id).enable();
    control(IDC_ZSER_SET).enable();
}

void CUserSetting_ZII_SerialTab::OnDefaultSetting() {
    ui::WaitCursor wait(host());
    enableEditing();
    for (int i = 0; i < kSerialFieldCount; ++i) {
        ui::Control& list = control(kListIds[i]);
        for (int pos = 0; pos < list.count(); ++pos) {
            if (upper(list.itemText(pos)) == kDefaults[i]) {
                list.setCurSel(pos);
                break;
            }
        }
    }
}

void CUserSetting_ZII_SerialTab::OnGet() {
    ui::WaitCursor wait(host());
    enableEditing();
    ReplyArea area;
    ctx_.comm.BeginAction();
    if (querySetting(ctx_.comm, ctx_.clock, area, kSerialQuery, kReplyWaitMs) > 0) {
        UpdateData(true);
        const auto found = parseSerialReply(area.text());
        for (int i = 0; i < kSerialFieldCount; ++i)
            if (found[i] >= 0) positions[i] = found[i];
        UpdateData(false);
    }
    ctx_.clock.sleepMs(kAfterReadWaitMs);
}

void CUserSetting_ZII_SerialTab::OnSet() {
    ui::WaitCursor wait(host());
    UpdateData(true);
    // A list without a selection has no value to send; sending a guess could leave the printer
    // unreachable after its restart, so the Set is refused instead.
    for (int i = 0; i < kSerialFieldCount; ++i) {
        if (positions[i] < 0) {
            app::ShowMessage(host(), kMsgSelectField[i]);
            return;
        }
    }
    auto entry = [this](int field) { return control(kListIds[field]).itemText(positions[field]); };
    const std::string text = serialSetCommand(entry(kBaudField), entry(kDataLengthField), entry(kParityField),
                                              entry(kStopBitField), entry(kProtocolField));
    if (ctx_.comm.WriteText(text)) {
        app::ShowMessage(host(), kMsgSetSucceeded);
        app::ShowMessage(host(), kMsgRestartPrinter);
    } else {
        app::ShowMessage(host(), kMsgSetFailed);
    }
}

namespace {
const bool registered = app::registerDialog({
    "zii-serial",
    [](app::ToolContext& ctx) { return std::make_unique<CUserSetting_ZII_SerialTab>(ctx); },
    {{"after-get", [](ui::Dialog& d) { d.click(IDC_ZSER_GET); }}},
    {},
});
}  // namespace

}  // namespace velmora::zii
