#pragma once

namespace kivo::platform {

/// @brief Whether a screen reader runs: the accessibility bus says so (org.a11y.Status's
/// ScreenReaderEnabled on the session bus), or QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set. Asks
/// without starting the accessibility bus when it is not running.
bool ScreenReaderRunning();

/// @brief Before the browser engine starts: when a screen reader runs, the engine builds the
/// pages' accessible tree (its renderer accessibility), which it does not by itself; nothing
/// otherwise, so that a desktop without one pays nothing. A screen reader that starts later is
/// followed and logged; the engine takes it at the next start.
void PrepareEngineForScreenReader();

} // namespace kivo::platform
