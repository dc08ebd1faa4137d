#pragma once

#include "platform/desktop/desktopnotifier.h"
#include "platform/packages/packageversions.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace kivo::settings {

/// @brief The update setting "do not install, but remind me" (`updateStatus` "1"): once at start
/// and then once a day the package manager is asked, and each new version is told once, in a
/// desktop notification whose click opens the about window. The version told is kept in the
/// run-parameter file (`remindedVersion`). With any other setting it stays quiet.
class UpdateReminder : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 24 * 60 * 60 * 1000;
    static constexpr const char* kRemindedKey = "remindedVersion";

    /// `showAbout` opens the about window (a click on the notification).
    explicit UpdateReminder(std::function<void()> showAbout, QObject* parent = nullptr);
    ~UpdateReminder() override;

    /// Looks now (and again every day).
    void Check();

private:
    void answered(const platform::PackageVersions& versions);

    std::function<void()> showAbout_;
    std::unique_ptr<platform::DesktopNotifier> notifier_;
    QTimer daily_;
};

} // namespace kivo::settings
