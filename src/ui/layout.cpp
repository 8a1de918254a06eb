// Template builders.
#include "ui/layout.h"

namespace velmora::ui::layout {

namespace {
LayoutNode container(LayoutNode::Kind kind, std::vector<LayoutNode> children) {
    LayoutNode n;
    n.kind = kind;
    n.children = std::move(children);
    return n;
}
}  // namespace

LayoutNode row(std::vector<LayoutNode> children) { return container(LayoutNode::Kind::Row, std::move(children)); }

LayoutNode column(std::vector<LayoutNode> children) {
    return container(LayoutNode::Kind::Column, std::move(children));
}

LayoutNode grid(int columns, std::vector<LayoutNode> children) {
    LayoutNode n = container(LayoutNode::Kind::Grid, std::move(children));
    n.columns = columns;
    return n;
}

LayoutNode group(const std::string& caption, std::vector<LayoutNode> children, int id) {
    LayoutNode n = container(LayoutNode::Kind::Group, std::move(children));
    n.control.id = id;
    n.control.kind = ControlKind::GroupBox;
    n.control.text = caption;
    return n;
}

LayoutNode stretch() { return container(LayoutNode::Kind::Stretch, {}); }

LayoutNode spacing(int pixels) {
    LayoutNode n = container(LayoutNode::Kind::Spacing, {});
    n.spacing = pixels;
    return n;
}

LayoutNode control(int id, ControlKind kind, const std::string& text, ControlStyle style) {
    LayoutNode n;
    n.kind = LayoutNode::Kind::Control;
    n.control.id = id;
    n.control.kind = kind;
    n.control.text = text;
    n.control.style = style;
    return n;
}

LayoutNode label(const std::string& text, int id) { return control(id, ControlKind::Static, text); }

LayoutNode button(int id, const std::string& text, ControlStyle style) {
    return control(id, ControlKind::PushButton, text, style);
}

LayoutNode checkBox(int id, const std::string& text, ControlStyle style) {
    return control(id, ControlKind::CheckBox, text, style);
}

LayoutNode radio(int id, const std::string& text, bool groupStart) {
    ControlStyle s;
    s.groupStart = groupStart;
    return control(id, ControlKind::RadioButton, text, s);
}

LayoutNode edit(int id, int widthChars, ControlStyle style) {
    style.widthChars = widthChars;
    return control(id, ControlKind::Edit, {}, style);
}

LayoutNode dropList(int id, int widthChars, std::vector<std::string> items) {
    ControlStyle s;
    s.widthChars = widthChars;
    LayoutNode n = control(id, ControlKind::DropDownList, {}, s);
    n.control.items = std::move(items);
    return n;
}

LayoutNode comboBox(int id, int widthChars, std::vector<std::string> items) {
    ControlStyle s;
    s.widthChars = widthChars;
    LayoutNode n = control(id, ControlKind::ComboBox, {}, s);
    n.control.items = std::move(items);
    return n;
}

LayoutNode listBox(int id, int widthChars, int heightLines) {
    ControlStyle s;
    s.widthChars = widthChars;
    s.heightLines = heightLines;
    return control(id, ControlKind::ListBox, {}, s);
}

LayoutNode tab(int id) { return control(id, ControlKind::Tab); }

LayoutNode progress(int id) { return control(id, ControlKind::Progress); }

DialogTemplate childPage(int resourceId, LayoutNode root) {
    DialogTemplate t;
    t.resourceId = resourceId;
    t.child = true;
    t.root = std::move(root);
    return t;
}

ControlStyle hiddenStyle() {
    ControlStyle s;
    s.hidden = true;
    return s;
}

ControlStyle disabledStyle() {
    ControlStyle s;
    s.disabled = true;
    return s;
}

LayoutNode disabled(LayoutNode node) {
    node.control.style.disabled = true;
    return node;
}

}  // namespace velmora::ui::layout
