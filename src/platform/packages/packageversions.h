#pragma once

#include <QObject>

#include <functional>
#include <string>

namespace kivo::platform {

/// @brief What the system's package manager knows of Kivo's own package.
struct PackageVersions {
    std::string installed; ///< the installed version; empty when the package is not installed
    std::string available; ///< the sources' newest version when newer than the installed one, else empty
    bool companySource = false; ///< the package's own apt source is configured on this machine

    bool operator==(const PackageVersions&) const = default;

    /// The package's own apt source, which it installs when built with one.
    static constexpr const char* kSourceFile = "/etc/apt/sources.list.d/kivo.sources";
    static constexpr const char* kPackage = "kivo";

    /// Reads `apt-cache policy kivo` (in the C locale): its Installed and Candidate lines. Whether
    /// the company's source is configured is for the callers that ask apt to say.
    static PackageVersions FromPolicy(const std::string& policy);
    /// Asks apt now, waiting for its answer (kivoctl). A program that does not run from where the
    /// package installs it (a build folder) is no package's: it knows nothing but its own version,
    /// and apt is not asked.
    static PackageVersions AskNow();
    /// Asks apt without waiting: `answer` is called on the caller's thread, with nothing known when
    /// apt cannot be asked. Never blocks the caller.
    static void Ask(QObject* context, std::function<void(const PackageVersions&)> answer);
    /// How Ask asks; tests put a fake here. Empty: apt-cache.
    using Asker = std::function<void(QObject* context, std::function<void(const PackageVersions&)> answer)>;
    static Asker& Asking();
};

} // namespace kivo::platform
