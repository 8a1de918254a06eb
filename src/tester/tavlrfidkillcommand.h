// The tester's RFID kill builder: ">RFKL", which has no fields.
#pragma once

#include "tester/testerbuilder.h"

namespace velmora::tester {

class CTavlRfidKillCommand : public TesterBuilder {
public:
    explicit CTavlRfidKillCommand(app::ToolContext& ctx);
    std::string InsertText() const override;

protected:
    bool OnInitDialog() override;
};

}  // namespace velmora::tester
