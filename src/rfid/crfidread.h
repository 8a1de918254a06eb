// The RFID read dialog: a range of the tag's EPC or user memory read through the encoder and
// shown byte by byte in 64 cells, or printed by the printer instead.
#pragma once

#include <array>
#include <string>

#include "app/toolcontext.h"
#include "resources/templates_rfid.h"
#include "ui/dialog.h"

namespace velmora::rfid {

inline constexpr unsigned kReadReplyWaitMs = 4000;
inline constexpr unsigned kUsbPieceWaitMs = 200;
inline constexpr std::size_t kUsbPiece = 16;

// Reads a reply of `length` bytes: on USB in pieces of 16 bytes with a pause after each whole
// piece, elsewhere as many bytes as a read gives. Either way the reads go on until the length
// arrived or a read returned nothing (a TCP read may give fewer bytes than asked), so no part of
// the reply is left for the next command. The bytes that came, cut at the first NUL.
std::string readTagReply(link::CComm& comm, platform::Clock& clock, std::size_t length);

class CRFIDRead : public ui::Dialog {
public:
    explicit CRFIDRead(app::ToolContext& ctx);

    const std::string& cell(int number) const { return cells_[number - 1]; }

    void OnRead();
    void OnPrint();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    app::ToolContext& ctx_;
    int start_ = 4, countPos_ = 10, format_ = 0, memory_ = 0, tagKind_ = 0;
    std::array<std::string, resources::kRfidCells> cells_;
};

}  // namespace velmora::rfid
