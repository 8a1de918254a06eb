// Layouts of the command tester, the text builders, the font finder and the unit converter.
#include "resources/templates_tester.h"

#include "resources/templates_tester_parts.h"

namespace velmora::resources {

using namespace ui::layout;
using ui::ControlKind;

const ui::DialogTemplate& TavlCmdTesterTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 135;
        d.caption = "KDR(TAVL) Command Tester";
        d.minWidth = 860;
        ui::ControlStyle editor;
        editor.multiline = true;
        editor.monospace = true;
        editor.widthChars = 60;
        editor.heightLines = 14;
        ui::ControlStyle view = editor;
        view.readOnly = true;
        view.heightLines = 7;
        ui::ControlStyle digits;
        digits.numberOnly = true;
        auto wide = [](int id, const char* text) {
            ui::ControlStyle s;
            s.widthChars = 22;
            return button(id, text, s);
        };
        d.root = row({
            column({
                group("KDR(TAVL) Command",
                      {
                          control(IDC_TT_EDITOR, ControlKind::Edit, "", editor),
                          // Two rows, so the window fits a small screen beside the builders' column.
                          row({button(IDC_TT_COPY, "Copy"), button(IDC_TT_CUT, "Cut"), button(IDC_TT_PASTE, "Paste"),
                               button(IDC_TT_CLEAN, "Clean"), button(IDC_TT_PREVIEW, "Preview"), stretch()}),
                          row({stretch(), edit(IDC_TT_SEND_COUNT, 6, digits),
                               control(IDC_TT_SEND_SPIN, ControlKind::Spin),
                               control(IDC_TT_SENT_COUNTER, ControlKind::Static, "", widthStyle(6)), spacing(8),
                               button(IDC_TT_MULTI_SEND, "Multi Send")}),
                      }),
                group("Data received from the printer is shown int the window below",
                      {
                          control(IDC_TT_RECEIVE_VIEW, ControlKind::Edit, "", view),
                          row({button(IDC_TT_READ, "Read from printer"),
                               button(IDC_TT_CLEAR_RECEIVE, "Clear Receive Data"), stretch(),
                               group("Data Type", {row({radio(IDC_TT_HEX, "HEX", true), radio(IDC_TT_ASCII, "ASCII")})})}),
                      }),
            }),
            column({
                group("Printing Setting", {wide(IDC_TT_PRINTING_SETTING, "Speed && Density && Direction"),
                                           wide(IDC_TT_LABEL_SETTING, "Margin && Width && Length"),
                                           wide(IDC_TT_COPIES, "Copies")}),
                group("Printing Module",
                      {grid(2, {button(IDC_TT_BITMAP_TEXT, "Bitmap Text"), button(IDC_TT_VECTOR_TEXT, "Vector Text"),
                                button(IDC_TT_LINE_BOX, "Line && Box"), button(IDC_TT_BARCODE_1D, "1D Barcode"),
                                button(IDC_TT_BARCODE_2D, "2D Barcode"), button(IDC_TT_CHARSET, "Character Set")})}),
                group("RFID Write and Read",
                      {grid(3, {button(IDC_TT_RFID_WRITE, "Write"), button(IDC_TT_RFID_READ, "Read"),
                                button(IDC_TT_RFID_PASSWORD, "Password"), button(IDC_TT_RFID_SECURITY, "Security"),
                                button(IDC_TT_RFID_KILL, "Kill")})}),
                group("2Byte Code", {wide(IDC_TT_PRINT_CODES, "Print Codes")}),
                group("Printer Status", {wide(IDC_TT_CHECK_STATUS, "Check Printer Status")}),
                group("File", {row({button(IDC_TT_LOAD, "Load"), button(IDC_TT_SAVE, "Save")})}),
                stretch(),
                row({button(IDC_TT_CONVERT, "Convert"), stretch(), button(IDC_TT_CLOSE, "Close")}),
            }),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& TextCommandTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 141;
        d.caption = "Bitmap Text Command";
        std::vector<std::string> fonts;
        for (const char* f : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "a", "b", "c", "d", "e", "f"})
            fonts.push_back(f);
        d.root = column({
            commandRow("T", {
                                field("X", spinEdit(IDC_B_X, IDC_B_X_SPIN)),
                                field("Y", spinEdit(IDC_B_Y, IDC_B_Y_SPIN)),
                                field("Font", dropList(IDC_BT_FONT, 3, fonts)),
                                field("H Multi", spinEdit(IDC_BT_H_MULTI, IDC_BT_H_SPIN, 3)),
                                field("V Multi", spinEdit(IDC_BT_V_MULTI, IDC_BT_V_SPIN, 3)),
                                field("Space_R", spinEdit(IDC_BT_SPACE, IDC_BT_SPACE_SPIN, 3)),
                                field("Rotation", dropList(IDC_B_ROTATION, 4, kRotations)),
                                field("Reverse", dropList(IDC_BT_REVERSE, 3, {"N", "R"})),
                                field("Bold", dropList(IDC_BT_BOLD, 3, {"N", "B"})),
                            }),
            quotedData(IDC_B_DATA, false),
            row({button(IDC_BT_FIND_FONT, "Find Font"), button(IDC_B_CONVERT, "Convert"), stretch()}),
            builderButtons(true),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& VectorTextCommandTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 197;
        d.caption = "Vector Text Command";
        d.root = column({
            commandRow("V", {
                                field("X", spinEdit(IDC_B_X, IDC_B_X_SPIN)),
                                field("Y", spinEdit(IDC_B_Y, IDC_B_Y_SPIN)),
                                field("Font", dropList(IDC_VT_FONT, 3, {"U"})),
                                field("Width", spinEdit(IDC_VT_WIDTH, IDC_VT_WIDTH_SPIN, 4)),
                                field("Height", spinEdit(IDC_VT_HEIGHT, IDC_VT_HEIGHT_SPIN, 4)),
                                field("Space", spinEdit(IDC_VT_FONT_SPACE, IDC_VT_SPACE_SPIN, 4)),
                            }),
            commandRow("", {
                               field("Bold", dropList(IDC_VT_BOLD, 7)),
                               field("Reverse", dropList(IDC_VT_REVERSE, 7)),
                               field("Italic", dropList(IDC_VT_ITALIC, 7)),
                               field("Rotation", dropList(IDC_B_ROTATION, 4, kRotations)),
                               field("Justification", dropList(IDC_VT_JUSTIFY, 7)),
                               field("Text Direction", dropList(IDC_VT_DIRECTION, 13)),
                           }),
            quotedData(IDC_B_DATA, false),
            row({button(IDC_B_CONVERT, "Convert"), stretch()}),
            builderButtons(true),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& FontFinderTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 149;
        d.caption = "Font Finder";
        auto result = [](int f, int x, int y) {
            return grid(2, {label("Font :"), control(f, ControlKind::Static, "", widthStyle(3)), label("X Multi :"),
                            control(x, ControlKind::Static, "", widthStyle(3)), label("Y Multi :"),
                            control(y, ControlKind::Static, "", widthStyle(3))});
        };
        d.root = column({
            group("Character Size", {grid(3, {label("Width  :"), edit(IDC_FF_WIDTH, 6), label("mm"), label("Height :"),
                                               edit(IDC_FF_HEIGHT, 6), label("mm")})}),
            row({
                group("Most Similar", {result(IDC_FF_SIMILAR_FONT, IDC_FF_SIMILAR_X, IDC_FF_SIMILAR_Y),
                                       button(IDC_FF_FIND_SIMILAR, "Find")}),
                group("Similar && Round", {result(IDC_FF_ROUND_FONT, IDC_FF_ROUND_X, IDC_FF_ROUND_Y),
                                           button(IDC_FF_FIND_ROUND, "Find")}),
            }),
            row({button(IDC_FF_PRINT, "Print for comparsion"), stretch(), button(ui::IDOK, "Close")}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& ConvertUnitTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 150;
        d.caption = "Convert Unit";
        ui::ControlStyle result;
        result.readOnly = true;
        result.widthChars = 12;
        d.root = column({
            row({
                group("Inch", {radio(IDC_CU_INCH_MM, "inch to mm", true), radio(IDC_CU_INCH_DOTS, "inch to dots")}),
                group("Dots", {radio(IDC_CU_DOTS_INCH, "dots to inch"), radio(IDC_CU_DOTS_MM, "dots to mm")}),
                group("Mm", {radio(IDC_CU_MM_INCH, "mm to inch"), radio(IDC_CU_MM_DOTS, "mm to dots")}),
            }),
            row({edit(IDC_CU_INPUT, 12), control(IDC_CU_INPUT_UNIT, ControlKind::Static, "inch", widthStyle(5)),
                 label("="), control(IDC_CU_RESULT, ControlKind::Edit, "", result),
                 control(IDC_CU_RESULT_UNIT, ControlKind::Static, "mm", widthStyle(5))}),
            row({button(IDC_CU_CONVERT, "Convert Unit"), stretch(), button(ui::IDOK, "Close")}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
