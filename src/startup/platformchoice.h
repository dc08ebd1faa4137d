#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace kivo::startup {

/// @brief The window system to run on, chosen before the application object exists.
struct PlatformChoice {
    QString platform; // for QT_QPA_PLATFORM; empty: Qt's own choice
    QString why;      // for the log; empty when there is nothing to say
};

/// @brief The windows place themselves and their shadow strips at screen positions, which
/// Wayland does not give to clients: in a Wayland session with an X display (XWayland) Kivo runs
/// on X11. A platform the user chose (QT_QPA_PLATFORM) stands; a Wayland session without X
/// runs on Wayland, without shadows.
PlatformChoice ChoosePlatform(const QProcessEnvironment& environment);

} // namespace kivo::startup
