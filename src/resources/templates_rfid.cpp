// Layouts of the RFID configuration, write and read dialogs.
#include "resources/templates_rfid.h"

#include <functional>

#include "resources/templates_rfid_parts.h"

namespace velmora::resources {

using namespace ui::layout;
using ui::ControlKind;

namespace {
std::vector<std::string> numbers(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(std::to_string(i));
    return out;
}
}  // namespace

const std::vector<std::string> kRfidPowerItems = [] {
    auto items = numbers(0, 31);
    items.erase(items.begin() + 8);  // the encoder's list has no "8"
    return items;
}();
const std::vector<std::string> kRfidStartItems = numbers(0, 16);
const std::vector<std::string> kRfidCountItems = numbers(2, 64);

ui::LayoutNode lockPayloadGrid(const std::function<int(int)>& idOfBit) {
    std::vector<ui::LayoutNode> cells = {label("")};
    for (const char* caption : {"Kill\nPass", "Access\nPass", "EPC\nMemory", "TID\nMemory", "User\nMemory"})
        cells.push_back(label(caption));
    for (int rowTop : {19, 9}) {
        cells.push_back(label(rowTop == 19 ? "Mask" : "Action"));
        for (int area = 0; area < 5; ++area)
            cells.push_back(row({checkBox(idOfBit(rowTop - 2 * area), ""), checkBox(idOfBit(rowTop - 2 * area - 1), ""),
                                 stretch()}));
    }
    return grid(6, std::move(cells));
}

ui::LayoutNode dataCells(int firstId, int count, int perRow, bool readOnly) {
    ui::ControlStyle s;
    s.widthChars = 2;
    s.disabled = !readOnly;
    s.readOnly = readOnly;
    s.monospace = true;
    // Each row of cells under a row of their numbers.
    std::vector<ui::LayoutNode> cells;
    for (int rowStart = 0; rowStart < count; rowStart += perRow) {
        for (int i = rowStart; i < rowStart + perRow; ++i) cells.push_back(label(i < count ? std::to_string(i + 1) : ""));
        for (int i = rowStart; i < rowStart + perRow; ++i)
            cells.push_back(i < count ? edit(firstId + i, 2, s) : label(""));
    }
    return grid(perRow, std::move(cells));
}

const ui::DialogTemplate& RfidSettingTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 2001;
        d.caption = "RFID Configuration";
        ui::ControlStyle count;
        count.readOnly = true;
        count.widthChars = 10;
        d.root = column({
            group("RFID Setting",
                  {grid(2,
                        {
                            label("Tag Type :"), disabled(dropList(IDC_RS_TAG_TYPE, 10, {"GEN2", "ISO-B"})),
                            label("Writing Power :"), disabled(dropList(IDC_RS_POWER, 10, kRfidPowerItems)),
                            label("Transponder Position :"), disabled(edit(IDC_RS_POSITION, 10)),
                            label("Number of retry :"), disabled(dropList(IDC_RS_RETRY, 10, numbers(0, 10))),
                            label("Number of Label :"), disabled(dropList(IDC_RS_LABELS, 10, numbers(0, 5))),
                            label("RFID Valid :"), control(IDC_RS_VALID, ControlKind::Static, "", count),
                            label("RFID Void :"), control(IDC_RS_VOID, ControlKind::Static, "", count),
                        }),
                   row({button(IDC_RS_GET, "Get"), disabled(button(IDC_RS_SET, "Set")),
                        button(IDC_RS_DEFAULT, "Default Setting")}),
                   row({disabled(button(IDC_RS_RESET, "Reset")), button(IDC_RS_CALIBRATE, "Auto Calibration"),
                        stretch()})}),
            row({stretch(), button(ui::IDCANCEL, "Close")}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& RfidWriteReadTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 2002;
        d.caption = "RFID Write";
        // Password and Data side by side, so the window fits a small screen.
        d.root = column({
            row({group("Password", {grid(2, {label("Access :"), edit(IDC_RW_ACCESS, 12), label("Kill :"),
                                             edit(IDC_RW_KILL, 12)}),
                                    row({label("* The value must be hexadecimal. (ex: A0.F1.2B.CA)"), stretch()}),
                                    row({stretch(), button(IDC_RW_PASSWORD, "Password")}), stretch()}),
                 group("Data", {row({memoryAndKind(), stretch()}),
                                grid(2, {label("Start Block Number :"), dropList(IDC_RW_START, 5, kRfidStartItems),
                                         label("Number of bytes :"), dropList(IDC_RW_COUNT, 5, kRfidCountItems)}),
                                row({button(IDC_RW_SET_DATA, "Set Data"),
                                     disabled(button(IDC_RW_RESET_DATA, "Reset Data")), stretch()})})}),
            group("", {dataCells(IDC_RW_CELL_FIRST, kRfidCells, 16, false)}),
            row({column({checkBox(IDC_RW_DO_DATA, "Data"), checkBox(IDC_RW_DO_LOCK, "Lock-Command"),
                         checkBox(IDC_RW_DO_UNLOCK, "Unlock")}),
                 group("Lock-Command Payload", {lockPayloadGrid([](int bit) { return IDC_RW_LOCK_BIT0 + bit; })}),
                 stretch()}),
            row({disabled(button(IDC_RW_WRITE, "Write")), button(IDC_RW_POPUP_READ, "Popup RFID Read Dialog"), stretch(),
                 button(ui::IDCANCEL, "Close")}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& RfidReadTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 2003;
        d.caption = "RFID Read";
        d.root = column({
            group("RFID Read",
                  {row({memoryAndKind(),
                        grid(2, {label("Start Block Number :"), dropList(IDC_RW_START, 5, kRfidStartItems),
                                 label("Number of bytes :"), dropList(IDC_RW_COUNT, 5, kRfidCountItems)}),
                        stretch()}),
                   dataCells(IDC_RW_CELL_FIRST, kRfidCells, 12, true)}),
            row({button(IDC_RR_READ, "Read"), button(IDC_RR_PRINT, "Print"), stretch(), button(ui::IDCANCEL, "Close")}),
        });
        return d;
    }();
    return t;
}

ui::LayoutNode memoryAndKind() {
    return grid(3, {radio(IDC_RW_EPC, "EPC Data :", true), dropList(IDC_RW_FORMAT, 6, {"Hex", "ASCII"}), label(""),
                    radio(IDC_RW_USER, "User Data"), label(""), label(""), radio(IDC_RW_LABEL, "Label", true),
                    radio(IDC_RW_METAL, "Metal"), label("")});
}

}  // namespace velmora::resources
