// kivo-desktop-bus-stub: the desktop's side of the session bus for end-to-end tests. It owns
// org.freedesktop.Notifications (recording Notify and CloseNotification, and emitting
// ActionInvoked on request) and org.kde.StatusNotifierWatcher (a host is present, items
// register), and answers the test on org.kivo.TestDesktop at /test: what was recorded, and the
// registered item's icon pixmaps, menu labels and activation, as a panel would read and use them.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QImage>
#include <QStringList>

#include <cstdio>

namespace {

QStringList& recorded() {
    static QStringList lines;
    return lines;
}

QString& itemService() {
    static QString service;
    return service;
}

class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public slots:
    uint Notify(const QString& appName, uint replaces, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap& hints, int) {
        const uint id = replaces != 0 ? replaces : ++last_;
        recorded() << QString("Notify %1 %2 %3|%4 actions=%5 image=%6")
                          .arg(id)
                          .arg(appName, summary, body, actions.join(','))
                          .arg(hints.contains("image-path") ? "yes" : "no");
        return id;
    }
    void CloseNotification(uint id) { recorded() << QString("CloseNotification %1").arg(id); }
    QStringList GetCapabilities() { return {"actions", "body"}; }

signals:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);

private:
    uint last_ = 0;
};

class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    QStringList items() const { return itemService().isEmpty() ? QStringList() : QStringList{itemService()}; }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        // An item names its bus name, or only its path on the caller's connection.
        itemService() = service.startsWith('/') ? message().service() : service;
        recorded() << "RegisterStatusNotifierItem";
        emit StatusNotifierItemRegistered(itemService());
    }
    void RegisterStatusNotifierHost(const QString&) {}
signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();
};

QDBusMessage itemCall(const QString& path, const QString& interface, const QString& method, const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(itemService(), path, interface, method);
    call.setArguments(args);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

QVariant itemProperty(const QString& name) {
    const QDBusMessage reply = itemCall("/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                                       {"org.kde.StatusNotifierItem", name});
    return reply.arguments().isEmpty() ? QVariant() : reply.arguments().at(0).value<QDBusVariant>().variant();
}

// Labels of a dbusmenu layout, depth first.
void labels(const QDBusArgument& node, QStringList& out) {
    int id = 0;
    QVariantMap properties;
    node.beginStructure();
    node >> id >> properties;
    if (properties.contains("label")) {
        out << properties.value("label").toString();
    }
    node.beginArray();
    while (!node.atEnd()) {
        QDBusVariant child;
        node >> child;
        labels(child.variant().value<QDBusArgument>(), out);
    }
    node.endArray();
    node.endStructure();
}

class Test : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kivo.TestDesktop")
public:
    explicit Test(Notifications* notifications) : notifications_(notifications) {}
public slots:
    QStringList Recorded() { return recorded(); }
    void Invoke(uint id) { emit notifications_->ActionInvoked(id, "default"); }
    QString Item() { return itemService(); }
    // The largest icon pixmap as a PNG file written to `path`; false without one.
    bool ItemIcon(const QString& path) {
        const QDBusArgument pixmaps = itemProperty("IconPixmap").value<QDBusArgument>();
        QImage best;
        pixmaps.beginArray();
        while (!pixmaps.atEnd()) {
            int width = 0, height = 0;
            QByteArray data;
            pixmaps.beginStructure();
            pixmaps >> width >> height >> data;
            pixmaps.endStructure();
            if (width > best.width() && data.size() == width * height * 4) {
                QImage image(width, height, QImage::Format_ARGB32);
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < width; ++x) {
                        const auto* p = reinterpret_cast<const uchar*>(data.constData()) + (y * width + x) * 4;
                        image.setPixel(x, y, qRgba(p[1], p[2], p[3], p[0])); // network order ARGB
                    }
                }
                best = image;
            }
        }
        pixmaps.endArray();
        return !best.isNull() && best.save(path);
    }
    QString ItemToolTip() {
        const QDBusArgument tip = itemProperty("ToolTip").value<QDBusArgument>();
        QString icon, title, text;
        tip.beginStructure();
        tip >> icon;
        tip.beginArray();
        while (!tip.atEnd()) {
            tip.beginStructure();
            int w = 0, h = 0;
            QByteArray data;
            tip >> w >> h >> data;
            tip.endStructure();
        }
        tip.endArray();
        tip >> title >> text;
        tip.endStructure();
        return title;
    }
    QStringList ItemMenu() {
        const QString path = itemProperty("Menu").value<QDBusObjectPath>().path();
        const QDBusMessage reply = itemCall(path, "com.canonical.dbusmenu", "GetLayout", {0, -1, QStringList()});
        QStringList out;
        if (reply.arguments().size() >= 2) {
            labels(reply.arguments().at(1).value<QDBusArgument>(), out);
        }
        return out;
    }
    void ItemActivate() {
        QDBusMessage call = QDBusMessage::createMethodCall(itemService(), "/StatusNotifierItem",
                                                           "org.kde.StatusNotifierItem", "Activate");
        call.setArguments({10, 10});
        QDBusConnection::sessionBus().send(call);
    }

private:
    Notifications* notifications_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    auto* notifications = new Notifications;
    auto* watcher = new Watcher;
    auto* test = new Test(notifications);
    const auto all = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                     QDBusConnection::ExportAllProperties;
    if (!bus.registerObject("/org/freedesktop/Notifications", notifications, all) ||
        !bus.registerObject("/StatusNotifierWatcher", watcher, all) || !bus.registerObject("/test", test, all) ||
        !bus.registerService("org.freedesktop.Notifications") ||
        !bus.registerService("org.kde.StatusNotifierWatcher") || !bus.registerService("org.kivo.TestDesktop")) {
        std::fprintf(stderr, "kivo-desktop-bus-stub: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    return app.exec();
}

#include "desktopbusstub.moc"
