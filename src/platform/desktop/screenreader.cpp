#include "platform/desktop/screenreader.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcReader, "kivo.platform.screenreader")

namespace kivo::platform {

namespace {

constexpr const char* kBusService = "org.a11y.Bus";
constexpr const char* kBusPath = "/org/a11y/bus";
constexpr const char* kStatus = "org.a11y.Status";
constexpr const char* kRendererAccessibility = "--force-renderer-accessibility";
constexpr const char* kNoRendererAccessibility = "--disable-renderer-accessibility";

void addEngineFlag(const char* flag) {
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains(flag)) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + ' ' + flag).trimmed());
    }
}

// Follows the accessibility bus's flag while the program runs.
class StatusWatcher : public QObject {
    Q_OBJECT
public slots:
    void changed(const QString& interface, const QVariantMap& properties, const QStringList&) {
        if (interface == kStatus && properties.value("ScreenReaderEnabled").toBool()) {
            qCInfo(lcReader) << "a screen reader started; the workbench pages are readable from the next start";
        }
    }
};

} // namespace

bool ScreenReaderRunning() {
    if (!qEnvironmentVariableIsEmpty("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) {
        return true;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(kBusService, kBusPath, "org.freedesktop.DBus.Properties", "Get");
    get.setArguments({QString(kStatus), QString("ScreenReaderEnabled")});
    get.setAutoStartService(false); // no accessibility bus is started for the question
    const QDBusMessage reply = bus.call(get, QDBus::Block, 1000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().at(0).value<QDBusVariant>().variant().toBool();
}

void PrepareEngineForScreenReader() {
    if (ScreenReaderRunning()) {
        addEngineFlag(kRendererAccessibility);
        qCInfo(lcReader) << "a screen reader runs: the pages' accessible tree is built";
        return;
    }
    // Newer engines (Qt 6.8) build the tree as soon as anything asks Qt for its accessible
    // widgets, a desktop's own helpers included: it costs memory and time on every page.
    addEngineFlag(kNoRendererAccessibility);
    if (QCoreApplication::instance() != nullptr && QDBusConnection::sessionBus().isConnected()) {
        auto* watcher = new StatusWatcher;
        watcher->setParent(QCoreApplication::instance());
        QDBusConnection::sessionBus().connect(kBusService, kBusPath, "org.freedesktop.DBus.Properties",
                                              "PropertiesChanged", watcher,
                                              SLOT(changed(QString, QVariantMap, QStringList)));
    }
}

} // namespace kivo::platform

#include "screenreader.moc"
