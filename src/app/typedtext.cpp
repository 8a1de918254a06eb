// The checks on typed text shared by every tool.
#include "app/typedtext.h"

#include "platform/codepage.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "ui/dataexchange.h"

namespace velmora::app {

std::string codePageRefusal(std::string_view utf8) {
    std::size_t lost = 0;
    platform::toCodePage(utf8, &lost);
    return lost == 0 ? std::string() : cannotHoldMessage(lost);
}

std::string cannotHoldMessage(std::size_t count) {
    return ui::fillMessage(resources::LoadString(msg::kCodePageCannotHold), platform::systemCodePage(),
                           std::to_string(count));
}

bool breaksQuotedField(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') return true;
        if (c == '\'') return true;  // not escaped: a backslash pair skips it below
        if (c == '\\') {
            if (i + 1 == text.size()) return true;  // would escape the closing apostrophe
            if (text[i + 1] == '\'' || text[i + 1] == '\\') ++i;
        }
    }
    return false;
}

}  // namespace velmora::app
