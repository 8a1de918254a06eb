// The simulated media path: labels with gaps (or black marks) moving past the media sensor, the
// sensor's readings with some noise, the thresholds the calibration stores, and the maintenance
// commands that move or measure the media.
//
// Sensor readings are on a 0 to 1023 scale, 32 levels to a sampling bucket. The gap sensor
// (transmissive) reads a label low and a gap high; the black-mark sensor (reflective) reads a
// label high and a mark low. Either sensor on media without its kind of edge sees one population.
//
//   prefix "MXd,N,G|B"  samples N dot rows (8 to the millimetre) and answers 64 bytes: 32
//                       little-endian 16-bit counts, bucket 0 first
//   prefix "MXs,T,C"    stores threshold T and gap count C (4 to 10); prefix "^" counts T on the
//                       native scale (8 a level, so x4), "*" on the ZII scale (32 a level)
//   prefix "MXc"        cancels a calibration: nothing stored changes
//   ~JC                 measures the media and stores the threshold between its populations
//   ~PH                 feeds one label;  ~WC prints the configuration label;  ^WD lists objects
//   ~JR                 power cycle: the saved settings come back, diagnostics mode ends
//   ~JD ~JE             diagnostics mode on and off
//
// The printer senses edges with the threshold stored last (the factory one until then). When the
// media moves (a feed, a printed label, a calibration) or a threshold is stored, a threshold that
// does not fall between the two populations sets the "gap-error" status bit; one that does clears it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::sim {

class CommandSet;
class Printer;

struct MediaModel {
    enum class Kind { Gap, Mark, Continuous };
    Kind kind = Kind::Gap;
    int labelMm = 100;
    int gapMm = 3;  // gap or mark length
    // "gap:100:3", "mark:100:5", "continuous"; nullopt and `error` set for anything else.
    static std::optional<MediaModel> parse(std::string_view text, std::string& error);
    std::string describe() const;  // as parse reads it
    bool operator==(const MediaModel&) const = default;
};

struct SensorThreshold {
    int value = 0;     // as sent, on the scale of its prefix
    int gapCount = 0;
    bool operator==(const SensorThreshold&) const = default;
};

struct MediaState {
    static constexpr int kScale = 1024;            // sensor reading range
    static constexpr int kFactoryThreshold = 512;  // separates every modelled media
    static constexpr int kNoise = 40;              // readings spread this much either way
    static constexpr int kDotsPerMm = 8;

    MediaModel model;
    std::optional<SensorThreshold> native;  // "^MXs"
    std::optional<SensorThreshold> zii;     // "*MXs" and ~JC
    char lastStored = 0;                    // '^' or '*': the threshold in use; 0 the factory one
    std::uint64_t position = 0;             // dot rows moved since power-up
    std::uint64_t readings = 0;             // sensor readings taken (the noise sequence)
    std::uint64_t samplings = 0;            // "MXd" answered
    std::uint64_t cancels = 0;              // "MXc"
    std::uint64_t feeds = 0;                // ~PH
    std::uint64_t calibrations = 0;         // ~JC
    std::uint64_t resets = 0;               // ~JR
    bool diagnostics = false;               // ~JD ... ~JE

    // The threshold in use on the 0 to 1023 scale.
    int threshold() const;
    // Whether a threshold on that scale falls between the label and gap populations of the media
    // (always true for continuous media: there is no edge to find).
    bool separates(int threshold) const;
    // The midpoint between the two populations: what ~JC stores.
    int measuredThreshold() const;
};

// Takes `rows` readings of sensor 'G' (gap) or 'B' (black mark) from the current position on,
// moving the media, and counts them into 32 buckets (each count stops at 65535).
std::array<std::uint16_t, 32> sampleSensor(MediaState& media, std::uint64_t rows, char sensor);
// The 64 reply bytes of a distribution.
std::string distributionReply(const std::array<std::uint16_t, 32>& counts);

// Moves the media by `labels` labels and sets or clears the gap error (a printed label, a feed).
void advanceMedia(Printer& printer, int labels);
// ^WD with its object name: prints the object list as a label.
void printObjectList(Printer& printer, std::string_view which);
// A line of the simulator's summary: the thresholds stored and the media counters.
std::string mediaSummary(const MediaState& media);

void addMediaCommands(CommandSet& commands);

}  // namespace velmora::sim
