#include "settings/updatereminder.h"

#include "chrome/windowhelpers.h"
#include "startup/runparameters.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcReminder, "kivo.settings.updatereminder")

namespace kivo::settings {

UpdateReminder::UpdateReminder(std::function<void()> showAbout, QObject* parent)
    : QObject(parent), showAbout_(std::move(showAbout)) {
    daily_.setParent(this);
    daily_.setObjectName("updateCheck");
    daily_.setInterval(kIntervalMs);
    connect(&daily_, &QTimer::timeout, this, &UpdateReminder::Check);
}

UpdateReminder::~UpdateReminder() = default;

void UpdateReminder::Check() {
    daily_.start();
    if (startup::State().updateStatus != "1") {
        return; // installed with the system's updates, or not at all: nothing to remind of
    }
    platform::PackageVersions::Ask(this, [this](const platform::PackageVersions& versions) { answered(versions); });
}

void UpdateReminder::answered(const platform::PackageVersions& versions) {
    const auto file = startup::RunParameterFile();
    if (versions.available.empty() ||
        startup::ReadIniValue(file, startup::kRunParameterSection, kRemindedKey) == versions.available) {
        return;
    }
    if (!notifier_ && platform::DesktopNotifiers()) {
        notifier_ = platform::DesktopNotifiers()();
        if (notifier_) {
            notifier_->clicked = [this](unsigned) {
                if (showAbout_) {
                    showAbout_();
                }
            };
        }
    }
    const QString next = "V" + QString::fromStdString(versions.available);
    const QImage icon = chrome::ProgramIcon().pixmap(64).toImage();
    if (!notifier_ || notifier_->notify({"VelmoraKivo 有新版本", "新版本 " + next + " 已发布，点击查看。", icon}, 0) == 0) {
        qCInfo(lcReminder) << "a new version" << next << "is out; no notification service to say so";
        return; // told the next time, where one answers
    }
    qCInfo(lcReminder) << "the user is told of version" << next;
    startup::WriteIniValue(file, startup::kRunParameterSection, kRemindedKey, versions.available);
}

} // namespace kivo::settings
