// Layouts of the native interface, code page and print-and-page setting pages.
#include "resources/templates_settings.h"

namespace velmora::resources {

using namespace ui::layout;

namespace {

ui::LayoutNode disabledRadio(int id, const std::string& text, bool groupStart = false) {
    return disabled(radio(id, text, groupStart));
}

}  // namespace

const ui::DialogTemplate& PrinterPageSettingTemplate() {
    static const ui::DialogTemplate t = [] {
        // One grid row per setting: caption, "(-)" box or nothing, value, "Get", "Set".
        auto numeric = [](const char* caption, int editId, int getId) {
            return std::vector<ui::LayoutNode>{label(caption), label(""), disabled(edit(editId, 8)),
                                               button(getId, "Get"), button(getId + 1, "Set", disabledStyle())};
        };
        auto signedRow = [](const char* caption, int negId, int editId, int getId) {
            return std::vector<ui::LayoutNode>{label(caption), checkBox(negId, "(-)", disabledStyle()),
                                               disabled(edit(editId, 8)), button(getId, "Get"),
                                               button(getId + 1, "Set", disabledStyle())};
        };
        std::vector<ui::LayoutNode> cells;
        auto add = [&cells](std::vector<ui::LayoutNode> row) {
            for (auto& node : row) cells.push_back(std::move(node));
        };
        add(numeric("Paper Width:", IDC_PP_WIDTH, IDC_PP_WIDTH_GET));
        add(numeric("Paper Length:", IDC_PP_LENGTH, IDC_PP_LENGTH_GET));
        add(numeric("Gap Length:", IDC_PP_GAP_LENGTH, IDC_PP_GAP_LENGTH_GET));
        add(numeric("Paper Horizontal Margin:", IDC_PP_H_MARGIN, IDC_PP_H_MARGIN_GET));
        add(numeric("Paper Vertical Margin:", IDC_PP_V_MARGIN, IDC_PP_V_MARGIN_GET));
        add({label("Print Density:"), label(""),
             row({disabled(edit(IDC_PP_DENSITY, 8)),
                  control(IDC_PP_DENSITY_SPIN, ui::ControlKind::Spin, "", hiddenStyle())}),
             button(IDC_PP_DENSITY_GET, "Get"), button(IDC_PP_DENSITY_SET, "Set", disabledStyle())});
        add({label("Print Strobe:"), label(""),
             row({disabledRadio(IDC_PP_STROBE_2, "2", true), disabledRadio(IDC_PP_STROBE_3, "3"),
                  disabledRadio(IDC_PP_STROBE_4, "4"), stretch()}),
             button(IDC_PP_STROBE_GET, "Get"), button(IDC_PP_STROBE_SET, "Set", disabledStyle())});
        add({label("Print Speed:"), label(""),
             disabled(dropList(IDC_PP_SPEED, 10, {"Default", "3ips", "4ips", "5ips", "6ips", "7ips", "8ips"})),
             button(IDC_PP_SPEED_GET, "Get"), button(IDC_PP_SPEED_SET, "Set", disabledStyle())});
        add(signedRow("Print Offset:", IDC_PP_OFFSET_NEG, IDC_PP_OFFSET, IDC_PP_OFFSET_GET));
        add(signedRow("Tear-off/Cutting:", IDC_PP_TEAROFF_NEG, IDC_PP_TEAROFF, IDC_PP_TEAROFF_GET));
        add({label("Gap Detect Position: "), label(""), disabled(dropList(IDC_PP_GAP_DETECT, 22)),
             button(IDC_PP_GAP_DETECT_GET, "Get"), button(IDC_PP_GAP_DETECT_SET, "Set", disabledStyle())});
        add({label("Check Label Length :"), label(""),
             row({radio(IDC_PP_LLC_DISABLE, "Disable", true), radio(IDC_PP_LLC_ENABLE, "Enable"), stretch()}),
             label(""), button(IDC_PP_LLC_SET, "Set")});
        return childPage(159, column({
                                  group("Printer && Page Setting", {grid(5, std::move(cells))}),
                                  group("", {row({label("Initialize all user setting data :"),
                                                  button(IDC_PP_INITIALIZE, "Initialize"), stretch()})}),
                                  stretch(),
                              }));
    }();
    return t;
}

const ui::DialogTemplate& SerialSettingTemplate() {
    static const ui::DialogTemplate t = childPage(
        157, column({
                 group("Serial Communication Setting",
                       {row({grid(2,
                             {
                                 label("Hand Shake :"),
                                 disabled(dropList(IDC_NSER_HANDSHAKE, 14, {"Hardware", "Software"})),
                                 label("Stop Bit :"),
                                 disabled(dropList(IDC_NSER_STOP_BIT, 14, {"1 Stop Bit", "2 Stop Bit"})),
                                 label("Data Length :"),
                                 disabled(dropList(IDC_NSER_DATA_LENGTH, 14, {"8", "7"})),
                                 label("Parity Check :"),
                                 disabled(dropList(IDC_NSER_PARITY_CHECK, 14, {"No Parity", "Parity"})),
                                 label("Parity Selection :"),
                                 disabled(dropList(IDC_NSER_PARITY_SELECT, 14, {"Even", "Odd"})),
                                 label("Baudrate :"),
                                 disabled(dropList(IDC_NSER_BAUD, 14, {"By Dip Switch", "38400", "57600"})),
                             }),
                             stretch()}),
                        stretch()}),  // the frame fills the page down to its buttons
                 row({button(IDC_NSER_DEFAULT, "Default Setting"), button(IDC_NSER_GET, "Get"),
                      button(IDC_NSER_SET, "Set", disabledStyle()), stretch()}),
             }));
    return t;
}

const std::vector<std::string>& CodePageItems() {
    static const std::vector<std::string> items = {
        "PC437 - USA",          "PC850 - Latin 1",
        "PC852 - Latin 2",      "PC860 - Portuguese",
        "PC863 - Canadian French", "PC865 - Nordic",
        "WPC1252 - Latin I",    "PC865 + WPC1252 - European Combined",
        "PC857 - Turkish",      "PC737 - Greek",
        "WPC1250 - Latin 2",    "WPC1253 - Greek",
        "WPC1254 - Turkish",    "PC855 - Cyrillic",
        "PC862 - Hebrew",       "PC866 - Cyrillic",
        "WPC1251 - Cyrillic",   "WPC1255 - Hebrew",
        "PC928 -  Greek",       "PC864 -  Arabic",
        "PC775 - Baltic Dos",   "WPC1257 - Baltic Windows",
        "PC858 - Latin 1 + Euro", "CP874-THAI",
        "CP1256-Farsi",
    };
    return items;
}

const std::vector<std::string>& IcsItems() {
    static const std::vector<std::string> items = {
        "U.S.A", "France",     "Germany", "U.K",      "Denmark I",     "Sweden",           "Italy", "Spain I",
        "Norway", "Denmark II", "Japan",  "Spain II", "Latin America", "Korea", "Slovenia/Croatia", "China",
    };
    return items;
}

const ui::DialogTemplate& LanguageSettingTemplate() {
    static const ui::DialogTemplate t = childPage(
        158,
        column({
            group("Default CodePage && ICS Setting",
                  {grid(2,
                        {
                            label("Default CodePage  :"),
                            disabled(dropList(IDC_LANG_CODEPAGE, 44, CodePageItems())),
                            label(" Lock :"),
                            checkBox(IDC_LANG_LOCK, ""),
                        }),
                   stretch()}),  // the two frames share the page down to its buttons
            group("", {grid(2,
                            {
                                label("Default International Character Set(ICS) :"),
                                disabled(dropList(IDC_LANG_ICS, 44, IcsItems())),  // as wide as the code page's, whose longest item sets it
                            }),
                       row({button(IDC_LANG_ICS_GET, "Get", hiddenStyle()),
                            button(IDC_LANG_ICS_SET, "Set To Printer", hiddenStyle()), stretch()}),
                       stretch()}),
            row({button(IDC_LANG_GET, "Get"), button(IDC_LANG_SET, "Set", disabledStyle()), stretch()}),
        }));
    return t;
}

}  // namespace velmora::resources
