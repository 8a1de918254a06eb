// Dialog templates: a layout tree of rows, columns, grids and group frames whose leaves are
// controls. A tool declares its template once in C++; the window program's renderer turns any
// template into widgets, and the dialog turns it into its controls.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace velmora::ui {

struct ControlSpec {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Static;
    std::string text;
    ControlStyle style;
    std::vector<std::string> items;  // initial list items
};

struct LayoutNode {
    enum class Kind { Control, Row, Column, Grid, Group, Stretch, Spacing };
    Kind kind = Kind::Column;
    ControlSpec control;             // Kind::Control; Kind::Group uses its id and text as the frame
    std::vector<LayoutNode> children;
    int columns = 0;                 // Kind::Grid: children fill rows left to right
    int spacing = 0;                 // Kind::Spacing: pixels
};

struct DialogTemplate {
    int resourceId = 0;
    std::string caption;
    LayoutNode root;
    bool child = false;  // a page hosted inside another dialog (no caption, no frame)
    bool captionless = false;  // a top-level window without a title bar (moved by a control)
    int minWidth = 0;    // pixels, 0 = natural size
    int minHeight = 0;
};

// Builders, so templates read like the dialog they describe.
namespace layout {
LayoutNode row(std::vector<LayoutNode> children);
LayoutNode column(std::vector<LayoutNode> children);
LayoutNode grid(int columns, std::vector<LayoutNode> children);
LayoutNode group(const std::string& caption, std::vector<LayoutNode> children, int id = IDC_STATIC);
LayoutNode stretch();
LayoutNode spacing(int pixels);
LayoutNode control(int id, ControlKind kind, const std::string& text = {}, ControlStyle style = {});

LayoutNode label(const std::string& text, int id = IDC_STATIC);
LayoutNode button(int id, const std::string& text, ControlStyle style = {});
LayoutNode checkBox(int id, const std::string& text, ControlStyle style = {});
LayoutNode radio(int id, const std::string& text, bool groupStart = false);
LayoutNode edit(int id, int widthChars = 10, ControlStyle style = {});
LayoutNode dropList(int id, int widthChars = 12, std::vector<std::string> items = {});
LayoutNode comboBox(int id, int widthChars = 12, std::vector<std::string> items = {});
LayoutNode listBox(int id, int widthChars = 20, int heightLines = 6);
LayoutNode tab(int id);
LayoutNode progress(int id);
// Styles and a wrapper for controls that start hidden or greyed out.
ControlStyle hiddenStyle();
ControlStyle disabledStyle();
LayoutNode disabled(LayoutNode node);
// A page hosted inside another dialog: no caption, no frame of its own.
DialogTemplate childPage(int resourceId, LayoutNode root);
}  // namespace layout

}  // namespace velmora::ui
