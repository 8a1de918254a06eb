// How the simulated printer reads the values of a ZII command, as printers do: values split at
// commas, spaces around them dropped, a decimal number cut to its whole part, a value that is not
// what the command takes left to the command's own default. Label software sends all of these
// ("^FO18.64,81.5", "^FO50,50 ^BEN"); each leniency applied is noted, so a test of our own bytes
// can still insist on none.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::sim {

// Notes of the leniencies applied, "^FO18.64,81.5: decimal 18.64 taken as 18".
using Leniencies = std::vector<std::string>;

void noteLeniency(Leniencies* notes, std::string_view command, std::string_view why);

class ZiiValues {
  public:
    // `command` is the whole command ("^FO1,2"); its values start after `nameLength` characters.
    explicit ZiiValues(std::string_view command, Leniencies* notes = nullptr, std::size_t nameLength = 3);

    // Value i as sent, without the spaces around it (noted); empty when omitted.
    std::string_view operator[](std::size_t i) const;
    // Whether value i was given (not omitted, not empty); nothing is noted.
    bool given(std::size_t i) const;
    std::size_t count() const;
    std::vector<std::string> all() const;

    // A whole number: a decimal one cut to its whole part (noted). nullopt when omitted, or when
    // it is not a number (noted).
    std::optional<long> whole(std::size_t i) const;
    // A whole number from min to max; `fallback` when omitted, not a number or out of range
    // (the last two noted).
    int number(std::size_t i, int fallback, int min, int max) const;
    // A decimal number from min to max, or `fallback`.
    double decimal(std::size_t i, double fallback, double min, double max) const;
    // One letter of `allowed`, or `fallback` (noted when a value was given).
    char letter(std::size_t i, std::string_view allowed, char fallback) const;

    std::string_view command() const { return command_; }
    void note(std::string_view why) const { noteLeniency(notes_, command_, why); }

  private:
    std::string_view raw(std::size_t i) const;

    std::string_view command_;
    std::string_view text_;
    Leniencies* notes_;
    // The first values, split off as they are asked for: a command's values are read one by one,
    // each more than once, and the text is walked only once. Data after them is never walked.
    static constexpr std::size_t kSplitValues = 12;
    mutable std::array<std::string_view, kSplitValues> split_{};
    mutable std::size_t splitCount_ = 0;
    mutable std::string_view unsplit_;  // what follows the values split off
    mutable bool allSplit_ = false;     // the last value is among them
};

// A whole number of `text` read as a printer reads one (sign, digits, a fraction cut off);
// nullopt when it holds anything else. `decimal` tells whether a fraction was cut.
std::optional<long> leadingWhole(std::string_view text, bool& decimal);

}  // namespace velmora::sim
