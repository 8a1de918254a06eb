// Pieces the RFID templates share: the lock payload grid, the rows of data cells, and the memory
// and tag-kind choices.
#pragma once

#include <functional>

#include "resources/templates_rfid.h"

namespace velmora::resources {

// Five columns (kill and access passwords, EPC, TID and user memory), rows "Mask" and "Action",
// two boxes a column; `idOfBit` names the box of each payload bit.
ui::LayoutNode lockPayloadGrid(const std::function<int(int)>& idOfBit);
// `count` cells from `firstId`, `perRow` to a row, each under its number.
ui::LayoutNode dataCells(int firstId, int count, int perRow, bool readOnly);
// "EPC Data :" with the format list, "User Data"; "Label", "Metal".
ui::LayoutNode memoryAndKind();

}  // namespace velmora::resources
