#pragma once

#include <QIcon>
#include <QMenu>
#include <QString>

#include <functional>
#include <memory>

namespace kivo::platform {

/// @brief One icon in the desktop's notification area, driven as the shell's icon record is:
/// an add shows everything the record holds, a modify changes the parts its flags name, a
/// remove takes the icon away.
class TrayIcon {
public:
    /// @brief The record's parts that a modify changes.
    enum Flag : unsigned { Message = 0x1, Icon = 0x2, Tip = 0x4, Info = 0x10 };
    /// @brief How the user acted on the icon.
    enum class Activation { Click, DoubleClick, Context, Other };

    struct Record {
        QIcon icon;
        QString toolTip;
        QString infoTitle;
        QString info;
        int infoFlags = 0; // 0 none, 1 information, 2 warning, 3 error
    };

    virtual ~TrayIcon() = default;
    virtual void add(const Record& record, unsigned flags) = 0;
    virtual void modify(const Record& record, unsigned flags) = 0;
    virtual void remove() = 0;
    /// @brief Gives the desktop the icon's menu to show by itself on a right click (where it
    /// shows menus of its own, as StatusNotifierItem panels do); false when the owner pops it up.
    virtual bool setMenu(QMenu* menu) {
        (void)menu;
        return false;
    }

    /// @brief Set by the icon's owner; called on every activation.
    std::function<void(Activation)> activated;
};

/// @brief Makes the notification-area icon: the desktop's in the program, a fake in tests; when
/// unset, the owner keeps its record without an icon.
using TrayIconFactory = std::function<std::unique_ptr<TrayIcon>()>;
TrayIconFactory& TrayIcons();

/// @brief Whether the desktop has a notification area right now (tests put an answer here).
std::function<bool()>& NotificationAreaAvailable();

} // namespace kivo::platform
