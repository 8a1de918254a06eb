// Layouts of the communication window and the two-byte code page prints.
#include "resources/templates_terminal.h"

namespace velmora::resources {

using namespace ui::layout;
using ui::ControlKind;

namespace {
const std::vector<std::string> kTableNames = {"KS5601", "GB2312", "BIG5", "JIS"};

ui::ControlStyle digits(int chars) {
    ui::ControlStyle s;
    s.numberOnly = true;
    s.widthChars = chars;
    return s;
}

ui::ControlStyle blockStyle() {
    ui::ControlStyle s;
    s.uppercase = true;
    s.widthChars = 4;
    return s;
}

// Code table, block range and "all": the same in both languages. Every field sits in a framed
// grid of two columns, so the fields of the page share their left edge.
ui::LayoutNode blockPart() {
    ui::ControlStyle area;
    area.widthChars = 18;
    return column({
        group("Character Block",
              {grid(2, {label("Code Table :"), dropList(IDC_TB_TABLE, 10, kTableNames), label("Start Block :"),
                        edit(IDC_TB_START, 4, blockStyle()), label("End Block :"),
                        edit(IDC_TB_END, 4, blockStyle()), label("Block Area :"),
                        control(IDC_TB_AREA, ControlKind::Static, "", area)}),
               checkBox(IDC_TB_ALL, "Print all block character code")}),
    });
}

ui::LayoutNode closingRow() {
    return row({stretch(), button(IDC_TB_PRINT, "Print Characters", {.defaultButton = true}),
                button(IDC_TB_CLOSE, "Close")});
}
}  // namespace

const ui::DialogTemplate& CommunicationTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 138;
        d.caption = "Communication Window";
        d.minWidth = 760;
        ui::ControlStyle editor;
        editor.multiline = true;
        editor.widthChars = 78;
        editor.heightLines = 12;
        // The bytes come back in rows of 20 that line up only in a fixed-width font.
        ui::ControlStyle view = editor;
        view.readOnly = true;
        view.monospace = true;
        view.heightLines = 8;
        ui::ControlStyle replace;
        replace.shortcuts = "Ctrl+H;Ctrl+F";
        d.root = column({
            group("Send command data",
                  {
                      control(IDC_CW_EDITOR, ControlKind::Edit, "", editor),
                      // Two rows of buttons, so the window fits a small screen.
                      row({button(IDC_CW_FILE_OPEN, "File Open"), button(IDC_CW_SAVE, "Save to File"),
                           button(IDC_CW_CLEAR, "Clear Data"), stretch(), button(IDC_CW_PREVIEW, "Preview"),
                           button(IDC_CW_SEND, "Send to Printer")}),
                      row({button(IDC_CW_COPY, "Copy (Ctrl+C)"), button(IDC_CW_CUT, "Cut (Ctrl+X)"),
                           button(IDC_CW_PASTE, "Paste (Ctrl+V)"), button(IDC_CW_REPLACE, "Replace (Ctrl+H)", replace),
                           stretch()}),
                  }),
            group("Data received from the printer is shown int the window below",
                  {
                      control(IDC_CW_RECEIVE_VIEW, ControlKind::Edit, "", view),
                      row({button(IDC_CW_READ, "Read from printer"), button(IDC_CW_CLEAR_RECEIVE, "Clear Receive Data"),
                           stretch(),
                           group("Data Type", {row({radio(IDC_CW_HEX, "HEX", true), radio(IDC_CW_ASCII, "ASCII")})}),
                           group("2Byte Code", {button(IDC_CW_PRINT_CODES, "Print Codes")})}),
                  }),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& TwobytesCodeTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 198;
        d.caption = "2 Byte Codepage";
        d.root = column({
            blockPart(),
            group("Font", {row({radio(IDC_TB_BITMAP, "Bitmap Font", true), radio(IDC_TB_VECTOR, "Vector Font"),
                                stretch()}),
                           grid(2, {label("Bitmap Font Name: "), dropList(IDC_TB_BITMAP_FONT, 4),
                                    label("Vector Font Width :"), edit(IDC_TB_WIDTH, 5, digits(5)),
                                    label("Vector Font Height :"), edit(IDC_TB_HEIGHT, 5, digits(5))})}),
            closingRow(),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& ZiiTwobytesCodeTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 199;
        d.caption = "2 Byte Codepage";
        d.root = column({
            blockPart(),
            group("Size", {grid(2, {label("Vector Font Width :"), edit(IDC_TB_WIDTH, 5, digits(5)),
                                    label("Vector Font Height :"), edit(IDC_TB_HEIGHT, 5, digits(5))})}),
            closingRow(),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
