// Every tool dialog registers itself here under a short name, so the window program can open
// any of them by name and the render test can draw all of them without a list to keep.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::app {

struct DialogEntry {
    std::string name;  // "status"
    std::function<std::unique_ptr<ui::Dialog>(ToolContext&)> make;
    // Named states worth a picture besides the freshly opened dialog: each acts on the opened
    // dialog (for example presses a query button) with the printer simulator answering.
    std::vector<std::pair<std::string, std::function<void(ui::Dialog&)>>> scenes;
    // Menu modes in which the dialog looks different (other pages, other views); each gets its
    // own pictures. Empty: the dialog does not depend on the mode.
    std::vector<int> menuModes;
};

// Adds an entry; returns true so it can initialise a static.
bool registerDialog(DialogEntry entry);
// Entries sorted by name.
std::vector<const DialogEntry*> dialogCatalog();
const DialogEntry* findDialog(const std::string& name);

}  // namespace velmora::app
