#pragma once

#include "bridge/bridgeorigins.h"
#include "platform/web/browser.h"
#include "platform/desktop/desktopnotifier.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

namespace kivo::mainwin {

/// The workbench pages' notifications on the desktop, and how many things wait while the
/// window is away: the service's own pages may notify without asking, other origins may not;
/// each notification goes to the desktop's notification service (or, without one, to the
/// balloon over the notification icon); a click on it brings the window back and reaches the page.
class PageNotices : public QObject {
    Q_OBJECT
public:
    using Balloon = std::function<bool(const QString& title, const QString& text)>;
    PageNotices(QWidget* window, platform::Browser& web, const bridge::BridgeOrigins& origins, Balloon balloon);
    ~PageNotices() override;

    /// What waits: the notifications that came while the window was away, or the number the
    /// page's title begins with ("(3) 工作台"), whichever is more.
    int unread() const;
    /// The number in parentheses a title begins with; 0 when it has none.
    static int TitleCount(const QString& title);
    /// The window was shown or activated: what came meanwhile has been seen.
    void windowSeen();

signals:
    void unreadChanged(int count);
    /// The user clicked a notification; the window should come back.
    void clicked();

private:
    void show(const std::shared_ptr<platform::PageNotification>& notification);
    void clickedOn(unsigned id);
    bool windowAway() const;
    void setUnread(int arrived, int titled);

    QPointer<QWidget> window_;
    Balloon balloon_;
    std::unique_ptr<platform::DesktopNotifier> desktop_;
    std::map<unsigned, std::shared_ptr<platform::PageNotification>> shown_; // by the desktop's number
    std::map<QString, unsigned> tags_;
    int arrived_ = 0;
    int titled_ = 0;
};

} // namespace kivo::mainwin
