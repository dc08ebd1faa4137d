#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kivo::startup {

/// A variable of the process environment; empty when it is not set.
std::string EnvironmentValue(const char* name);

/// How this run was started: the service address (built in, or --base-url for development and
/// tests) and the application folder (the executable's, or --app-dir).
struct RunOptions {
    std::string baseUrl;
    std::filesystem::path appDir;
    /// Where the run-parameter file and the menu icon cache go; empty: the application folder.
    std::filesystem::path dataDir;
    std::filesystem::path cacheDir;
    /// --ca-file; empty: none named here (NetworkSetup looks further).
    std::string caFile;
    /// --proxy: a proxy address or "none"; empty when not given.
    std::string proxy;
    bool help = false;
    bool version = false;
    std::string error; // set when the arguments could not be read

    /// Reads the arguments after the program name; unknown ones are left for others to read.
    static RunOptions FromArguments(const std::vector<std::string>& arguments);
    static std::string Usage();
    static std::string BuiltInBaseUrl();
    static std::filesystem::path ExecutableFolder();
    static std::string Version();

    /// Without --app-dir: the application folder while it is writable (or holds a writable
    /// run-parameter file already), else $XDG_CONFIG_HOME/kivo and $XDG_CACHE_HOME/kivo (by
    /// default ~/.config/kivo and ~/.cache/kivo). `env` reads the environment, `writable` says
    /// whether this process may write a file or folder.
    void placeWritableData(const std::function<std::string(const char*)>& env,
                           const std::function<bool(const std::filesystem::path&)>& writable);
    std::filesystem::path dataFolder() const { return dataDir.empty() ? appDir : dataDir; }
    std::filesystem::path cacheFolder() const { return cacheDir.empty() ? appDir : cacheDir; }
};

} // namespace kivo::startup
