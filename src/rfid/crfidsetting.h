// The RFID configuration dialog: the encoder's tag type, power, transponder position, retries
// and labels read and written, its valid and void counters shown and reset, and its automatic
// calibration started.
#pragma once

#include "app/toolcontext.h"
#include "rfid/rfidsettings.h"
#include "ui/dialog.h"

namespace velmora::rfid {

class CRFIDSetting : public ui::Dialog {
public:
    explicit CRFIDSetting(app::ToolContext& ctx);

    EncoderSettings values;

    void OnGet();
    void OnSet();
    void OnDefaultSetting();
    void OnReset();
    void OnAutoCalibration();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    app::ToolContext& ctx_;
};

}  // namespace velmora::rfid
