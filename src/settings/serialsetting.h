// The native "Interface" page: the printer's serial port set-up, kept in memory switch 2 as one
// byte (handshake, stop bits, data length, parity check and selection, baud rate).
#pragma once

#include <array>
#include <cstdint>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::settings {

enum SerialList { kHandshake = 0, kStopBit, kDataLength, kParityCheck, kParitySelect, kBaud, kSerialListCount };
using SerialChoices = std::array<int, kSerialListCount>;

// The six list positions a switch-2 byte stands for.
SerialChoices decodeSerialByte(std::uint8_t byte);
// The byte of six chosen positions (none may be -1).
std::uint8_t serialByte(const SerialChoices& choices);

class CSerialSetting : public ui::Dialog {
  public:
    explicit CSerialSetting(app::ToolContext& ctx);

    static constexpr int kSwitch = 2;
    static constexpr unsigned kReplyWaitMs = 10;
    static const std::array<int, kSerialListCount> kListIds;

    SerialChoices choices{-1, -1, -1, -1, -1, -1};

    void OnGet();
    void OnSet();
    void OnDefaultSetting();

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    app::ToolContext& ctx_;
};

}  // namespace velmora::settings
