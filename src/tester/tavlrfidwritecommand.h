// The tester's RFID write builder: ">RFW," with the data type, start block, byte count and up to
// twelve data cells of one byte each.
#pragma once

#include <array>

#include "resources/templates_rfid.h"
#include "rfid/rfidcommands.h"
#include "tester/testerbuilder.h"

namespace velmora::tester {

class CTavlRfidWriteCommand : public TesterBuilder {
public:
    explicit CTavlRfidWriteCommand(app::ToolContext& ctx);

    std::string InsertText() const override;
    int cellWidth() const { return cellWidth_; }

    void OnSetData();
    void OnResetData();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PrepareInsert() override;

private:
    void enableRange();
    void OnCellChange(int position);
    rfid::DataFormat format() const;

    int type_ = -1, start_ = -1, count_ = -1;  // list positions
    std::array<std::string, resources::kRfidBuilderCells> cells_;
    int cellWidth_ = 2;
};

}  // namespace velmora::tester
