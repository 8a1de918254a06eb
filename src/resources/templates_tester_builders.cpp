// Layouts of the barcode, block draw, label setting, printing setting, copies and character-set
// dialogs of the command tester.
#include "resources/templates_tester.h"
#include "resources/templates_tester_parts.h"

namespace velmora::resources {

using namespace ui::layout;
using ui::ControlKind;

const std::vector<std::string> kBarcode1DTypes = {"Code39", "Code128", "I2of5", "Codabar", "Code93",
                                                  "UPC-A",  "UPC-E",   "EAN13", "EAN8",    "UCC/EAN128"};
const std::vector<std::string> kCharsetNames = {
    "U.S.A", "France",      "Germany", "U.K",   "Denmark I",     "Sweden", "Italy",           "Spain",
    "Norway", "Denmark II", "Japan",   "Spain II", "Latin America", "Korea", "Slovenia/Croatia", "China"};
const std::vector<std::string> kCodeTableNames = {
    "PC437",  "PC850",  "PC852",  "PC860", "PC863",  "PC865",   "PC1252", "PC865+PC1252", "PC857",
    "PC737",  "PC1250", "PC1253", "PC1254", "PC855", "PC862",   "PC866",  "PC1251",       "PC1255",
    "PC928",  "PC864",  "PC775",  "WPC1257", "CP858", "CP874",  "Farsi"};

namespace {
ui::ControlStyle disabled() {
    ui::ControlStyle s;
    s.disabled = true;
    s.widthChars = 4;
    return s;
}
ui::LayoutNode disabledSpinEdit(int editId, int spinId) {
    ui::ControlStyle spin;
    spin.disabled = true;
    return row({edit(editId, 4, disabled()), control(spinId, ControlKind::Spin, "", spin)});
}
}  // namespace

const ui::DialogTemplate& Barcode1DCommandTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 145;
        d.caption = "1D Barcode Command";
        d.root = column({
            commandRow("B1", {
                                 field("X", spinEdit(IDC_B_X, IDC_B_X_SPIN)),
                                 field("Y", spinEdit(IDC_B_Y, IDC_B_Y_SPIN)),
                                 field("Type", dropList(IDC_B1_TYPE, 10, kBarcode1DTypes)),
                                 field("N-Bar W", spinEdit(IDC_B1_NARROW, IDC_B1_NARROW_SPIN, 4)),
                                 field("W-Bar W", spinEdit(IDC_B1_WIDE, IDC_B1_WIDE_SPIN, 4)),
                                 field("Height", spinEdit(IDC_B1_HEIGHT, IDC_B1_HEIGHT_SPIN, 4)),
                                 field("Rotation", dropList(IDC_B_ROTATION, 4, kRotations)),
                                 field("HRI", dropList(IDC_B1_HRI, 4, {"Off", "On"})),
                                 field("", checkBox(IDC_B1_QZONE_ON, "Q-Zone")),
                                 field("Q-Zone", disabledSpinEdit(IDC_B1_QZONE, IDC_B1_QZONE_SPIN)),
                             }),
            quotedData(IDC_B_DATA, false),
            row({button(IDC_B_CONVERT, "Convert"), stretch()}),
            builderButtons(true),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& Barcode2DCommandTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 147;
        d.caption = "2D Barcode Command";
        d.root = column({
            row({label("2D Barcode Type :"), dropList(IDC_B2_SYMBOLOGY, 10, {"Maxicode", "PDF417", "QR Code"}),
                 stretch()}),
            commandRow("B2", {
                                 field("X", spinEdit(IDC_B_X, IDC_B_X_SPIN)),
                                 field("Y", spinEdit(IDC_B_Y, IDC_B_Y_SPIN)),
                                 field("Type", control(IDC_B2_TYPE_LETTER, ControlKind::Static, "M", widthStyle(2))),
                                 field("Mode", dropList(IDC_B2_MODE, 7), IDC_B2_MODE_LABEL),
                                 field("Max Row", spinEdit(IDC_B2_ROWS, IDC_B2_ROWS_SPIN, 3)),
                                 field("Max Col", spinEdit(IDC_B2_COLS, IDC_B2_COLS_SPIN, 3)),
                                 field("ECL", dropList(IDC_B2_ECC, 3), IDC_B2_ECC_LABEL),
                             }),
            commandRow("", {
                               field("Compress", dropList(IDC_B2_COMPRESS, 7)),
                               field("HRI", dropList(IDC_B2_HRI, 4, {"Off", "On"})),
                               field("Origin", dropList(IDC_B2_ORIGIN, 9)),
                               field("Module W", spinEdit(IDC_B2_MODULE, IDC_B2_MODULE_SPIN, 3)),
                               field("Bar Height", spinEdit(IDC_B2_BAR, IDC_B2_BAR_SPIN, 3), IDC_B2_BAR_LABEL),
                               field("Rotation", dropList(IDC_B_ROTATION, 4, kRotations)),
                           }),
            quotedData(IDC_B_DATA, true),
            row({button(IDC_B_CONVERT, "Convert"), stretch()}),
            builderButtons(true),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& BlockDrawCommandTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 143;
        d.caption = "Block Draw Command";
        d.root = column({
            commandRow("BD", {
                                 field("Start X", spinEdit(IDC_BD_START_X, IDC_BD_START_X_SPIN)),
                                 field("Start Y", spinEdit(IDC_BD_START_Y, IDC_BD_START_Y_SPIN)),
                                 field("End X", spinEdit(IDC_BD_END_X, IDC_BD_END_X_SPIN)),
                                 field("End Y", spinEdit(IDC_BD_END_Y, IDC_BD_END_Y_SPIN)),
                                 field("Type", dropList(IDC_BD_TYPE, 3, {"O", "E", "D", "S", "B"})),
                                 field("Optional", disabledSpinEdit(IDC_BD_OPTIONAL, IDC_BD_OPTIONAL_SPIN)),
                             }),
            row({button(IDC_B_CONVERT, "Convert"), stretch()}),
            builderButtons(true),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& LabelSettingTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 140;
        d.caption = "Label Setting";
        auto unit = [](int id) { return control(id, ControlKind::Static, "inch", widthStyle(5)); };
        d.root = column({
            group("Unit", {row({radio(IDC_LS_INCH, "inch", true), radio(IDC_LS_MM, "mm"), radio(IDC_LS_DOTS, "dots")})}),
            group("Label Size",
                  {grid(3, {checkBox(IDC_LS_WIDTH_ON, "Width  :"), edit(IDC_LS_WIDTH, 8), unit(IDC_LS_WIDTH_UNIT),
                            checkBox(IDC_LS_LENGTH_ON, "Length :"), edit(IDC_LS_LENGTH, 8), unit(IDC_LS_LENGTH_UNIT)}),
                   row({radio(IDC_LS_GAP, "Gap", true), radio(IDC_LS_CONTINUOUS, "Continuous"),
                        radio(IDC_LS_BLACK_MARK, "BlackMark")})}),
            group("Margin", {checkBox(IDC_LS_MARGINS_ON, "Apply"),
                             grid(3, {label("X Margin :"), edit(IDC_LS_X_MARGIN, 8), unit(IDC_LS_X_UNIT),
                                      label("Y Margin :"), edit(IDC_LS_Y_MARGIN, 8), unit(IDC_LS_Y_UNIT)})}),
            builderButtons(false),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& PrintingSettingTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 139;
        d.caption = "Printing Setting";
        ui::ControlStyle slider;
        slider.heightLines = 6;
        d.root = column({
            row({
                group("Speed", {checkBox(IDC_PS_SPEED_ON, "Apply"), radio(IDC_PS_SPEED_FIRST, "2.5 ips", true),
                                radio(IDC_PS_SPEED_FIRST + 1, "3.0 ips"), radio(IDC_PS_SPEED_FIRST + 2, "4.0 ips"),
                                radio(IDC_PS_SPEED_FIRST + 3, "5.0 ips"), radio(IDC_PS_SPEED_FIRST + 4, "6.0 ips")}),
                group("Density", {checkBox(IDC_PS_DENSITY_ON, "Apply"),
                                  row({control(IDC_PS_SLIDER, ControlKind::Slider, "", slider),
                                       control(IDC_PS_DENSITY_TEXT, ControlKind::Static, "20", widthStyle(3))})}),
                group("Direction", {checkBox(IDC_PS_DIRECTION_ON, "Apply"), radio(IDC_PS_TOP, "Top", true),
                                    radio(IDC_PS_BOTTOM, "Bottom"), stretch()}),
            }),
            builderButtons(true),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& PrinterCopiesTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 177;
        d.caption = "Printing Copies";
        d.root = column({
            commandRow("P", {field("Quantity", spinEdit(IDC_PC_QUANTITY, IDC_PC_QUANTITY_SPIN)),
                             field("Copies", spinEdit(IDC_PC_COPIES, IDC_PC_COPIES_SPIN))}),
            builderButtons(false),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& CharacterSetCommandTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 148;
        d.caption = "Character Set Command";
        std::vector<std::string> fonts;
        for (const char* f : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "a", "b"}) fonts.push_back(f);
        d.root = column({
            grid(2, {label("International :"), dropList(IDC_CS_SET, 14, kCharsetNames), label("Code Table :"),
                     dropList(IDC_CS_TABLE, 14, kCodeTableNames)}),
            group("Font", {row({radio(IDC_CS_BITMAP, "Bitmap Font", true), radio(IDC_CS_VECTOR, "Vector Font")}),
                           row({field("X", spinEdit(IDC_B_X, IDC_B_X_SPIN)), field("Y", spinEdit(IDC_B_Y, IDC_B_Y_SPIN)),
                                field("Font", dropList(IDC_CS_FONT, 3, fonts)),
                                field("H Multi", spinEdit(IDC_CS_H_SIZE, IDC_CS_H_SPIN, 4), IDC_CS_H_LABEL),
                                field("V Multi", spinEdit(IDC_CS_V_SIZE, IDC_CS_V_SPIN, 4), IDC_CS_V_LABEL)})}),
            group("Test", {grid(2, {button(IDC_CS_UNDER80, "Under 80H"), button(IDC_CS_OVER80, "Over 80H"),
                                    button(IDC_CS_ALL_TABLES, "All Code Table Test"),
                                    button(IDC_CS_INTERNATIONAL, "International")})}),
            row({stretch(), button(ui::IDOK, "Close")}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
