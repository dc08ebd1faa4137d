#pragma once

#include "platform/net/httpsession.h"
#include "startup/runoptions.h"

#include <filesystem>
#include <functional>
#include <string>

namespace kivo::startup {

/// The run-parameter file's section an administrator may add for a company network: CaFile (a PEM
/// file of authorities trusted besides the system's) and Proxy (as --proxy).
inline constexpr const char* kNetworkSection = "Network";

/// @brief Whom the service's two clients trust and how they reach it, chosen once for the run, and
/// which setting decided each.
struct NetworkSetup {
    platform::HttpNetwork network;
    std::string trustFrom; // empty: the system's authorities only
    std::string proxyFrom;

    /// @brief The authority file of --ca-file, else $KIVO_CA_FILE, else the run parameters' CaFile, else
    /// the build's; the proxy of --proxy, else the run parameters' Proxy, else the environment's and
    /// the desktop's for the service's address (platform::ChooseProxy).
    static NetworkSetup Choose(const RunOptions& options, const std::filesystem::path& runParameterFile,
                               const std::function<std::string(const char*)>& env = &EnvironmentValue);

    /// @brief Chooses for the run (State().options, the process environment and the desktop), keeps
    /// the choice for the service client and gives it to the browser engine, which must not have started.
    static NetworkSetup ForThisRun();

    /// "proxy http://host:port (from https_proxy)" or "proxy none (from --proxy)"; never a password.
    std::string proxyLine() const;
    /// "trust system" or "trust system + FILE (from --ca-file)".
    std::string trustLine() const;
};

} // namespace kivo::startup
