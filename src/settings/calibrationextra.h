// The finer-level dialog of the calibration: when the two populations lie one to three buckets
// apart it offers seven levels between them, can store one ("*MXs", always on the 32-per-level
// scale) and hands the chosen one back to the sensing page on "OK".
#pragma once

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CCalibrationExtra : public ui::Dialog {
  public:
    CCalibrationExtra(app::ToolContext& ctx, int low, int high, int lowValue, int highValue, int sensingType,
                      int gapCount);

    void OnDetailClicked();
    void OnSaveCalibration();

    int low() const { return low_; }
    int high() const { return high_; }
    int distance() const { return high_ - low_; }

    // Bound fields; middleGapValue is the result once the dialog ended with OK.
    int detailChoice = 4;
    int middleGapValue = 0;
    int gapCount = 0;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;

  private:
    // Each action reads only the boxes it uses (see CCalibration_2).
    enum class Reading { All, Detail, Result, Store };
    bool readControls(Reading which);

    app::ToolContext& ctx_;
    Reading reading_ = Reading::All;
    int low_, high_, lowValue_, highValue_, sensingType_;
    bool saved_ = false;
};

}  // namespace velmora::settings
