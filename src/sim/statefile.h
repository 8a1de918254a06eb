// velmora-sim's non-volatile memory on disk (--state FILE): the saved ZII settings as a readable
// INI file, loaded at start and written whenever the printer saves, so settings survive a restart
// as on a real printer and a user can see what a tool changed.
//
//     [ZII]
//     label-width=812
//     print-speed=4
//     serial=115200,8,N,1,D,N
//     ...
//
// Each value is read through the ZII command that sets it, so the file takes exactly what the
// printer would; a bad value or an unknown key keeps the factory value and is named in a note.
#pragma once

#include <string>
#include <vector>

#include "sim/zii.h"

namespace velmora::sim {

class Printer;

// The file's text for these saved settings.
std::string stateFileText(const ZiiSettings& saved);
// The settings of `text`, starting from the factory ones. `notes` gets one line per key or value
// that was ignored ("darkness=99 is not a valid value").
ZiiSettings readStateText(const std::string& text, std::vector<std::string>& notes);

class StateFile {
  public:
    // A saved-settings file is a few hundred bytes.
    static constexpr std::size_t kMaxBytes = 64 * 1024;

    explicit StateFile(std::string path) : path_(std::move(path)) {}

    // Puts the file's settings into the printer as its saved ones and starts them, as at power-up.
    // A missing file leaves the factory settings (the first save creates it). Returns what was
    // ignored, for the program to print.
    std::vector<std::string> load(Printer& printer) const;
    // Writes the printer's saved settings, replacing the file whole. False with `error` set.
    bool save(const Printer& printer, std::string& error) const;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace velmora::sim
