#include "autostartcommand.h"

#include "platform/desktop/xdgautostart.h"

#include <filesystem>

namespace kivo::tools {

int runAutostartCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string action;
    std::filesystem::path exe;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--exe" && i + 1 < args.size()) {
            exe = std::filesystem::absolute(args[++i]);
        } else if (action.empty()) {
            action = args[i];
        } else {
            action = "?";
        }
    }
    if (action != "enable" && action != "disable" && action != "status") {
        err << "usage: kivoctl autostart enable|disable|status [--exe PATH]\n";
        return 2;
    }
    // Without --exe, the running executable, as the settings window registers its own.
    const auto autostart = platform::XdgAutostart::ForThisProgram(exe);
    std::string error;
    if (action == "status") {
        if (autostart->isEnabled()) {
            out << "enabled " << autostart->location().string() << '\n';
        } else {
            out << "disabled\n";
        }
        return 0;
    }
    const bool done = action == "enable" ? autostart->enable(error) : autostart->disable(error);
    if (!done) {
        err << "kivoctl: " << error << '\n';
        return 1;
    }
    out << autostart->location().string() << '\n';
    return 0;
}

} // namespace kivo::tools
