#pragma once

#include <string>

namespace kivo::startup {

/// Asks the service for the menu configuration newer than `updateTime` and, when it answers with
/// one, caches topMenu, leftMenu and updateTime in the run-parameter file, in that order.
/// Any other answer leaves the cache as it is, silently.
void DownloadConfiguration(const std::string& updateTime);

} // namespace kivo::startup
