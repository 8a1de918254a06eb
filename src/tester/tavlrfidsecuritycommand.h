// The tester's RFID security builder: a lock payload (">RFLP,L" or, with "Unlock", ">RFLP,U") from
// twenty mask and action boxes, or in auto mode a plain ">RFLK" or ">RFUL".
#pragma once

#include <array>
#include <cstdint>

#include "tester/testerbuilder.h"

namespace velmora::tester {

class CTAVLRfidSecurityCommand : public TesterBuilder {
public:
    explicit CTAVLRfidSecurityCommand(app::ToolContext& ctx);
    std::string InsertText() const override;
    std::uint32_t payload() const;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void payloadMode();
    void autoMode();

    int mode_ = 0;     // 0 payload, 1 auto
    bool unlock_ = false;
    int choice_ = -1;  // auto mode: 0 lock, 1 unlock
    std::array<bool, 20> bits_{};  // by payload bit
};

}  // namespace velmora::tester
