// Pieces the tester's builder templates share: the command laid out as it is written (its
// letters in front, a caption over each field, commas between them, apostrophes around the
// data) and the row of builder buttons.
#pragma once

#include <string>
#include <vector>

#include "resources/templates_tester.h"

namespace velmora::resources {

inline const std::vector<std::string> kRotations = {"0", "90", "180", "270"};

inline ui::ControlStyle widthStyle(int chars) {
    ui::ControlStyle s;
    s.widthChars = chars;
    return s;
}

// An edit with its spin beside it.
inline ui::LayoutNode spinEdit(int editId, int spinId, int chars = 5) {
    return ui::layout::row({ui::layout::edit(editId, chars), ui::layout::control(spinId, ui::ControlKind::Spin)});
}

// A field: its caption over its control.
inline ui::LayoutNode field(const std::string& caption, ui::LayoutNode node, int captionId = ui::IDC_STATIC) {
    return ui::layout::column({ui::layout::label(caption, captionId), std::move(node)});
}

// The command's letters, then the fields with a comma between each two.
inline ui::LayoutNode commandRow(const std::string& letters, std::vector<ui::LayoutNode> fields) {
    std::vector<ui::LayoutNode> cells;
    if (!letters.empty()) cells.push_back(ui::layout::column({ui::layout::label(""), ui::layout::label(letters)}));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i || letters.empty()) cells.push_back(ui::layout::column({ui::layout::label(""), ui::layout::label(",")}));
        cells.push_back(std::move(fields[i]));
    }
    cells.push_back(ui::layout::stretch());
    return ui::layout::row(std::move(cells));
}

// ",'" data "'": one line, or several for symbol data.
inline ui::LayoutNode quotedData(int id, bool multiline) {
    ui::ControlStyle s;
    s.widthChars = 60;
    if (multiline) {
        s.multiline = true;
        s.heightLines = 4;
    }
    return ui::layout::row(
        {ui::layout::label(",'"), ui::layout::control(id, ui::ControlKind::Edit, "", s), ui::layout::label("'"),
         ui::layout::stretch()});
}

inline ui::LayoutNode builderButtons(bool testPrint) {
    std::vector<ui::LayoutNode> cells;
    if (testPrint) cells.push_back(ui::layout::button(IDC_B_TEST_PRINT, "Test Print"));
    cells.push_back(ui::layout::stretch());
    cells.push_back(ui::layout::button(IDC_B_INSERT, "Insert to label"));
    cells.push_back(ui::layout::button(ui::IDOK, "Close"));
    return ui::layout::row(std::move(cells));
}

}  // namespace velmora::resources
