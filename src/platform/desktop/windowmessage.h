#pragma once

#include <cstdint>

namespace kivo::platform {

/// @brief The window message numbers and flags the window code's tables use.
namespace msg {
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr unsigned WM_DISPLAYCHANGE = 0x007E;
inline constexpr unsigned WM_THEMECHANGED = 0x031A;
inline constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr std::uintptr_t SIZE_RESTORED = 0;
inline constexpr std::uintptr_t SIZE_MINIMIZED = 1;
inline constexpr std::uintptr_t SIZE_MAXIMIZED = 2;
inline constexpr unsigned SWP_NOSIZE = 0x0001;
inline constexpr unsigned SWP_NOMOVE = 0x0002;
inline constexpr unsigned SWP_SHOWWINDOW = 0x0040;
inline constexpr unsigned SWP_HIDEWINDOW = 0x0080;
} // namespace msg

/// @brief A window handle: the address of the top-level widget, unique while it lives.
using WindowHandle = std::uintptr_t;

/// @brief The placement record of WM_WINDOWPOSCHANGED, in screen pixels.
struct WindowPos {
    WindowHandle hwnd = 0;
    WindowHandle hwndInsertAfter = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    unsigned flags = 0;
};

/// @brief One message: for WM_WINDOWPOSCHANGED lParam is the address of a WindowPos; for WM_SIZE
/// wParam is the size type and lParam holds the width (low word) and height (high word).
struct WindowMessage {
    WindowHandle hwnd = 0;
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

} // namespace kivo::platform
