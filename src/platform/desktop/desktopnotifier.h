#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace kivo::platform {

/// @brief The desktop's notifications: a bubble with a title, a text and a picture that the
/// user can click.
class DesktopNotifier {
public:
    struct Notice {
        QString title;
        QString body;
        QImage icon;
    };
    virtual ~DesktopNotifier() = default;
    /// @brief Shows `notice`, in the place of notification `replaces` when that is not 0. The
    /// notification's number, or 0 when no notification service answered.
    virtual unsigned notify(const Notice& notice, unsigned replaces) = 0;
    virtual void close(unsigned id) = 0;
    /// @brief Set by the owner: the user clicked notification `id`.
    std::function<void(unsigned id)> clicked;
};

using DesktopNotifierFactory = std::function<std::unique_ptr<DesktopNotifier>()>;
/// @brief Makes the notifier: the session bus's notification service in the program, a fake in
/// tests; when unset there is none.
DesktopNotifierFactory& DesktopNotifiers();

/// @brief The freedesktop notification service on the session bus, under the application name `appName`.
std::unique_ptr<DesktopNotifier> MakeFreedesktopNotifier(const QString& appName);

} // namespace kivo::platform
