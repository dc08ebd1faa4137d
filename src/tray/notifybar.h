#pragma once

#include "platform/desktop/trayicon.h"

#include <QObject>
#include <QPoint>

#include <memory>

namespace kivo::tray {

/// The program's one notification-area icon. It keeps the icon's record (icon, tooltip,
/// callback message, balloon) and which parts the next add or modify carries, adds the icon
/// again when the tray host comes back, and reports clicks as NotifyClick kinds.
class NotifyBar : public QObject {
    Q_OBJECT
public:
    /// Click kinds of NotifyClick.
    enum Kind { MouseMove = 0, DoubleClick = 1, LB_Click = 2, RB_Click = 3 };
    static constexpr int kDefaultCallBackMessage = 11122;
    /// The tooltip holds at most this many bytes of UTF-8 (the record's 128 with its terminator).
    static constexpr int kTipBytes = 127;

    explicit NotifyBar(QObject* parent = nullptr);
    ~NotifyBar() override;

    const QIcon& Icon() const { return record_.icon; }
    void setIcon(const QIcon& icon);
    int CallBackMessage() const { return callBackMessage_; }
    void setCallBackMessage(int message);
    const QString& ToolTipText() const { return record_.toolTip; }
    /// Trimmed, and cut at a character boundary to what the record holds.
    void setToolTipText(const QString& text);
    bool NotifyBoxVisible() const { return shown_; }
    void setNotifyBoxVisible(bool visible);
    /// A balloon over the icon; `icon` is the record's info kind (0 none, 1 info, 2 warning, 3 error).
    void NotifyMsgBox(const QString& message, const QString& title, int icon);
    /// The icon's menu, for desktops that show it themselves; false when the owner must pop it up.
    bool setMenu(QMenu* menu) { return icon_ && icon_->setMenu(menu); }

    /// The tray host came back: a shown icon is added again with everything it had.
    void TaskbarCreated();
    /// The parts the next add or modify carries.
    unsigned flags() const { return flags_; }

signals:
    void NotifyClick(int kind, QPoint position);

private:
    void change(unsigned flag);
    void activated(platform::TrayIcon::Activation activation);

    std::unique_ptr<platform::TrayIcon> icon_;
    platform::TrayIcon::Record record_;
    int callBackMessage_ = kDefaultCallBackMessage;
    unsigned flags_ = 0;
    bool shown_ = false;
};

} // namespace kivo::tray
