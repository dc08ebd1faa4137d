#include "startup/runoptions.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace kivo::startup {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string RunOptions::BuiltInBaseUrl() {
    return KIVO_BASE_URL;
}

std::filesystem::path RunOptions::ExecutableFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        return exe.parent_path();
    }
    const auto here = std::filesystem::current_path(error); // a folder that was removed has none
    return error ? std::filesystem::path(".") : here;
}

std::string RunOptions::Version() {
    return KIVO_VERSION;
}

void RunOptions::placeWritableData(const std::function<std::string(const char*)>& env,
                                   const std::function<bool(const std::filesystem::path&)>& writable) {
    const std::filesystem::path file = appDir / "SysRunParameter.ocx";
    std::error_code error;
    const bool keepHere = std::filesystem::exists(file, error) ? writable(file) : writable(appDir);
    if (keepHere) {
        dataDir = cacheDir = appDir;
        return;
    }
    auto folder = [&](const char* variable, const char* fallback) {
        const std::string set = env(variable);
        // A relative XDG folder is ignored, as desktops do.
        return (!set.empty() && set.front() == '/' ? std::filesystem::path(set)
                                                   : std::filesystem::path(env("HOME")) / fallback) /
               "kivo";
    };
    dataDir = folder("XDG_CONFIG_HOME", ".config");
    cacheDir = folder("XDG_CACHE_HOME", ".cache");
}

RunOptions RunOptions::FromArguments(const std::vector<std::string>& arguments) {
    RunOptions options;
    options.baseUrl = BuiltInBaseUrl();
    options.appDir = ExecutableFolder();
    bool appDirGiven = false;
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
        } else if (arg == "--version") {
            options.version = true;
        } else if (value("--app-dir", options.appDir)) {
            appDirGiven = true;
        } else if (value("--base-url", options.baseUrl) || value("--ca-file", options.caFile) ||
                   value("--proxy", options.proxy)) {
            continue;
        }
    }
    if (appDirGiven) {
        options.dataDir = options.cacheDir = options.appDir;
    } else {
        options.placeWritableData(&EnvironmentValue,
                                  [](const std::filesystem::path& path) { return ::access(path.c_str(), W_OK) == 0; });
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
           "  --ca-file FILE   trust these certificate authorities (PEM) besides the system's\n"
           "  --proxy URL      reach the service through this proxy (http://[user:password@]host:port), or\n"
           "                   \"none\" to go directly\n"
           "  --version        the version\n"
           "  --help           this text\n";
}

} // namespace kivo::startup
