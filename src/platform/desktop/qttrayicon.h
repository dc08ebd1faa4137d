#pragma once

#include "platform/desktop/trayicon.h"

#include <QSystemTrayIcon>

namespace kivo::platform {

/// @brief The TrayIcon over QSystemTrayIcon: a StatusNotifierItem where the desktop runs a
/// watcher, an XEmbed tray icon otherwise; Qt docks it again when the tray host comes back.
class QtTrayIcon : public TrayIcon {
public:
    QtTrayIcon();

    void add(const Record& record, unsigned flags) override;
    void modify(const Record& record, unsigned flags) override;
    void remove() override;
    bool setMenu(QMenu* menu) override;

    static QSystemTrayIcon::MessageIcon MessageIcon(int infoFlags);
    static Activation Decode(QSystemTrayIcon::ActivationReason reason);

private:
    QSystemTrayIcon icon_;
};

} // namespace kivo::platform
