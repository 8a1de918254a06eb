// The application object: start-up options, the menu mode, the model catalog, and the run of
// the main dialog. The window program hands it its arguments and a function that runs the main
// dialog, so this class depends on no dialog and no toolkit.
//
//     std::vector<std::string> args(argv + 1, argv + argc);
//     shell::CVelmoraApp velmoraApp;
//     std::string error;
//     const int status = velmoraApp.Run(args, [&] { /* args: the other options */ ... }, error);
//     if (!error.empty()) std::cerr << error << '\n' << shell::startupOptionsUsage();
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::shell {

// Exit status for a command line the program does not accept.
constexpr int kExitUsage = 2;

struct StartupOptions {
    int menuMode = 1;  // 0 native menus, 1 ZII menus
};

// Takes the start-up options out of `args` ("--menu-mode 0|1" or "--menu-mode=0|1"; a repeated
// option's last value wins) and leaves every other argument, in order, for the caller. Parsing
// stops at "--", which stays in `args` with everything after it. On a bad option gives nothing
// and says why in `error`; `args` is then left as it was.
std::optional<StartupOptions> parseStartupOptions(std::vector<std::string>& args, std::string& error);

// Lines for the program's usage text that describe the start-up options.
std::string startupOptionsUsage();

class CVelmoraApp {
public:
    // Returns the process exit status (0 for a normal end).
    using MainDialogRun = std::function<int()>;

    // The catalog file is looked for in the working directory at start-up.
    CVelmoraApp() = default;
    // The catalog file is looked for in `catalogDirectory` instead.
    explicit CVelmoraApp(std::string catalogDirectory) : catalogDirectory_(std::move(catalogDirectory)) {}

    // Start-up: takes the start-up options out of `args`, fixes app::MenuMode and loads the model
    // catalog. False on a bad option (`error` says which); nothing is changed then.
    bool InitInstance(std::vector<std::string>& args, std::string& error);
    // Empties the model catalog.
    void ExitInstance();

    // InitInstance, the main dialog, ExitInstance. Returns the dialog's exit status, or
    // kExitUsage (with `error` set) when the options are bad and no dialog was run.
    int Run(std::vector<std::string>& args, const MainDialogRun& runMainDialog, std::string& error);

    const StartupOptions& options() const { return options_; }

private:
    std::optional<std::string> catalogDirectory_;
    StartupOptions options_;
};

}  // namespace velmora::shell
