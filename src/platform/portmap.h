// Turns the port names the program uses ("COM1:" ... "COM20:", "LPT1:" ... "LPT4:") into Linux
// device paths: COMn is /dev/ttyS(n-1) and LPTn is /dev/lp(n-1) unless the settings file maps
// the name elsewhere ($XDG_CONFIG_HOME/velmora/velmora.ini, section [Ports], COM3=/dev/ttyUSB0).
#pragma once

#include <map>
#include <string>

namespace velmora::platform {

class PortMap {
public:
    // The device for a port name, with or without its trailing colon, in any letter case.
    // Empty when the name is neither a COM nor an LPT name and is not mapped.
    std::string devicePath(const std::string& portName) const;
    // Maps a name ("COM3" or "COM3:") to a device; replaces an earlier mapping.
    void set(const std::string& portName, const std::string& device);
    bool isMapped(const std::string& portName) const;
    const std::map<std::string, std::string>& entries() const { return map_; }

    // Reads the [Ports] section of an INI file; a missing file leaves the map empty. A file that
    // is not a regular file, cannot be read or is too large is ignored (in part), and note() says so.
    void loadFrom(const std::string& iniPath);
    // What was ignored when the settings file was read, for the program to print; empty if nothing.
    const std::string& note() const { return note_; }
    // The settings file path: $XDG_CONFIG_HOME/velmora/velmora.ini, else ~/.config/velmora/velmora.ini.
    static std::string settingsFilePath();
    // The map from the user's settings file.
    static PortMap fromSettings();

private:
    std::map<std::string, std::string> map_;  // keys upper case, without colon
    std::string note_;
};

}  // namespace velmora::platform
