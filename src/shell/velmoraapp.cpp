// Start-up and end of the program.
#include "shell/velmoraapp.h"

#include <string_view>

#include "app/menumode.h"
#include "app/modelcatalog.h"
#include "platform/files.h"

namespace velmora::shell {

namespace {

constexpr std::string_view kMenuModeOption = "--menu-mode";

bool parseMenuMode(const std::string& text, int& mode) {
    if (text != "0" && text != "1") return false;
    mode = text == "1" ? 1 : 0;
    return true;
}

}  // namespace

std::optional<StartupOptions> parseStartupOptions(std::vector<std::string>& args, std::string& error) {
    StartupOptions options;
    std::vector<std::string> rest;
    rest.reserve(args.size());
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") break;
        std::string value;
        if (arg == kMenuModeOption) {
            if (i + 1 >= args.size()) {
                error = "--menu-mode needs a value: 0 (native menus) or 1 (ZII menus)";
                return std::nullopt;
            }
            value = args[++i];
        } else if (arg.starts_with(std::string(kMenuModeOption) + "=")) {
            value = arg.substr(kMenuModeOption.size() + 1);
        } else {
            rest.push_back(arg);
            continue;
        }
        if (!parseMenuMode(value, options.menuMode)) {
            error = "--menu-mode takes 0 (native menus) or 1 (ZII menus), not \"" + value + "\"";
            return std::nullopt;
        }
    }
    rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    args = std::move(rest);
    return options;
}

std::string startupOptionsUsage() {
    return "  --menu-mode 0|1   menus and setting pages: 0 native, 1 ZII (default 1)\n";
}

// Of the Windows start-up steps only these remain: common controls, control containment and
// the profile registry key have no counterpart here, and sockets need no start-up on Linux, so
// the "sockets initialisation failed" end (message 103) cannot happen.
bool CVelmoraApp::InitInstance(std::vector<std::string>& args, std::string& error) {
    const std::optional<StartupOptions> parsed = parseStartupOptions(args, error);
    if (!parsed) return false;
    options_ = *parsed;
    app::MenuMode = options_.menuMode;
    app::LoadModelCatalog(catalogDirectory_ ? *catalogDirectory_ : platform::currentDirectory());
    return true;
}

void CVelmoraApp::ExitInstance() { app::FreeModelCatalog(); }

int CVelmoraApp::Run(std::vector<std::string>& args, const MainDialogRun& runMainDialog, std::string& error) {
    if (!InitInstance(args, error)) return kExitUsage;
    // The catalog is emptied however the dialog ends, an escaping exception included.
    struct EndGuard {
        CVelmoraApp& app;
        ~EndGuard() { app.ExitInstance(); }
    } guard{*this};
    return runMainDialog ? runMainDialog() : 0;
}

}  // namespace velmora::shell
