#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kivo::startup {

/// How this run was started: the service address (built in, or --base-url for development and
/// tests) and the application folder (the executable's, or --app-dir).
struct RunOptions {
    std::string baseUrl;
    std::filesystem::path appDir;
    std::string caFile;
    bool help = false;
    std::string error; // set when the arguments could not be read

    /// Reads the arguments after the program name; unknown ones are left for others to read.
    static RunOptions FromArguments(const std::vector<std::string>& arguments);
    static std::string Usage();
    static std::string BuiltInBaseUrl();
    static std::filesystem::path ExecutableFolder();
};

} // namespace kivo::startup
