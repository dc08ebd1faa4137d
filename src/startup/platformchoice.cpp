#include "startup/platformchoice.h"

namespace kivo::startup {

PlatformChoice ChoosePlatform(const QProcessEnvironment& environment) {
    if (!environment.value("QT_QPA_PLATFORM").isEmpty()) {
        return {};
    }
    if (environment.value("WAYLAND_DISPLAY").isEmpty()) {
        return {};
    }
    if (!environment.value("DISPLAY").isEmpty()) {
        return {"xcb", "a Wayland session with XWayland: running on X11 for window positions and shadows"};
    }
    return {{}, "a Wayland session without an X display: windows have no shadows and the desktop places them"};
}

} // namespace kivo::startup
