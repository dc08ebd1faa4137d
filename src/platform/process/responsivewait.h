#pragma once

#include <chrono>
#include <functional>

namespace kivo::platform {

/// @brief Calls `start` with a `finished` callable and waits until that is called (from any
/// thread, even after the wait ended) or `limit` has passed (zero: no limit); true when finished.
/// Meanwhile a local event loop keeps the windows painting under a busy cursor; keyboard and
/// mouse input wait for its end, and so does every deletion asked for meanwhile. Only on the GUI
/// thread of a running application.
bool WaitResponsively(const std::function<void(std::function<void()> finished)>& start,
                      std::chrono::milliseconds limit = {});

/// @brief Runs `work` to its end and returns then, as a plain call would. On the GUI thread of a
/// running application the work runs on a thread of its own while WaitResponsively waits for it;
/// anywhere else it runs in place. An exception of the work reaches the caller.
void RunResponsively(const std::function<void()>& work);

/// @brief True while something waits responsively: a timer that would start more work skips
/// its tick.
bool WorkRunning();

} // namespace kivo::platform
