#include "startup/runoptions.h"

#include <system_error>

namespace kivo::startup {

std::string RunOptions::BuiltInBaseUrl() {
    return KIVO_BASE_URL;
}

std::filesystem::path RunOptions::ExecutableFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : exe.parent_path();
}

RunOptions RunOptions::FromArguments(const std::vector<std::string>& arguments) {
    RunOptions options;
    options.baseUrl = BuiltInBaseUrl();
    options.appDir = ExecutableFolder();
    options.caFile = KIVO_CA_FILE;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&](const std::string& name, auto& target) {
            if (arg == name) {
                if (i + 1 >= arguments.size()) {
                    options.error = name + " needs a value";
                    return true;
                }
                target = arguments[++i];
                return true;
            }
            if (arg.rfind(name + "=", 0) == 0) {
                target = arg.substr(name.size() + 1);
                return true;
            }
            return false;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (value("--base-url", options.baseUrl) || value("--app-dir", options.appDir) ||
                   value("--ca-file", options.caFile)) {
            continue;
        }
    }
    // Paths are appended to the base address, which therefore carries no final "/".
    while (!options.baseUrl.empty() && options.baseUrl.back() == '/') {
        options.baseUrl.pop_back();
    }
    return options;
}

std::string RunOptions::Usage() {
    return "  --base-url URL   the service address (built in: " + BuiltInBaseUrl() +
           ")\n"
           "  --app-dir DIR    the application folder holding SysRunParameter.ocx (default: the executable's)\n"
           "  --ca-file FILE   verify the service against these certificate authorities instead of the system's\n"
           "  --help           this text\n";
}

} // namespace kivo::startup
