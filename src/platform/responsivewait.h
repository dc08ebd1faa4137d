#pragma once

#include <functional>

namespace kivo::platform {

/// @brief Runs `work` to its end and returns then, as a plain call would. On the GUI thread of a
/// running application the work runs on a thread of its own while the windows keep painting
/// under a busy cursor; keyboard and mouse input wait until it is over. Anywhere else it runs
/// in place.
void RunResponsively(const std::function<void()>& work);

/// @brief True while RunResponsively waits for some work: a timer that would start more work
/// skips its tick.
bool WorkRunning();

} // namespace kivo::platform
