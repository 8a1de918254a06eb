// Layout: the template's tree of rows, columns, grids and frames as Qt layouts around the widgets.
#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpacerItem>
#include <algorithm>
#include <map>

#include "gui/rendererparts.h"

namespace velmora::gui {

using ui::LayoutNode;

namespace {

// Whether a widget takes the extra room of its row: editors, lists, page areas.
bool growsWide(const QWidget* w) { return (w->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag) != 0; }

// The width column `col` of `grid` needs for what it holds; cells spanning columns do not count.
int naturalColumnWidth(QGridLayout* grid, int col) {
    int width = 0;
    for (int i = 0; i < grid->count(); ++i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        QLayoutItem* item = grid->itemAt(i);
        if (column != col || columnSpan != 1 || item->isEmpty()) continue;
        width = std::max(width, item->sizeHint().width());
    }
    return width;
}

// Controls a caption names: what the user types into or chooses from, and a tick box with no
// text of its own.
bool takesInput(const ui::ControlSpec& c) {
    using K = ui::ControlKind;
    return c.kind == K::Edit || c.kind == K::DropDownList || c.kind == K::ComboBox || c.kind == K::ListBox ||
           c.kind == K::IpAddress || c.kind == K::DateTime || (c.kind == K::CheckBox && c.text.empty());
}

}  // namespace

// Extra room goes after the controls, never between a caption and its box: a row without a
// stretch of its own or a growing control gets one at its end, a grid gives its room to a
// trailing column, and a stretch inside a grid takes no room at all.
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
            grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Fixed), row, col);
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
            Built built{b.outer};
            built.grows = growsWide(b.outer);
            return built;
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
            bool grows = false;
            for (const auto& child : node.children) {
                Built built = build(child, box, next);
                grows = grows || built.grows;
                place(inner, built, 0, 0);
            }
            for (std::size_t i = first; i < next; ++i) {
                b.framed.push_back(controls[i].get());
                framesOf_[controls[i]->id()].push_back(c.id());
            }
            if (b.framed.empty()) b.framed.push_back(&c);  // an empty frame still follows its own state
            Built built{box};
            built.grows = grows;
            return built;
        }
        case Kind::Row:
        case Kind::Column: {
            const bool isRow = node.kind == Kind::Row;
            QBoxLayout* box = isRow ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                    : static_cast<QBoxLayout*>(new QVBoxLayout);
            box->setContentsMargins(0, 0, 0, 0);
            bool grows = false;
            bool stretches = false;
            QHBoxLayout* buddy = nullptr;  // an edit and the spin after it, with no gap between
            for (std::size_t i = 0; i < node.children.size(); ++i) {
                const LayoutNode& child = node.children[i];
                Built built = build(child, parent, next);
                grows = grows || built.grows;
                stretches = stretches || built.stretch;
                const bool spinFollows = isRow && child.kind == Kind::Control &&
                                         child.control.kind == ui::ControlKind::Edit && i + 1 < node.children.size() &&
                                         node.children[i + 1].kind == Kind::Control &&
                                         node.children[i + 1].control.kind == ui::ControlKind::Spin;
                if (spinFollows) {
                    buddy = new QHBoxLayout;
                    buddy->setContentsMargins(0, 0, 0, 0);
                    buddy->setSpacing(0);
                    place(box, Built{nullptr, buddy}, 0, 0);
                }
                if (buddy && built.widget) {
                    buddy->addWidget(built.widget);
                    if (!spinFollows) buddy = nullptr;
                    continue;
                }
                place(box, built, 0, 0);
                // A growing child outbids the rows beside it that only pad their ends.
                if (isRow && built.grows) box->setStretch(box->count() - 1, 1);
            }
            if (isRow && !grows && !stretches) {
                // Takes the row's room without asking its parent for more.
                box->addItem(new QSpacerItem(0, 0, QSizePolicy::Preferred, QSizePolicy::Minimum));
                box->setStretch(box->count() - 1, 1);
            }
            Built built{nullptr, box};
            built.grows = grows;
            return built;
        }
        case Kind::Grid: {
            auto* grid = new QGridLayout;
            grid->setContentsMargins(0, 0, 0, 0);
            const int columns = std::max(1, node.columns);
            std::vector<bool> growing(static_cast<std::size_t>(columns), false);
            int i = 0;
            for (const auto& child : node.children) {
                Built built = build(child, parent, next);
                // A caption before a field ends where the field starts, however wide its column.
                const std::size_t at = static_cast<std::size_t>(i);
                if (child.kind == LayoutNode::Kind::Control && child.control.kind == ui::ControlKind::Static &&
                    at + 1 < node.children.size() && (i + 1) % columns != 0 &&
                    node.children[at + 1].kind == LayoutNode::Kind::Control &&
                    takesInput(node.children[at + 1].control))
                    if (auto* label = qobject_cast<QLabel*>(built.widget))
                        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                if (built.grows) growing[static_cast<std::size_t>(i % columns)] = true;
                place(grid, built, i / columns, i % columns);
                ++i;
            }
            const bool grows = std::find(growing.begin(), growing.end(), true) != growing.end();
            if (grows) {
                for (int col = 0; col < columns; ++col)
                    if (growing[static_cast<std::size_t>(col)]) grid->setColumnStretch(col, 1);
            } else {
                grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Preferred, QSizePolicy::Minimum), 0, columns);
                grid->setColumnStretch(columns, 1);
            }
            grids_.push_back({grid, columns});
            Built built{nullptr, grid};
            built.grows = grows;
            return built;
        }
        case Kind::Stretch:
            return {nullptr, nullptr, true};
        case Kind::Spacing:
            return {nullptr, nullptr, false, node.spacing};
    }
    return {};
}

// Grids of one page with the same number of columns are one table split over several frames:
// each column gets the width the widest of them needs, so captions and fields line up.
void QtRenderer::alignColumns() {
    std::map<int, std::vector<int>> widths;  // column count -> width of each column
    for (const auto& [grid, columns] : grids_) {
        auto& w = widths[columns];
        w.resize(static_cast<std::size_t>(columns), 0);
        for (int col = 0; col < columns; ++col)
            w[static_cast<std::size_t>(col)] = std::max(w[static_cast<std::size_t>(col)], naturalColumnWidth(grid, col));
    }
    for (const auto& [grid, columns] : grids_) {
        if (grids_.size() < 2) break;
        const auto& w = widths[columns];
        for (int col = 0; col < columns; ++col) grid->setColumnMinimumWidth(col, w[static_cast<std::size_t>(col)]);
    }
}

}  // namespace velmora::gui
