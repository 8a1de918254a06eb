// The program's string table: the texts of its message boxes, the captions of the setting tabs and
// the ";"-separated item lists that fill some drop-down lists, each under its number (102 to 275;
// messages added later take numbers after the last one).
// Code names the entries through resources/messages.h.
// Texts are kept exactly as the tools show them, "&&" tab-caption escapes and spelling included.
#pragma once

#include <string>
#include <vector>

namespace velmora::resources {

// Text of string-table entry `id` exactly as the table holds it (UTF-8); empty when there is none.
const std::string& LoadString(int id);
bool HasString(int id);
std::vector<int> StringIds();  // every id, ascending

}  // namespace velmora::resources
