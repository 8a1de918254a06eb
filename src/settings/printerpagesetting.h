// The native "Print && Page" page: paper size, margins, density, strobe, speed, offset, tear-off,
// gap detection and label length check, each read and written on its own with the user-value
// and memory-switch commands of settingexchange.h.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::settings {

// The user values of the page, in the order of the value numbers they are set with.
enum NumericSetting { kPaperWidth = 0, kDensity, kPaperLength, kHMargin, kVMargin, kGapLength, kNumericCount };

// The switch settings' value bytes and their decoding (nothing for a byte the table lacks).
std::uint8_t strobeByte(int choice);           // 0, 1, 2 -> 0x00, 0x40, 0x80
std::optional<int> decodeStrobe(std::uint8_t byte);
std::uint8_t gapDetectByte(int choice);        // 0, 1 -> 0x00, 0x20
std::optional<int> decodeGapDetect(std::uint8_t byte);
std::uint8_t speedByte(int choice);            // choice * 0x20 for 1..6, else 0x00
int decodeSpeed(std::uint8_t byte);            // bits 5..7; 7 reads as 0

class CPrinterPageSetting : public ui::Dialog {
  public:
    explicit CPrinterPageSetting(app::ToolContext& ctx);

    static constexpr unsigned kReplyWaitMs = 10;
    static constexpr std::size_t kTextReplyLimit = 32;
    static constexpr std::size_t kSignedReplyLimit = 7;

    struct Row {
        int editId;
        int getId;  // Set is getId + 1
        int valueNumber;      // "^MBU" n
        int queryGroup;       // "^PI" g "," n
        int queryNumber;
        int min, max;         // min > max: no range check
        int setOk, setFailed, getOk, getFailed;
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
    void switchSet(int switchNumber, int choice, std::uint8_t value, int ok, int failed);
    std::optional<std::uint8_t> switchGet(int switchNumber);
    void signedGet(const char* query, int& negative, int& magnitude, int negId, int editId, int setId, int ok,
                   int failed);
    void signedSet(const char* command, int negId, int editId, int ok, int failed);
    void report(bool ok, int okId, int failedId);

    app::ToolContext& ctx_;
    int lastImmediateWrite_ = 0;
};

}  // namespace velmora::settings
