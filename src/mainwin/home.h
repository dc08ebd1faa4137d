#pragma once

#include "bridge/hyperapp.h"
#include "chrome/ashadow.h"
#include "chrome/clicklabel.h"
#include "chrome/failurepanel.h"
#include "chrome/form.h"
#include "chrome/imagecontrol.h"
#include "chrome/loadingoverlay.h"
#include "chrome/picturebox.h"
#include "chrome/resizeframe.h"
#include "mainwin/menubars.h"
#include "mainwin/menuiconcache.h"
#include "mainwin/menumodel.h"
#include "platform/web/browser.h"
#include "service/json/jsonvalue.h"

#include <QLabel>
#include <QPointer>
#include <QScreen>

#include <functional>
#include <memory>
#include <string>

class QTimer;

namespace kivo::mainwin {

class DownloadStrip;
class PageNotices;
class PageControls;

/// The main window: the frame around the workbench pages, with the profile panel in its header,
/// the loading overlay over the browser, and the logout when the program ends.
class home : public chrome::Form {
    Q_OBJECT
public:
    /// The program's one main window, created (and loaded) when it does not exist yet.
    static home* Instance();
    /// The window if it exists, without creating it.
    static home* Existing();

    /// How the window shows a message box (tests put a recorder here).
    static void SetMessageBox(std::function<void(const QString&)> show);
    /// How the page command "sys" shows the settings window, owned by this window.
    static void SetShowSettings(std::function<void(QWidget* owner)> show);
    /// How the menu button pops up the drop-down menu, at a screen position.
    static void SetShowMainMenu(std::function<void(const QPoint& position)> show);
    /// How a finished download is announced (a balloon over the notification icon); false when
    /// it could not be, and the download strip alone says it.
    static void SetAnnounce(std::function<bool(const QString& title, const QString& text)> announce);
    /// The screen a new main window opens on when it has no usable place of its own (the one that
    /// held the sign-in window).
    static void SetFallbackScreen(QScreen* screen);
    /// Where the number of things waiting for the user goes (the notification icon's badge).
    static void SetUnreadCount(std::function<void(int count)> show);
    /// How the sign-in window opens again, with `message`, when the service's session is over.
    static void SetSignInAgain(std::function<void(const QString& message)> open);

    ~home() override;

    /// A command from page script (MyCMD.CMD): Action and its argument A; B to E are unused.
    void CMD(const std::u16string& Action, const std::u16string& A, const std::u16string& B = {},
             const std::u16string& C = {}, const std::u16string& D = {}, const std::u16string& E = {});
    void LayoutWindow();
    void ShowLoadingOverlay();

    // Window state; the menu fields live in the menu model.
    json::JsonValue topMenuItems;
    json::JsonValue leftMenuItems;
    MenuModel& menus() { return menus_; }

    bridge::HyperApp* bridge() const { return bridge_.get(); }

    /// What a sign-in on `screen` opens: the main window, made when it does not exist yet, taken up
    /// again after an ended session (ComeBack), and shown.
    static void ShowAfterSignIn(QScreen* screen);
    /// After a sign-in: when the session had ended, the window takes up the (new) user's profile
    /// and opens the page that was open again; otherwise nothing.
    void ComeBack();
    /// The sign-in window's message when the session has ended.
    static constexpr const char* kSessionEndedMessage = "登录已过期，请重新登录";
    /// The run parameters' section and key that list the service's sign-in pages (paths, comma
    /// separated): the main window arriving on one means the session is over.
    static constexpr const char* kSessionSection = "Session";
    static constexpr const char* kSignInPathsKey = "SignInPaths";

    /// The window's normal place and whether it is maximised, into the run-parameter file.
    void RememberPlace();
    /// How long after a move or resize the place is written (at most once in that time).
    static constexpr int kPlaceWriteDelayMs = 1000;
    /// How long a page that has loaded may stay covered waiting for its "loading" command: pages
    /// that never send it (a sign-in page, another site, a proxy's error page) show after it.
    static constexpr int kLoadingGraceMs = 8000;

protected:
    home();
    void onLoad() override;
    void onUnload() override;
    void onCloseRequested() override { Close(); }
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    /// Draws the menus as the model now stands, then does what the model asked for.
    void ApplyMenus();
    void FillProfile();
    void Minimise();
    void Close();
    void ToggleMaximised();
    /// The place of the last run when it still lies on a screen; otherwise the design size
    /// centred on the sign-in window's screen.
    void RestorePlace();
    /// The maximise button's picture and name, the shadow and the resize band follow the state.
    void FollowWindowState();
    void followNormalPlace();
    /// Out of sight: into the notification area, or onto the task bar where there is none.
    void PutAway(bool minimised);
    QWidget* webWidget() const;
    static QPointer<QScreen>& FallbackScreen();
    /// The header's height in twips: the window's title area.
    static constexpr int kHeaderHeight = 1965;
    void placeBrowser();
    // The page cover (homecover.cpp): the loading overlay, its grace and the failure panel.
    void buildCover();
    void PageLoadFinished(const platform::LoadOutcome& outcome);
    // The session's end (homesession.cpp). Whether the load says the service's session is over:
    // its 401, or one of its sign-in pages.
    bool EndsSession(const platform::LoadOutcome& outcome) const;
    // Hides the window and opens the sign-in window, once until the next sign-in.
    void EndSession();
    // The keyboard (homekeyboard.cpp).
    void makeKeyboardUsable();
    /// Moves the focus to the next (step 1) or previous (-1) of the top bar, the left menu and the page.
    void CycleFocusArea(int step);
    void UpdateTabOrder();

    // Controls, named as the window code names them; the browser's widget is "web", the loading
    // animation over it "loadingWeb".
    chrome::ImageControl* aicAlphaImage1 = nullptr;
    chrome::ImageControl* avatar_bg = nullptr;
    chrome::ImageControl* avatar = nullptr;
    QLabel* username = nullptr;
    QLabel* signature = nullptr;
    QLabel* companyname = nullptr;
    chrome::ImageControl* aicAlphaImage2 = nullptr;
    chrome::ClickLabel* home_min = nullptr;
    chrome::ImageControl* home_max = nullptr;
    chrome::ImageControl* home_close = nullptr;
    chrome::ResizeFrame* resizeFrame_ = nullptr;
    std::unique_ptr<platform::Browser> web;
    chrome::LoadingOverlay* loadingWeb = nullptr;
    chrome::FailurePanel* failure_ = nullptr;
    PageControls* pageControls_ = nullptr;
    DownloadStrip* downloads_ = nullptr;
    PageNotices* notices_ = nullptr;
    chrome::PictureBox* leftMenuBox = nullptr;
    QWidget* webArea = nullptr; // where web lies when no browser could be made

    std::unique_ptr<chrome::aShadow> shadow_;
    std::unique_ptr<bridge::HyperApp> bridge_;
    MenuModel menus_;
    MenuBars* bars_ = nullptr;
    std::unique_ptr<MenuIconCache> icons_;
    QImage header_;
    QRect normalPlace_; // the geometry of the window neither maximised nor minimised
    QTimer* placeWrite_ = nullptr; // keeps a move or resize even if the program is killed later
    QTimer* loadingGrace_ = nullptr; // uncovers a loaded page that never says it has loaded
    QString openPage_; // the address the menus last opened, opened again after a new sign-in
};

} // namespace kivo::mainwin
