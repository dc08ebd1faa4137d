#include "platform/web/notificationgate.h"

#include <utility>

namespace kivo::platform {

Browser::NotificationShown GateNotifications(std::function<bool(const QString& origin)> allowed,
                                             Browser::NotificationShown shown) {
    return [allowed = std::move(allowed), shown = std::move(shown)](const std::shared_ptr<PageNotification>& notification) {
        if (notification && allowed && allowed(notification->origin()) && shown) {
            shown(notification);
        }
    };
}

} // namespace kivo::platform
