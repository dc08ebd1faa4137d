#include "tray/trayform.h"

#include "chrome/formregistry.h"
#include "chrome/menustyle.h"
#include "chrome/windowhelpers.h"
#include "platform/desktop/urlopener.h"
#include "service/httprequest.h"
#include "startup/firstframe.h"
#include "tray/badgeicon.h"

#include <QApplication>
#include <QTimer>

namespace kivo::tray {

namespace {

std::function<void()>& showAboutFromIcon() {
    static std::function<void()> show;
    return show;
}

} // namespace

bool RestoreForm(const QString& name) {
    chrome::Form* form = chrome::FindForm(name);
    if (form != nullptr) {
        form->BringUp();
    }
    return form != nullptr;
}

bool Announce(const QString& title, const QString& text) {
    auto* tray = qobject_cast<TrayForm*>(chrome::FindForm("tray_form"));
    if (tray == nullptr || tray->notifyBar() == nullptr || !tray->notifyBar()->NotifyBoxVisible() ||
        !platform::NotificationAreaAvailable()()) {
        return false;
    }
    tray->notifyBar()->NotifyMsgBox(text, title, 1);
    return true;
}

void ShowUnread(int count) {
    if (auto* tray = qobject_cast<TrayForm*>(chrome::FindForm("tray_form"))) {
        tray->setUnread(count);
    }
}

void TrayForm::setUnread(int count) {
    unread_ = std::max(0, count);
    if (!m_) {
        return; // the icon, when it comes, takes the count
    }
    m_->setIcon(BadgeIcon(chrome::ProgramIcon(), unread_));
    m_->setToolTipText(unread_ > 0 ? QStringLiteral("VelmoraKivo - %1 条新消息").arg(unread_)
                                   : QStringLiteral("VelmoraKivo"));
}

void TrayForm::SetShowAbout(std::function<void()> show) {
    showAboutFromIcon() = std::move(show);
}

TrayForm::TrayForm() : Form("tray_form", Qt::Tool) {
    setWindowTitle("Kivo");
    men_ = new QMenu(this);
    men_->setObjectName("men");
    chrome::DressMenu(men_);
    // The menu's entries, in their order, and what each does.
    const std::pair<const char*, std::function<void()>> items[] = {
        {"打开主面板", [this] { OpenMainWindow(); }},
        {"版本更新",
         [] {
             if (showAboutFromIcon()) {
                 showAboutFromIcon()();
             }
         }},
        {"关于我们", [] { platform::UrlOpener::open(QString::fromStdString(service::Service().BaseUrl) + "/about/"); }},
        {"退出VelmoraKivo", [this] { Exit(); }},
    };
    for (int i = 0; i < 4; ++i) {
        QAction* action = men_->addAction(items[i].first);
        action->setObjectName(QStringLiteral("menu(%1)").arg(i));
        connect(action, &QAction::triggered, this, items[i].second);
    }
}

TrayForm::~TrayForm() = default;

void TrayForm::onLoad() {
    // The notification icon follows the first window: reading its picture would hold that back.
    startup::FirstFrame::Then(this, [this] { AddNotifyIcon(); });
}

void TrayForm::AddNotifyIcon() {
    if (!isLoaded() || m_) {
        return;
    }
    m_ = std::make_unique<NotifyBar>();
    setUnread(unread_);
    desktopShowsMenu_ = m_->setMenu(men_);
    m_->setNotifyBoxVisible(true);
    connect(m_.get(), &NotifyBar::NotifyClick, this, &TrayForm::m_NotifyClick);
}

void TrayForm::onUnload() {
    m_.reset(); // the icon leaves the notification area
}

void TrayForm::m_NotifyClick(int kind, QPoint position) {
    if (kind == NotifyBar::LB_Click) {
        // The main window when there is one, else the sign-in window when it is still open;
        // start-up never runs a second time.
        OpenMainWindow(true);
    } else if (kind == NotifyBar::RB_Click && !desktopShowsMenu_) {
        men_->popup(position);
    }
}

void TrayForm::OpenMainWindow(bool orSignIn) {
    chrome::Form* home = chrome::FindForm("home");
    if (home != nullptr && home->waitsForSignIn()) {
        RestoreForm("login"); // the service's session ended: the sign-in window is the way back
    } else if (!RestoreForm("home") && orSignIn) {
        RestoreForm("login");
    }
}

void TrayForm::Exit() {
    if (m_) {
        m_->setNotifyBoxVisible(false); // the icon goes before any window unloads
    }
    Unload();
    chrome::UnloadAllForms();
}

} // namespace kivo::tray
