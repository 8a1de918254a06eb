// Code 128 as a printer encodes a ^BC field: the subsets and function characters its data asks
// for with the invocation codes (">;" start in subset C, ">5" ">6" ">7" switch to C, B, A, ">8"
// FNC1, ">0" a ">", ...), rather than the shortest symbol an encoder would choose, so the bars
// and the symbol's width are the printer's.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora::preview {

struct Code128 {
    std::vector<int> modules;  // bar, space, bar, ... widths in modules, start to stop
    std::string text;          // the interpretation line
};

// `mode` is the ^BC mode: N (the data's own subsets), A (automatic), U (a UCC case code of 19
// digits and its check digit), D (GS1 data, "(01)..." with or without parentheses). nullopt and
// why for data the subsets cannot hold.
std::optional<Code128> encodeCode128(const std::string& data, char mode, std::string& why);

}  // namespace velmora::preview
