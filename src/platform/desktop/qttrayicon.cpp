#include "platform/desktop/qttrayicon.h"

namespace kivo::platform {

TrayIconFactory& TrayIcons() {
    static TrayIconFactory factory;
    return factory;
}

std::function<bool()>& NotificationAreaAvailable() {
    static std::function<bool()> available = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    return available;
}

QtTrayIcon::QtTrayIcon() {
    QObject::connect(&icon_, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        if (activated) {
            activated(Decode(reason));
        }
    });
}

TrayIcon::Activation QtTrayIcon::Decode(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return Activation::Click;
    case QSystemTrayIcon::DoubleClick:
        return Activation::DoubleClick;
    case QSystemTrayIcon::Context:
        return Activation::Context;
    default:
        return Activation::Other;
    }
}

QSystemTrayIcon::MessageIcon QtTrayIcon::MessageIcon(int infoFlags) {
    switch (infoFlags & 0x3) {
    case 1:
        return QSystemTrayIcon::Information;
    case 2:
        return QSystemTrayIcon::Warning;
    case 3:
        return QSystemTrayIcon::Critical;
    default:
        return QSystemTrayIcon::NoIcon;
    }
}

void QtTrayIcon::add(const Record& record, unsigned flags) {
    modify(record, flags);
    icon_.show();
}

void QtTrayIcon::modify(const Record& record, unsigned flags) {
    if (flags & Icon) {
        icon_.setIcon(record.icon);
    }
    if (flags & Tip) {
        icon_.setToolTip(record.toolTip);
    }
    if (flags & Info) {
        icon_.showMessage(record.infoTitle, record.info, MessageIcon(record.infoFlags));
    }
}

bool QtTrayIcon::setMenu(QMenu* menu) {
    // Panels of StatusNotifierItems show only a menu they are given; the XEmbed tray pops it up too.
    icon_.setContextMenu(menu);
    return true;
}

void QtTrayIcon::remove() {
    icon_.hide();
}

} // namespace kivo::platform
