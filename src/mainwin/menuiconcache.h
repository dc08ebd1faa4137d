#pragma once

#include "platform/net/httpsession.h"

#include <filesystem>
#include <memory>
#include <string>

namespace kivo::mainwin {

/// The local copies of the menu icons: a tree under the application folder that mirrors each
/// icon's path on the service. An icon is downloaded once and read from disk ever after.
class MenuIconCache {
public:
    enum class Outcome { Downloaded, Cached, Empty, Refused, Failed };

    /// How long one icon download may take before the menu is drawn without it.
    static constexpr std::chrono::milliseconds kTimeLimit{3000};

    /// `session` carries the downloads; by default one of its own with the short time limit.
    MenuIconCache(std::filesystem::path appDir, std::string baseUrl,
                  std::shared_ptr<platform::HttpSession> session = {});

    /// The local file of an icon path, downloaded first when there is no copy yet; the empty
    /// text when there is no path, the path is refused or the download failed.
    std::string FetchMenuIcon(const std::string& iconPath);

    /// What the last FetchMenuIcon did.
    Outcome lastOutcome() const { return outcome_; }
    static const char* OutcomeName(Outcome outcome);

private:
    std::string fail(Outcome outcome);

    std::filesystem::path appDir_;
    std::string baseUrl_;
    std::shared_ptr<platform::HttpSession> session_;
    Outcome outcome_ = Outcome::Empty;
};

} // namespace kivo::mainwin
