#pragma once

#include "chrome/ashadow.h"
#include "chrome/clicklabel.h"
#include "chrome/form.h"
#include "chrome/imagecontrol.h"
#include "chrome/picturebox.h"
#include "platform/web/browser.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

namespace kivo::signin {

/// The sign-in window: three tabs (SMS code, password, QR code) on a card over the background
/// picture. A successful sign-in stores the user's data, unloads this window and hands over to
/// the main window.
class login : public chrome::Form {
    Q_OBJECT
public:
    login();
    ~login() override;

    /// What a successful sign-in opens: the main window (created when it does not exist yet).
    static void SetShowMainWindow(std::function<void(QScreen* screen)> show);
    /// Opens the sign-in window again (the service's session is over) with `message` shown.
    static void OpenAgain(const QString& message);
    /// The window's pictures in the order it reads them, for decoding ahead of it.
    static QStringList Artwork();

    void ShowLoginError(const QString& text);
    void ShowQrCode();
    void SelectMobileTab();
    void SelectPasswordTab();
    void SelectCodeTab();
    /// The timers' ticks: the SMS countdown (every second) and the QR poll (every five).
    void CountdownTick();
    void Poll();
    /// Creates the QR browser (once the window has painted, or when the QR tab needs it); its
    /// first page loads after the configuration download, with the session's cookies.
    void StartBrowser();
    /// What waits for the window's first paint: its shadow, then the QR browser.
    void FinishDressing();

    int CaptchaSeconds() const { return CaptchaSeconds_; }
    std::int64_t QrCount() const { return QrCount_; }
    QPushButton* defaultButton() const { return default_; }

protected:
    void onLoad() override;
    void onUnload() override;
    void onCloseRequested() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void buildHiddenPanels();
    void nameControls();
    QLineEdit* input(QWidget* panel, int left, int top, int width, int height, bool secret = false);
    QLineEdit* hint(QWidget* panel, const QString& text, int left, int top, int width, int height, QLineEdit* input);
    void setDefault(QPushButton* button);
    enum class Tab { Mobile, Password, Code };
    void SelectTab(Tab tab);
    void makeKeyboardUsable();
    void makeHiddenPanelsKeyboardUsable();
    void ShowCountdown();
    Tab tab_ = Tab::Mobile;
    // False (with the message shown and the focus on the box) when the box is empty.
    bool Filled(QLineEdit* box, const QString& message);

    void PasswordSignIn();
    void MobileSignIn();
    void RequestCode();
    // Sends a sign-in request and handles its answer.
    void SignIn(const std::string& url);
    void Succeed();

    // Controls, named as the window code names them (the QR browser's widget is "loding"), and
    // the two timers ("msm_captcha", "code_time").
    chrome::ImageControl* aicAlphaImage1 = nullptr;
    chrome::ImageControl* code_tab_bg = nullptr;
    chrome::ImageControl* password_tab_bg = nullptr;
    chrome::ImageControl* mobile_tab_bg = nullptr;
    chrome::ClickLabel* code_tab = nullptr;
    chrome::ClickLabel* password_tab = nullptr;
    chrome::ClickLabel* mobile_tab = nullptr;
    chrome::ImageControl* codeBtn = nullptr;
    chrome::ImageControl* passwordBtn = nullptr;
    chrome::ImageControl* mobileBtn = nullptr;
    chrome::ClickLabel* forget_password = nullptr;
    chrome::ClickLabel* reg_new = nullptr;
    chrome::ImageControl* aicAlphaImage6 = nullptr;
    chrome::PictureBox* error_box = nullptr;
    chrome::ImageControl* aicAlphaImage4 = nullptr;
    QLabel* ErrTip = nullptr;
    chrome::PictureBox* mobile_box = nullptr;
    chrome::PictureBox* password_box = nullptr;
    chrome::PictureBox* code_box = nullptr;
    chrome::ImageControl* aicAlphaImage3 = nullptr;
    chrome::ImageControl* aicAlphaImage5 = nullptr;
    QLineEdit* mobile = nullptr;
    QLineEdit* mobile_tip = nullptr;
    QLineEdit* captcha = nullptr;
    QLineEdit* captcha_tip = nullptr;
    chrome::ImageControl* captcha_bg = nullptr;
    chrome::ImageControl* getCaptchaBtn = nullptr;
    chrome::ClickLabel* get_captcha = nullptr;
    chrome::ImageControl* mobile_btn = nullptr;
    QPushButton* mobile_enter = nullptr;
    QLineEdit* username = nullptr;
    QLineEdit* username_tip = nullptr;
    QLineEdit* password = nullptr;
    QLineEdit* password_tip = nullptr;
    chrome::ImageControl* username_btn = nullptr;
    QPushButton* password_enter = nullptr;
    std::unique_ptr<platform::Browser> loding;
    bool dressingQueued_ = false;
    QLabel* Label3 = nullptr;
    chrome::ImageControl* aicAlphaImage2 = nullptr;
    QTimer msm_captcha{this};
    QTimer code_time{this};

    std::unique_ptr<chrome::aShadow> shadow_;
    QPushButton* default_ = nullptr;
    int CaptchaSeconds_ = 0;
    std::int64_t QrCount_ = 0; // wide enough that no run of the program wraps it
    QImage background_;
};

} // namespace kivo::signin
