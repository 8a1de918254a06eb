// Message boxes from the string table.
#include "app/toolcontext.h"

#include "resources/stringtable.h"

namespace velmora::app {

int ShowMessage(ui::Host& host, int stringId) { return host.message(resources::LoadString(stringId)); }

}  // namespace velmora::app
