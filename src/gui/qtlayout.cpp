// Layout: the template's tree of rows, columns, grids and frames as Qt layouts around the widgets.
#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QSpacerItem>

#include "gui/rendererparts.h"

namespace velmora::gui {

using ui::LayoutNode;

struct QtRenderer::Built {
    QWidget* widget = nullptr;
    QLayout* layout = nullptr;
    bool stretch = false;
    int spacing = 0;
};

QtRenderer::Built QtRenderer::build(const LayoutNode& node, QWidget* parent, std::size_t& next) {
    using Kind = LayoutNode::Kind;
    const auto& controls = dialog_.controls();
    auto place = [](QLayout* into, const Built& b, int row, int col) {
        auto* grid = qobject_cast<QGridLayout*>(into);
        auto* box = qobject_cast<QBoxLayout*>(into);
        if (b.widget)
            grid ? grid->addWidget(b.widget, row, col) : box->addWidget(b.widget);
        else if (b.layout)
            grid ? grid->addLayout(b.layout, row, col) : box->addLayout(b.layout);
        else if (b.stretch && box)
            box->addStretch(1);
        else if (b.stretch)
            grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Expanding), row, col);
        else if (box)
            box->addSpacing(b.spacing);
        else
            grid->addItem(new QSpacerItem(b.spacing, b.spacing, QSizePolicy::Fixed, QSizePolicy::Fixed), row,
                          col);
    };

    switch (node.kind) {
        case Kind::Control: {
            ui::Control& c = *controls.at(next++);
            Binding& b = bindings_[c.id()];
            b.control = &c;
            makeWidget(c, parent, b);
            return {b.outer};
        }
        case Kind::Group: {
            ui::Control& c = *controls.at(next++);
            Binding& b = bindings_[c.id()];
            b.control = &c;
            auto* box = new QGroupBox(parent);
            b.outer = b.input = box;
            b.palette = box->palette();
            auto* inner = new QVBoxLayout(box);
            const std::size_t first = next;
            for (const auto& child : node.children) place(inner, build(child, box, next), 0, 0);
            for (std::size_t i = first; i < next; ++i) {
                b.framed.push_back(controls[i].get());
                framesOf_[controls[i]->id()].push_back(c.id());
            }
            if (b.framed.empty()) b.framed.push_back(&c);  // an empty frame still follows its own state
            return {box};
        }
        case Kind::Row:
        case Kind::Column: {
            QBoxLayout* box = node.kind == Kind::Row ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                                     : static_cast<QBoxLayout*>(new QVBoxLayout);
            box->setContentsMargins(0, 0, 0, 0);
            for (const auto& child : node.children) place(box, build(child, parent, next), 0, 0);
            return {nullptr, box};
        }
        case Kind::Grid: {
            auto* grid = new QGridLayout;
            grid->setContentsMargins(0, 0, 0, 0);
            const int columns = std::max(1, node.columns);
            int i = 0;
            for (const auto& child : node.children) {
                place(grid, build(child, parent, next), i / columns, i % columns);
                ++i;
            }
            return {nullptr, grid};
        }
        case Kind::Stretch:
            return {nullptr, nullptr, true};
        case Kind::Spacing:
            return {nullptr, nullptr, false, node.spacing};
    }
    return {};
}

}  // namespace velmora::gui
