// The sensing page of the calibration: samples the media sensor over a label length, shows the
// 32-bucket distribution (value labels and a bar chart), proposes the level between the two
// populations, and stores the chosen threshold and gap count in the printer or cancels.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "app/toolcontext.h"
#include "settings/calibrationops.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CCalibration_2 : public ui::Dialog {
  public:
    explicit CCalibration_2(app::ToolContext& ctx);

    void OnCheckSensingValue();
    void OnLevelClicked();
    void OnSaveCalibration();
    void OnCancelCalibration();

    static constexpr unsigned kColorMarkedText = 0x00FFFF;
    static constexpr unsigned kColorMarkedBack = 0x000080;
    static constexpr unsigned kColorPlainText = 0x808080;

    // Level step of the menu mode: 8 (native) or 32 (ZII); and the command prefix.
    static int levelStep();
    static char prefix();
    // The pause between the start command and the read for `rows` dot rows on `kind`.
    static unsigned samplingWaitMs(link::InterfaceKind kind, int rows);

    const SensingAnalysis& analysis() const { return analysis_; }
    const std::shared_ptr<SensingChart>& chart() const { return chart_; }
    // What the last check wrote and read: false when it stopped before reading.
    bool measured() const { return measured_; }

    // Bound fields.
    std::array<int, kBuckets> marks{};
    SensingValues values{};
    std::array<std::string, kBuckets> valueTexts;
    int labelLength = 150;
    int levelChoice = -1;
    int sensingType = kGapSensing;
    int middleGapValue = 0;
    int gapCountChoice = -1;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    // Which fields a read of the controls takes: each action validates only what it uses, so a
    // box it does not need never holds it up. Showing the fields always shows them all.
    enum class Reading { All, Check, Level, Store };
    bool readControls(Reading which);
    void toIdle();  // clears marks and values, disables the level radios and step 2
    void enableStep2(bool on);
    void colourValues();
    void showValueTexts();
    void showAnalysis(int messageId);

    app::ToolContext& ctx_;
    SensingAnalysis analysis_;
    std::shared_ptr<SensingChart> chart_;
    bool measured_ = false;
    Reading reading_ = Reading::All;
};

}  // namespace velmora::settings
