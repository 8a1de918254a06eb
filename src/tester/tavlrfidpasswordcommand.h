// The tester's RFID password builder: ">RFZ," with the tag's current passwords and the new
// access and kill passwords, typed in dotted pairs.
#pragma once

#include "tester/testerbuilder.h"

namespace velmora::tester {

class CTavlRfidPasswordCommand : public TesterBuilder {
public:
    explicit CTavlRfidPasswordCommand(app::ToolContext& ctx);
    std::string InsertText() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool PrepareInsert() override;

private:
    void OnFieldChange(int id);

    std::string access_, kill_;          // as typed
    std::string accessDigits_, killDigits_;  // as inserted
};

}  // namespace velmora::tester
