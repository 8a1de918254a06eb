// The native "Printer Info" page (the ZII set's "Others"): model name, firmware version and six
// usage counters, the three counter resets, and the USB serial number, through the operations of
// printerinfoops.h.
#pragma once

#include <array>
#include <string>

#include "app/toolcontext.h"
#include "settings/printerinfoops.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CPrinterInfo : public ui::Dialog {
  public:
    explicit CPrinterInfo(app::ToolContext& ctx);

    // The static text of each fact, in the order of printerInfoFacts().
    static const std::array<int, kInfoFactCount> kFactIds;

    // Bound fields: the eight facts in page order, and the USB serial number.
    std::array<std::string, kInfoFactCount> facts;
    std::string usbSerial;

    void OnGet();
    void OnInitStat(InfoCounter counter);
    void OnUsbSerialSet();
    // 1 when the last write without a message went out (a counter reset, the USB serial number).
    int lastWrite() const { return lastWrite_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    app::ToolContext& ctx_;
    int lastWrite_ = 0;
};

}  // namespace velmora::settings
