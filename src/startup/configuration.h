#pragma once

#include <functional>
#include <string>

namespace kivo::startup {

/// Asks the service for the menu configuration newer than `updateTime` and, when it answers with
/// one, caches topMenu, leftMenu and updateTime in the run-parameter file, in that order.
/// Any other answer leaves the cache as it is, silently.
void DownloadConfiguration(const std::string& updateTime);

/// DownloadConfiguration on a thread of its own, so that no window waits for the service.
void StartConfigurationDownload(const std::string& updateTime);

/// Runs `step` on the GUI thread once the download has ended (at once when none runs).
void WhenConfigurationDownloaded(std::function<void()> step);

/// Returns once the download has ended; the windows keep painting meanwhile.
void AwaitConfiguration();

} // namespace kivo::startup
