// The ZII print quality dialog: prints a series of sample labels, each at its own speed and
// darkness under a two-letter identifier, and writes the speed and darkness of the label the user
// picks (or of the speed and darkness picked by hand) to the printer, optionally saving them as a
// ZPL file as well.
#pragma once

#include <string>
#include <vector>

#include "app/toolcontext.h"
#include "ui/dialog.h"
#include "zii/qualityops.h"

namespace velmora::zii {

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

  protected:
    bool OnInitDialog() override;

  private:
    int mode() const;
    void rebuildIdentifiers();
    void showChoice();
    int countPosition() const;
    int speedEntryChosen() const;  // -1 for none

    app::ToolContext& ctx_;
    int samplesWritten_ = 0;
    bool settingsSent_ = false;
};

}  // namespace velmora::zii
