// The native "Print && Page" page: paper size, margins, density, strobe, speed, offset, tear-off,
// gap detection and label length check, each read and written on its own with the user-value
// and memory-switch commands of settingexchange.h.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "app/operation.h"
#include "app/toolcontext.h"
#include "settings/printerpageops.h"
#include "ui/dialog.h"

namespace velmora::settings {

// The user values of the page, in the order of the value numbers they are set with.
enum NumericSetting { kPaperWidth = 0, kDensity, kPaperLength, kHMargin, kVMargin, kGapLength, kNumericCount };


class CPrinterPageSetting : public ui::Dialog {
  public:
    explicit CPrinterPageSetting(app::ToolContext& ctx);

    struct Row {
        int editId;
        int getId;  // Set is getId + 1
        const char* key;  // its line in printerPageKeys()
    };
    static const std::array<Row, kNumericCount> kRows;

    // Bound fields.
    std::array<int, kNumericCount> values{};
    int strobe = -1;
    int speed = -1;
    int offsetNegative = 0;
    int offset = 0;
    int tearOffNegative = 0;
    int tearOff = 0;
    int gapDetect = 0;
    int labelLengthCheck = 0;

    void OnNumericGet(NumericSetting which);
    void OnNumericSet(NumericSetting which);
    void OnStrobeGet();
    void OnStrobeSet();
    void OnGapDetectGet();
    void OnGapDetectSet();
    void OnSpeedGet();
    void OnSpeedSet();
    void OnOffsetGet();
    void OnOffsetSet();
    void OnTearOffGet();
    void OnTearOffSet();
    void OnLabelLengthCheckSet();
    void OnInitialize();
    // What the last label length check write returned (it shows no message).
    int lastImmediateWrite() const { return lastImmediateWrite_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    void switchSet(const char* key, int choice);
    void switchGet(const char* key, int& choice, int noneChoice, bool redisplayBefore, std::initializer_list<int> enable);
    void signedGet(const char* key, int& negative, int& magnitude, int negId, int editId, int setId);
    void signedSet(const char* key, int negId, int editId);
    void report(const app::Outcome& outcome);

    app::ToolContext& ctx_;
    int lastImmediateWrite_ = 0;
};

}  // namespace velmora::settings
