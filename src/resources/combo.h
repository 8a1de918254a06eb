// Filling drop-down lists from string-table entries whose items are separated by ";".
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace velmora::resources {

// The items of a ";"-separated text, each trimmed, empty ones dropped.
std::vector<std::string> splitItems(const std::string& text);
// Empties the list and fills it with the items of string-table entry `stringId`.
void FillComboFromString(ui::Control& list, int stringId);

}  // namespace velmora::resources
