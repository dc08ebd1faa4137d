// Notifications through org.freedesktop.Notifications on the session bus.
#include "platform/desktop/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

Q_LOGGING_CATEGORY(lcNotify, "kivo.platform.freedesktopnotifier")

namespace kivo::platform {

DesktopNotifierFactory& DesktopNotifiers() {
    static DesktopNotifierFactory factory;
    return factory;
}

namespace {

class FreedesktopNotifier : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    explicit FreedesktopNotifier(const QString& appName)
        : appName_(appName), bus_("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                  "org.freedesktop.Notifications", QDBusConnection::sessionBus()) {
        bus_.setTimeout(2000); // a service that hangs must not hold the window up
        QDBusConnection::sessionBus().connect("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                              "org.freedesktop.Notifications", "ActionInvoked", this,
                                              SLOT(actionInvoked(uint, QString)));
    }

    unsigned notify(const Notice& notice, unsigned replaces) override {
        QVariantMap hints;
        const QString picture = pictureFile(notice.icon);
        if (!picture.isEmpty()) {
            hints["image-path"] = QUrl::fromLocalFile(picture).toString();
        }
        hints["desktop-entry"] = "kivo";
        const QDBusReply<uint> reply = bus_.call("Notify", appName_, replaces, QString("kivo"), notice.title,
                                                 notice.body.toHtmlEscaped(), QStringList{"default", "打开"}, hints, -1);
        if (!reply.isValid()) {
            qCInfo(lcNotify).noquote() << "no notification service answered:" << reply.error().message();
            return 0;
        }
        return reply.value();
    }

    void close(unsigned id) override { bus_.asyncCall("CloseNotification", id); }

public slots:
    void actionInvoked(uint id, const QString& action) {
        if (action == "default" && clicked) {
            clicked(id);
        }
    }

private:
    // The service reads a picture from a file; one file, rewritten for each notification.
    QString pictureFile(const QImage& icon) {
        if (icon.isNull()) {
            return {};
        }
        if (!file_) {
            QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
            if (folder.isEmpty()) {
                folder = QDir::tempPath();
            }
            file_ = std::make_unique<QTemporaryFile>(folder + "/kivo-notification-XXXXXX.png");
            if (!file_->open()) {
                file_.reset();
                return {};
            }
            file_->close();
        }
        return icon.save(file_->fileName(), "PNG") ? file_->fileName() : QString();
    }

    QString appName_;
    QDBusInterface bus_;
    std::unique_ptr<QTemporaryFile> file_;
};

} // namespace

std::unique_ptr<DesktopNotifier> MakeFreedesktopNotifier(const QString& appName) {
    return std::make_unique<FreedesktopNotifier>(appName);
}

} // namespace kivo::platform

#include "freedesktopnotifier.moc"
