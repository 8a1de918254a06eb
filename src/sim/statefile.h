// velmora-sim's non-volatile memory on disk (--state FILE): the saved ZII settings and the native
// settings as a readable INI file, loaded at start and written whenever the printer saves, so
// settings survive a restart as on a real printer and a user can see what a tool changed.
//
//     [ZII]
//     label-width=812
//     serial=115200,8,N,1,D,N
//     ...
//     [Native]
//     switch-1=06
//     paper-width=812
//     serial-number=VS0000000001
//     usb-serial=0000000000000
//     ...
//
// Each ZII value is read through the ZII command that sets it, so the file takes exactly what the
// printer would; a native value must be one the printer can hold. A bad value or an unknown key
// keeps the factory value and is named in a note. In the native strings a byte that an INI line
// cannot carry (a control byte, a backslash, a space at either end) is written as \xNN.
#pragma once

#include <string>
#include <vector>

#include "sim/native_settings.h"
#include "sim/zii.h"

namespace velmora::sim {

class Printer;

// What the non-volatile memory holds. Of `native`, the staged switch bytes, the model name and
// the firmware are not kept (they are the factory ones when read).
struct SavedState {
    ZiiSettings zii;
    NativeState native;
};

// The file's text for these saved settings.
std::string stateFileText(const SavedState& saved);
// The settings of `text`, starting from the factory ones. `notes` gets one line per key or value
// that was ignored ("darkness=99 is not a valid value; ignored"). A file with only [ZII] leaves
// the native settings at the factory ones.
SavedState readStateText(const std::string& text, std::vector<std::string>& notes);

class StateFile {
  public:
    // A saved-settings file is under a kilobyte.
    static constexpr std::size_t kMaxBytes = 64 * 1024;

    explicit StateFile(std::string path) : path_(std::move(path)) {}

    // Puts the file's settings into the printer as its saved ones and starts them, as at power-up.
    // A missing file leaves the factory settings (the first save creates it). Returns what was
    // ignored, for the program to print.
    std::vector<std::string> load(Printer& printer) const;
    // Writes the printer's saved ZII settings and its native ones, replacing the file whole.
    // False with `error` set.
    bool save(const Printer& printer, std::string& error) const;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace velmora::sim
