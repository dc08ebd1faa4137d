#pragma once

#include "chrome/form.h"
#include "tray/notifybar.h"

#include <QMenu>

#include <functional>
#include <memory>

namespace kivo::tray {

/// The hidden window that keeps the program alive between windows (tray_form). It owns the
/// notification-area icon and the icon's menu.
class TrayForm : public chrome::Form {
    Q_OBJECT
public:
    TrayForm();
    ~TrayForm() override;

    /// How "版本更新" shows the about window (main.cpp installs it; no owner).
    static void SetShowAbout(std::function<void()> show);

    /// The notification icon; null until the event loop has run once after Load.
    NotifyBar* notifyBar() const { return m_.get(); }
    QMenu* men() const { return men_; }
    /// The number of things waiting for the user: a badge on the icon and a line in its tip.
    void setUnread(int count);
    int unread() const { return unread_; }
    /// Ends the program as the icon menu's "退出" does: the icon first, then every window.
    void Exit();

protected:
    void onLoad() override;
    void onUnload() override;

private:
    void m_NotifyClick(int kind, QPoint position);
    void AddNotifyIcon();
    /// Brings the main window back, or the sign-in window while the main one waits for a new sign-in;
    /// `orSignIn`: the sign-in window also when there is no main window yet.
    void OpenMainWindow(bool orSignIn = false);

    std::unique_ptr<NotifyBar> m_;
    QMenu* men_ = nullptr;
    int unread_ = 0;
    bool desktopShowsMenu_ = false; // the icon's right click brings up men_ by itself
};

/// Brings a loaded window of this name back as a normal, shown window; false when none is loaded.
bool RestoreForm(const QString& name);

/// The unread count on the program's notification icon, when there is one.
void ShowUnread(int count);

/// A balloon over the program's notification icon; false when there is no icon to show it.
bool Announce(const QString& title, const QString& text);

} // namespace kivo::tray
