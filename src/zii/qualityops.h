// The ZII print quality tool as operations: the sample series (speeds, label counts, darkness
// steps, identifiers), the sample label and the settings text, printing the samples and setting
// the chosen speed and darkness; the dialog and velmora-cli both use them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::zii {

// The speed entries "2.0" ... "7.0"; a speed's value is the integer part of its text.
const std::vector<std::string>& qualitySpeedTexts();
int speedValue(int speedEntry);
// The entry whose value is `speed`; -1 when none.
int speedEntryOf(int speed);
// The label counts "12", "18", "24", "30", "36", by position.
const std::vector<std::string>& qualityLabelCounts();
int labelCount(int countPos);
int samplesPerSpeed(int countPos);
inline constexpr int kQualityMaxDarkness = 30;  // the darkness list "0" ... "30"

// Darkness of the k-th sample at one speed for label-count position `countPos`: base + k x step.
struct DarknessSeries {
    int base;
    int step;
};
DarknessSeries darknessSeries(int countPos);
// "AA", "AB", ... "AZ", "BA", ...
std::string labelIdentifier(int number);
// Sample `number` of the series of `countPos`: its identifier, darkness and speed entry.
struct QualitySample {
    std::string identifier;
    int darkness = 0;
    int speedEntry = 0;
};
QualitySample seriesSample(int countPos, int number);
// The number of identifier `id` in the series of `countPos`; -1 when it has none.
int identifierNumber(const std::string& id, int countPos);

// One sample label format, its lines ended by CR LF; `identifier` empty in manual mode.
std::string sampleLabel(const std::string& identifier, int darkness, const std::string& speedText);
// The "Set to Printer" text.
std::string qualitySettingsText(int darkness, int speed);

inline constexpr unsigned kSamplePauseMs = 10;

// The automatic series: every sample one write, 10 ms apart; `written` names each sample that
// went out. A failed write ends the series (the port object said why, once). Steps: Wrote and
// Progress after each sample.
app::Outcome printSampleSeries(link::CComm& comm, platform::Clock& clock, int countPos,
                               const app::Steps& steps = {});
// Manual mode: one sample at the chosen darkness and speed entry, without identifier.
app::Outcome printManualSample(link::CComm& comm, int darkness, int speedEntry);

struct QualitySetting {
    int darkness = 0;
    int speed = 0;                    // the speed's value
    std::optional<std::string> file;  // also saved as a ZPL file, before anything is sent
};
// "Set to Printer". A file that cannot be written fails with its message and sends nothing.
app::Outcome setPrintQuality(link::CComm& comm, const QualitySetting& setting);

}  // namespace velmora::zii
