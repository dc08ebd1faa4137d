#include "platform/desktop/screencapabilities.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <string>

namespace kivo::platform {

int ScreenDepth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->depth() : 0;
}

bool PerPixelAlphaWindows() {
    // Shadow strips are windows placed beside the window: Wayland gives clients no positions.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return false;
    }
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return true;
    }
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return false;
    }
    // A compositing manager owns the selection _NET_WM_CM_S<screen>.
    const std::string name = "_NET_WM_CM_S0";
    const auto atomCookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str());
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection, atomCookie, nullptr);
    if (atom == nullptr) {
        return false;
    }
    const auto ownerCookie = xcb_get_selection_owner(connection, atom->atom);
    free(atom);
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(connection, ownerCookie, nullptr);
    const bool composited = owner != nullptr && owner->owner != XCB_NONE;
    free(owner);
    return composited;
}

} // namespace kivo::platform
