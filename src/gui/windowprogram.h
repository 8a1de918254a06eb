// The window program `velmora` (its main is in src/programs/velmora.cpp).
#pragma once

namespace velmora::gui {

// Runs the program with its command line; returns the exit status.
int runWindowProgram(int argc, char** argv);

}  // namespace velmora::gui
