// Message boxes from the string table.
#include "app/toolcontext.h"

#include "resources/stringtable.h"

namespace velmora::app {

int ShowMessage(ui::Host& host, int stringId) { return host.message(resources::LoadString(stringId)); }

void ShowStatus(ui::Host& host, int stringId, const std::string& arg) {
    std::string text = resources::LoadString(stringId);
    if (const std::size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, arg);
    host.showStatus(text);
}

}  // namespace velmora::app
