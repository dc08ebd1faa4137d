#pragma once

#include "platform/net/httpsession.h"
#include "service/json/jsonvalue.h"
#include "startup/runoptions.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kivo::startup {

inline constexpr const char* kRunParameterSection = "SysRunParameter";
inline constexpr const char* kRunParameterFileName = "SysRunParameter.ocx";

/// The process-wide state of a run, besides the service connection (service::Service()):
/// in-memory copies of the run parameters and the signed-in user's data.
struct ProcessState {
    RunOptions options;
    platform::HttpNetwork network; // NetworkSetup::ForThisRun
    std::string Powerboot;
    std::string stick;
    std::string endStatus;
    std::string updateStatus;
    json::JsonValue UserData = json::JsonValue::nothing();
};

ProcessState& State();

/// The run-parameter file: in the application folder, or in the user's configuration folder when
/// that is not writable (RunOptions::placeWritableData).
std::filesystem::path RunParameterFile();

/// A value of the INI file, trimmed; empty when the file, section or key is missing.
std::string ReadIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key);

/// Writes a value, whole; nonzero on success.
std::int16_t WriteIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key,
                           std::string_view value);

/// Creates the HTTP client (unless one is already set), reads the run parameters, sets the base
/// address and downloads the menu configuration with the cached stamp ("0" when none): in place,
/// or `inBackground` (StartConfigurationDownload) so that the first window need not wait for it.
void LoadRunParameters(bool inBackground = false);

} // namespace kivo::startup
