#pragma once

namespace kivo::platform {

/// @brief Bits per pixel of the primary screen; 0 without a screen.
int ScreenDepth();

/// @brief Whether top-level windows can be blended by their per-pixel alpha: always under a
/// compositing desktop; on X11 only while a compositing manager runs (without one, translucent
/// windows show their colour bytes opaque).
bool PerPixelAlphaWindows();

} // namespace kivo::platform
