// Message boxes from the string table.
#include "app/toolcontext.h"

#include "resources/stringtable.h"

namespace velmora::app {

int ShowMessage(ui::Host& host, int stringId) { return host.message(resources::LoadString(stringId)); }

std::string FilledString(int stringId, std::initializer_list<std::string> args) {
    std::string out = resources::LoadString(stringId);
    std::size_t at = 0;
    for (const std::string& arg : args) {
        at = out.find("%s", at);
        if (at == std::string::npos) break;
        out.replace(at, 2, arg);
        at += arg.size();
    }
    return out;
}

void ShowStatus(ui::Host& host, int stringId, const std::string& arg) {
    host.showStatus(FilledString(stringId, {arg}));
}

}  // namespace velmora::app
