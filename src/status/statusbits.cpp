// Status bit tables and decoding.
#include "status/statusbits.h"

#include <algorithm>

#include "resources/templates_status.h"

namespace velmora::status {

using namespace resources;

namespace {
// Byte 0 carries the error bits in both replies; byte 1 of "^cp" the label progress bits.
constexpr StatusBit kErrorBits[] = {
    {0, 0x80, IDC_STATUS_PAPER_EMPTY, "Paper Empty", "paper-empty"},
    {0, 0x40, IDC_STATUS_COVER_OPEN, "Cover Open", "cover-open"},
    {0, 0x20, IDC_STATUS_CUTTER_JAMMED, "Cutter jammed", "cutter-jammed"},
    {0, 0x10, IDC_STATUS_HEAD_OVERHEAT, "Thermal Head overheat", "head-overheat"},
    {0, 0x08, IDC_STATUS_GAP_ERROR, "Gap Detection Error", "gap-error"},
    {0, 0x04, IDC_STATUS_RIBBON_END, "Ribbon End Error", "ribbon-end"},
};
constexpr StatusBit kCpBits[] = {
    kErrorBits[0], kErrorBits[1], kErrorBits[2], kErrorBits[3], kErrorBits[4], kErrorBits[5],
    {1, 0x80, IDC_STATUS_BUILDING_LABEL, "On Building label", "building-label"},
    {1, 0x40, IDC_STATUS_PRINTING_LABEL, "On Printing label", "printing-label"},
    {1, 0x20, IDC_STATUS_LABEL_PAUSED, "Issued label is paused", "paused"},
};
}  // namespace

std::span<const StatusBit> cpStatusBits() { return kCpBits; }
std::span<const StatusBit> cuStatusBits() { return kErrorBits; }

std::vector<const StatusBit*> decodeStatusBits(std::span<const StatusBit> table, std::span<const std::uint8_t> reply) {
    std::vector<const StatusBit*> out;
    for (const auto& bit : table)
        if (bit.byte < static_cast<int>(reply.size()) && (reply[bit.byte] & bit.mask)) out.push_back(&bit);
    return out;
}

bool allClear(std::span<const std::uint8_t> reply) {
    return std::all_of(reply.begin(), reply.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace velmora::status
