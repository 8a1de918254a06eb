// The ZII print quality dialog: prints a series of sample labels, each at its own speed and
// darkness under a two-letter identifier, and writes the speed and darkness of the label the user
// picks (or of the speed and darkness picked by hand) to the printer, optionally saving them as a
// ZPL file as well.
#pragma once

#include <string>
#include <vector>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::zii {

// The speed entries "2.0" ... "7.0"; a speed's value is the integer part of its text.
const std::vector<std::string>& qualitySpeedTexts();
// The label counts "12", "18", "24", "30", "36".
const std::vector<std::string>& qualityLabelCounts();
// Darkness of the k-th sample at one speed for label-count position `countPos`: base + k x step.
struct DarknessSeries {
    int base;
    int step;
};
DarknessSeries darknessSeries(int countPos);
// "AA", "AB", ... "AZ", "BA", ...
std::string labelIdentifier(int number);
// One sample label format, its lines ended by CR LF; `identifier` empty in manual mode.
std::string sampleLabel(const std::string& identifier, int darkness, const std::string& speedText);
// The "Set to Printer" text.
std::string qualitySettingsText(int darkness, int speed);

class CUserSetting_ZII_QualityDlg : public ui::Dialog {
  public:
    explicit CUserSetting_ZII_QualityDlg(app::ToolContext& ctx);

    enum Mode { kNone = -1, kAutomatic = 0, kManual = 1 };

    void OnModeChanged();
    void OnCountChanged();
    void OnPrintSamples();
    void OnSetToPrinter();

    // The darkness and speed value "Set to Printer" takes: the selected identifier's in
    // automatic mode, the lists' in manual mode; 0 for none.
    int chosenDarkness() const;
    int chosenSpeed() const;
    // Samples written by the last print (a failed write ends the series).
    int samplesWritten() const { return samplesWritten_; }
    // Whether the last "Set to Printer" wrote its text to the printer.
    bool settingsSent() const { return settingsSent_; }

    static constexpr unsigned kSamplePauseMs = 10;

  protected:
    bool OnInitDialog() override;

  private:
    int mode() const;
    void rebuildIdentifiers();
    void showChoice();
    int speedEntryOf(int identifier) const;
    int darknessOf(int identifier) const;
    int perSpeed() const;

    app::ToolContext& ctx_;
    int samplesWritten_ = 0;
    bool settingsSent_ = false;
};

}  // namespace velmora::zii
