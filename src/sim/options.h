// The command line of velmora-sim, parsed into a plain struct that the program applies.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/printer.h"

namespace velmora::sim {

struct Options {
    unsigned port = 9100;  // 0: any free port
    std::string listenAddress = "127.0.0.1";  // --listen: any loopback address 127.x.y.z
    bool tcp = true;
    bool pty = false;
    Faults faults;
    Printer::StatusBytes status{};  // named status flags set their bits here
    std::string labelsDirectory;    // --labels: where printed labels are written; "" nowhere
    std::string statePath;  // --state: the saved settings' file; "" none
    std::string imagesDirectory;    // --images: where stored images are written; "" nowhere
    std::vector<std::uint8_t> tagEpc;   // --tag-epc: the tag's EPC memory from byte 0
    std::vector<std::uint8_t> tagUser;  // --tag-user: its user memory from byte 0
    bool rfidVoid = false;              // --rfid-void: every tag write fails
    std::optional<MediaModel> media;  // --media: the labels loaded; nullopt the default
    std::optional<std::string> model;     // --model: what "^PI0" answers
    std::optional<std::string> firmware;  // --firmware: what "^PI2" answers
    std::string statusScript;             // --status-script: timed status changes; "" none
    bool help = false;
    bool version = false;
};

// Whether `text` is an IPv4 loopback address written as four decimal numbers (127.x.y.z): the
// simulator never listens beyond this computer.
bool isLoopbackAddress(std::string_view text);

// Parses the arguments that follow the program name. nullopt, with `error` set, for an unknown
// option, a missing or bad value, or options that leave nothing to serve.
std::optional<Options> parseOptions(std::span<const std::string_view> args, std::string& error);
// The --help text.
std::string usage();
// The --version text: the program and the version it was built as.
std::string versionText();
// Puts the options' faults and status bits on a printer.
void applyOptions(const Options& options, Printer& printer);

}  // namespace velmora::sim
