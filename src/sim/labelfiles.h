// The printed labels as files: `velmora-sim --labels DIR` writes each label the simulator prints
// as DIR/label-0001.json, label-0002.json, ... (labelToJson), so users testing their own label
// software can read what a printer would have printed.
#pragma once

#include <cstdint>
#include <string>

#include "sim/labelrecord.h"

namespace velmora::sim {

class LabelFiles {
  public:
    // Makes the directory when it is missing. Numbering continues after the highest
    // label-NNNN.json already there, so a second run never overwrites the labels of the first.
    // False, with the reason, when the directory cannot be made.
    bool open(const std::string& directory, std::string& error);

    // Writes the record as the file of its number; the file's path, or "" with the reason.
    // Safe to call from several threads (each record has its own file).
    std::string write(const LabelRecord& record, std::string& error) const;

    // "label-0001.json" for number 1; more digits once there are more labels.
    static std::string fileName(std::uint64_t number);

  private:
    std::string directory_;
    std::uint64_t first_ = 0;  // label numbers already used in the directory
};

}  // namespace velmora::sim
