// Layouts of the command tester's RFID builders: each command laid out as it is written.
#include "resources/templates_rfid.h"
#include "resources/templates_rfid_parts.h"
#include "resources/templates_tester_parts.h"

namespace velmora::resources {

using namespace ui::layout;

namespace {
std::vector<std::string> numbers(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(std::to_string(i));
    return out;
}

ui::DialogTemplate builder(int resourceId, const char* caption, std::vector<ui::LayoutNode> body) {
    ui::DialogTemplate d;
    d.resourceId = resourceId;
    d.caption = caption;
    body.push_back(builderButtons(false));
    d.root = column(std::move(body));
    return d;
}
}  // namespace

const ui::DialogTemplate& RfidWriteCommandTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::ControlStyle cell;
        cell.widthChars = 2;
        cell.disabled = true;
        cell.monospace = true;
        std::vector<ui::LayoutNode> cells = {label(",'")};
        for (int i = 0; i < kRfidBuilderCells; ++i) cells.push_back(edit(IDC_RB_CELL_FIRST + i, 2, cell));
        cells.push_back(label("'"));
        cells.push_back(stretch());
        return builder(181, "RFID Write",
                       {commandRow(">RFW,", {field("Type", dropList(IDC_RB_WRITE_TYPE, 3, {"H", "A"})),
                                            field("Start", dropList(IDC_RB_WRITE_START, 3, numbers(4, 10))),
                                            field("Bytes", dropList(IDC_RB_WRITE_COUNT, 3, numbers(1, 12)))}),
                        row(std::move(cells)),
                        row({button(IDC_RB_SET_DATA, "Set Data"), disabled(button(IDC_RB_RESET_DATA, "Reset Data")),
                             stretch()})});
    }();
    return t;
}

const ui::DialogTemplate& RfidReadCommandTemplate() {
    static const ui::DialogTemplate t =
        builder(184, "RFID Read",
                {commandRow(">RFR,", {field("Type", dropList(IDC_RB_READ_TYPE, 3, {"H", "A"})),
                                     field("Start", dropList(IDC_RB_READ_START, 3, numbers(4, 10))),
                                     field("Bytes", dropList(IDC_RB_READ_COUNT, 3, numbers(1, 12))),
                                     field("Output\nType", dropList(IDC_RB_READ_OUTPUT, 3, {"S", "P"}))})});
    return t;
}

const ui::DialogTemplate& RfidPasswordCommandTemplate() {
    static const ui::DialogTemplate t =
        builder(186, "RFID Password",
                {row({column({label(""), label(">RFZ,'5E2B7A19,5E2B7A19,")}), field("Access", edit(IDC_RB_ACCESS, 12)),
                      column({label(""), label(",")}), field("Kill", edit(IDC_RB_KILL, 12)),
                      column({label(""), label("'")}), stretch()}),
                 label("* The value must be hexadecimal.(ex: A0.F1.2B.CA)")});
    return t;
}

const ui::DialogTemplate& RfidSecurityCommandTemplate() {
    static const ui::DialogTemplate t = [] {
        return builder(187, "RFID Security",
                       {row({radio(IDC_RB_PAYLOAD_MODE, "Lock-Command PayLoad", true), checkBox(IDC_RB_UNLOCK, "Unlock"),
                             stretch()}),
                        lockPayloadGrid([](int bit) { return kSecurityPayloadIds[19 - bit]; }),
                        row({radio(IDC_RB_AUTO_MODE, "Auto"), disabled(radio(IDC_RB_LOCK, "Lock", true)),
                             disabled(radio(IDC_RB_UNLOCK_CHOICE, "UnLock")), stretch()})});
    }();
    return t;
}

const ui::DialogTemplate& RfidKillCommandTemplate() {
    static const ui::DialogTemplate t = builder(188, "RFID Kill", {label(">RFKL")});
    return t;
}

}  // namespace velmora::resources
