// The tester's RFID read builder: ">RFR," with the data type, start block, byte count and the
// output type ("S" answer, "P" print).
#pragma once

#include "tester/testerbuilder.h"

namespace velmora::tester {

class CTavlRfidReadCommand : public TesterBuilder {
public:
    explicit CTavlRfidReadCommand(app::ToolContext& ctx);
    std::string InsertText() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    int type_ = -1, start_ = -1, count_ = -1, output_ = -1;  // list positions
};

}  // namespace velmora::tester
