#pragma once

#include "chrome/ashadow.h"
#include "chrome/clicklabel.h"
#include "chrome/form.h"
#include "chrome/imagecontrol.h"
#include "chrome/picturebox.h"
#include "platform/browser.h"

#include <QLineEdit>
#include <QPushButton>
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
    static void SetShowMainWindow(std::function<void()> show);

    void ShowLoginError(const QString& text);
    void ShowQrCode();
    void SelectMobileTab();
    void SelectPasswordTab();
    void SelectCodeTab();
    /// The timers' ticks: the SMS countdown (every second) and the QR poll (every five).
    void CountdownTick();
    void Poll();

    // The window's controls, by the names the window code uses.
    chrome::ImageControl* aicAlphaImage1;
    chrome::ImageControl *code_tab_bg, *password_tab_bg, *mobile_tab_bg;
    chrome::ClickLabel *code_tab, *password_tab, *mobile_tab;
    chrome::ImageControl *codeBtn, *passwordBtn, *mobileBtn;
    chrome::ClickLabel *forget_password, *reg_new;
    chrome::ImageControl* aicAlphaImage6;
    chrome::PictureBox* error_box;
    chrome::ImageControl* aicAlphaImage4;
    QLabel* ErrTip;

    chrome::PictureBox *mobile_box, *password_box, *code_box;
    chrome::ImageControl *aicAlphaImage3, *aicAlphaImage5;
    QLineEdit *mobile, *mobile_tip, *captcha, *captcha_tip;
    chrome::ImageControl *captcha_bg, *getCaptchaBtn;
    chrome::ClickLabel* get_captcha;
    chrome::ImageControl* mobile_btn;
    QPushButton* mobile_enter;
    QLineEdit *username, *username_tip, *password, *password_tip;
    chrome::ImageControl* username_btn;
    QPushButton* password_enter;
    std::unique_ptr<platform::Browser> loding;
    QLabel* Label3;
    chrome::ImageControl* aicAlphaImage2;

    QTimer msm_captcha;
    QTimer code_time;

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
    QLineEdit* input(QWidget* panel, int left, int top, int width, int height, bool secret = false);
    QLineEdit* hint(QWidget* panel, const QString& text, int left, int top, int width, int height, QLineEdit* input);
    void setDefault(QPushButton* button);
    enum class Tab { Mobile, Password, Code };
    void SelectTab(Tab tab);
    // False (with the message shown and the focus on the box) when the box is empty.
    bool Filled(QLineEdit* box, const QString& message);

    void PasswordSignIn();
    void MobileSignIn();
    void RequestCode();
    // Sends a sign-in request and handles its answer.
    void SignIn(const std::string& url);
    void Succeed();

    std::unique_ptr<chrome::aShadow> shadow_;
    QPushButton* default_ = nullptr;
    int CaptchaSeconds_ = 0;
    std::int64_t QrCount_ = 0; // wide enough that no run of the program wraps it
    QImage background_;
};

} // namespace kivo::signin
