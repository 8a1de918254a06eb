// The sensing calibration as operations: sampling the media sensor (the start command, a pause in
// proportion to the length, the 64-byte distribution and its two populations), storing a level,
// and cancelling; with the ranges the page, the finer-level dialog and the command line all take.
#pragma once

#include <string>

#include "app/operation.h"
#include "platform/clock.h"
#include "settings/sensinganalysis.h"

namespace velmora::settings {

// The label length sampled, in millimetres: the printer takes 2 to 6 ms a dot row, so the
// longest length keeps the wait under a minute.
inline constexpr int kLabelLengthMin = 1;
inline constexpr int kLabelLengthMax = 999;
inline constexpr int kDotsPerMm = 8;
// The gap count the store command takes (the page's list "4" ... "10").
inline constexpr int kGapCountMin = 4;
inline constexpr int kGapCountMax = 10;

// '*' when the menu mode is ZII, '^' when it is native.
char sensingPrefix(int menuMode);
// A level counts 8 with the native prefix '^', 32 with '*'.
int levelStepOf(char prefix);

// What a stored middle gap value may be for the prefix it is sent with: one of the 32 levels'
// span, 1 up to the top level (256 with '^', 1024 with '*'). Below or above, the threshold
// separates nothing and the printer ignores the store, which no message would tell.
struct ValueRange {
    int min;
    int max;
};
ValueRange middleGapRange(char prefix);

// The pause between the start command and the read for `rows` dot rows on a link of `kind`.
unsigned samplingWaitMs(link::InterfaceKind kind, int rows);

struct SensingRequest {
    SensingType type = kGapSensing;
    int labelLength = 150;  // millimetres
    char prefix = '*';
    // The sampling pause is reported (as Progress steps of milliseconds) every this many
    // milliseconds; 0: one pause, reported when it ends.
    unsigned progressEveryMs = 0;
};

struct SensingResult {
    // The value "distribution": valid when exactly 64 bytes came and no bucket counts more
    // readings than the rows sampled. The result is Done, Failed with 106 when the distribution
    // is not valid or holds no two populations, Failed with no message when the start command
    // was not written (the port object said why), or Refused for a length out of range.
    app::Outcome outcome;
    SensingValues values{};     // decoded from the 64 bytes that came (zeros when another count came)
    SensingAnalysis analysis;   // of a valid distribution
    int rows = 0;               // dot rows sampled

    const app::ReadValue* distribution() const { return outcome.find("distribution"); }
    bool valid() const;         // the distribution came and is valid
    bool complete() const;      // exactly 64 bytes came, whatever they hold
};

// "Check Sensing Value": one action. Steps: Progress 0 of the wait before the start command is
// written (the page repaints itself idle there), Wrote, Progress during the pause, ValueRead.
SensingResult checkSensing(link::CComm& comm, platform::Clock& clock, const SensingRequest& request,
                           const app::Steps& steps = {});

struct StoreRequest {
    char prefix = '*';
    int middleGapValue = 0;
    int gapCount = 7;
};
// "Save Calibration": the store command; refused (nothing sent) for a value out of range.
app::Outcome saveCalibration(link::CComm& comm, const StoreRequest& request);
// What a typed middle gap value or gap count refuses, as the dialogs say it; empty when taken.
std::string middleGapMessage(const std::string& text, char prefix);
std::string gapCountMessage(const std::string& text);

// "Cancel Calibration".
app::Outcome cancelCalibration(link::CComm& comm, char prefix);

}  // namespace velmora::settings
