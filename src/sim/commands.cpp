// The printer's command set, and the handlers of the status queries.
#include "sim/commands.h"

#include "sim/hostqueries.h"
#include "sim/images.h"
#include "sim/media.h"
#include "sim/native.h"
#include "sim/native_settings.h"
#include "sim/rfid.h"

namespace velmora::sim {

void addStatusCommands(CommandSet& commands) {
    commands.onLine("^cp",
                    [](Parser& parser, std::string_view) { parser.reply(parser.printer().statusBytes()); });
    commands.onLine("^cu", [](Parser& parser, std::string_view) {
        const auto status = parser.printer().statusBytes();
        parser.reply(std::span(status).first(1));
    });
}

const CommandSet& standardCommands() {
    static const CommandSet commands = [] {
        CommandSet all;
        addStatusCommands(all);
        addZiiCommands(all);
        addNativeCommands(all);
        addNativeSettingCommands(all);
        addImageCommands(all);
        addRfidCommands(all);
        addMediaCommands(all);
        addHostQueryCommands(all);
        return all;
    }();
    return commands;
}

}  // namespace velmora::sim
