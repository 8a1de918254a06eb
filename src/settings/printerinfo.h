// The native "Printer Info" page (the ZII set's "Others"): model name, firmware version and six
// usage counters read with "^PI" queries, the three counter resets, and the USB serial number.
#pragma once

#include <array>
#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CPrinterInfo : public ui::Dialog {
  public:
    explicit CPrinterInfo(app::ToolContext& ctx);

    static constexpr unsigned kReplyWaitMs = 40;
    static constexpr std::size_t kReplyLimit = 32;
    static constexpr int kUsbSerialLength = 13;
    static constexpr int kMsgGetOk = 151;
    static constexpr int kMsgGetFailed = 152;
    static constexpr int kMsgUsbSerialLength = 270;

    struct Fact {
        int id;
        const char* query;
        const char* suffix;  // nullptr: the reply as received
        bool emptyIsZero;
    };
    static const std::array<Fact, 8> kFacts;

    // Bound fields: the eight facts in page order, and the USB serial number.
    std::array<std::string, 8> facts;
    std::string usbSerial;

    void OnGet();
    void OnInitStat(std::uint8_t counter);  // 0x0C motor, 0x0D TPH, 0x0E cutter
    void OnUsbSerialSet();
    // What the last write without a message returned (a counter reset, the USB serial number).
    int lastWrite() const { return lastWrite_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    app::ToolContext& ctx_;
    int lastWrite_ = 0;
};

}  // namespace velmora::settings
