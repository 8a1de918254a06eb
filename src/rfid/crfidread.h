// The RFID read dialog: a range of the tag's EPC or user memory read through the encoder and
// shown byte by byte in 64 cells, or printed by the printer instead.
#pragma once

#include <array>
#include <string>

#include "app/toolcontext.h"
#include "resources/templates_rfid.h"
#include "rfid/rfidtagops.h"
#include "ui/dialog.h"

namespace velmora::rfid {

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
