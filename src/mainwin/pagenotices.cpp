#include "mainwin/pagenotices.h"

#include "chrome/windowhelpers.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QRegularExpression>

Q_LOGGING_CATEGORY(lcNotices, "kivo.mainwin.pagenotices")

namespace kivo::mainwin {

namespace {

// Notifications still open on the desktop that a click can reach; older ones are let go.
constexpr size_t kKeptNotifications = 50;

} // namespace

PageNotices::PageNotices(QWidget* window, platform::Browser& web, const bridge::BridgeOrigins& origins,
                         Balloon balloon)
    : QObject(window), window_(window), balloon_(std::move(balloon)) {
    setObjectName("pageNotices");
    if (platform::DesktopNotifiers()) {
        desktop_ = platform::DesktopNotifiers()();
    }
    if (desktop_) {
        desktop_->clicked = [this](unsigned id) { clickedOn(id); };
    }
    web.setNotifications([origins](const QString& origin) { return origins.allows(origin); },
                         [this](const std::shared_ptr<platform::PageNotification>& notification) { show(notification); });
    web.setTitleChanged([this](const QString& title) { setUnread(arrived_, TitleCount(title)); });
}

PageNotices::~PageNotices() {
    if (desktop_) {
        desktop_->clicked = {};
    }
}

int PageNotices::TitleCount(const QString& title) {
    static const QRegularExpression count(R"(^\s*\((\d{1,9})\))");
    const QRegularExpressionMatch match = count.match(title);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

int PageNotices::unread() const {
    return std::max(arrived_, titled_);
}

void PageNotices::setUnread(int arrived, int titled) {
    const int before = unread();
    arrived_ = arrived;
    titled_ = titled;
    if (unread() != before) {
        emit unreadChanged(unread());
    }
}

void PageNotices::windowSeen() {
    setUnread(0, titled_);
}

bool PageNotices::windowAway() const {
    return !window_ || !window_->isVisible() || window_->isMinimized() || !window_->isActiveWindow();
}

void PageNotices::show(const std::shared_ptr<platform::PageNotification>& notification) {
    const QString tag = notification->tag();
    unsigned replaces = 0;
    if (!tag.isEmpty()) {
        const auto known = tags_.find(tag);
        if (known != tags_.end()) {
            replaces = known->second;
            shown_.erase(replaces);
        }
    }
    QImage icon = notification->icon();
    if (icon.isNull()) {
        icon = chrome::ProgramIcon().pixmap(64).toImage();
    }
    const unsigned id = desktop_ ? desktop_->notify({notification->title(), notification->message(), icon}, replaces) : 0;
    if (id == 0) {
        // No notification service: the balloon over the notification icon says it.
        if (!balloon_ || !balloon_(notification->title(), notification->message())) {
            qCInfo(lcNotices) << "a notification could be shown nowhere";
        }
    } else {
        shown_[id] = notification;
        if (!tag.isEmpty()) {
            tags_[tag] = id;
        }
        while (shown_.size() > kKeptNotifications) {
            shown_.erase(shown_.begin());
        }
        // Closed by the page: closed on the desktop too, unless a later one of its tag took its place.
        notification->closedByPage = [this, id, tag, weak = std::weak_ptr(notification)] {
            const auto it = shown_.find(id);
            if (it == shown_.end() || it->second != weak.lock()) {
                return;
            }
            shown_.erase(it);
            if (desktop_) {
                desktop_->close(id);
            }
            if (const auto named = tags_.find(tag); named != tags_.end() && named->second == id) {
                tags_.erase(named);
            }
        };
    }
    if (windowAway()) {
        setUnread(arrived_ + 1, titled_);
        if (window_ && window_->isVisible() && !window_->isMinimized()) {
            QApplication::alert(window_); // visible but behind others: ask for attention
        }
    }
}

void PageNotices::clickedOn(unsigned id) {
    const auto found = shown_.find(id);
    emit clicked();
    if (found != shown_.end()) {
        const auto notification = found->second;
        shown_.erase(found);
        notification->click();
    }
}

} // namespace kivo::mainwin
