#pragma once

#include "platform/web/browser.h"

namespace kivo::platform {

/// @brief `shown`, for the notifications whose origin `allowed` accepts only. The engine shows
/// every page's notifications through one presenter, whatever the page's permission said, so a
/// page of another site reaches the desktop only if this gate lets it.
Browser::NotificationShown GateNotifications(std::function<bool(const QString& origin)> allowed,
                                             Browser::NotificationShown shown);

} // namespace kivo::platform
