// velmora: the window program.
#include "gui/windowprogram.h"

int main(int argc, char** argv) { return velmora::gui::runWindowProgram(argc, argv); }
