#include "signin/login.h"

#include "chrome/keyboardaccess.h"

#include "chrome/fonts.h"
#include "chrome/formregistry.h"
#include "chrome/loadingpage.h"
#include "chrome/windowhelpers.h"
#include "platform/process/responsivewait.h"
#include "platform/desktop/twips.h"
#include "platform/desktop/urlopener.h"
#include "service/httprequest.h"
#include "service/json/textcodec.h"
#include "service/queryencoding.h"
#include "service/sessioncookies.h"
#include "startup/configuration.h"
#include "startup/firstframe.h"
#include "startup/runparameters.h"
#include "startup/startuptrace.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <array>
#include <vector>

Q_LOGGING_CATEGORY(lcLogin, "kivo.signin.login")

namespace kivo::signin {

using chrome::ImageControl;
using chrome::LoadPicture;
using chrome::LoadResourceImage;
using chrome::WindowFont;
using platform::MoveTwips;

namespace {

using chrome::kYaHei;
const QColor kFieldColour(205, 221, 250);

std::function<void(QScreen*)>& showMainWindow() {
    static std::function<void(QScreen*)> show;
    return show;
}

ImageControl* image(QWidget* parent, int l, int t, int w, int h, const QImage& picture = {}) {
    auto* control = new ImageControl(parent);
    MoveTwips(control, l, t, w, h);
    control->setPicture(picture);
    return control;
}

chrome::ClickLabel* label(QWidget* parent, const QString& caption, int l, int t, int w, int h, double points,
                          Qt::Alignment align) {
    auto* control = new chrome::ClickLabel(caption, parent);
    MoveTwips(control, l, t, w, h);
    control->setFont(WindowFont(kYaHei, points));
    control->setAlignment(align | Qt::AlignVCenter);
    return control;
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

QString text(const json::JsonValue& value) {
    return QString::fromStdU16String(service::FieldText(value));
}

} // namespace

void login::SetShowMainWindow(std::function<void(QScreen*)> show) {
    showMainWindow() = std::move(show);
}

void login::OpenAgain(const QString& message) {
    auto* signIn = new login;
    signIn->Load();
    signIn->ShowLoginError(message);
    signIn->show();
}

QStringList login::Artwork() {
    using chrome::PicturePath;
    using chrome::ResourceImagePath;
    return {PicturePath("card"),     PicturePath("tab_off"), PicturePath("close_white"), ResourceImagePath(114),
            PicturePath("error_strip"), PicturePath("heading"), ResourceImagePath(109),      ResourceImagePath(110),
            ResourceImagePath(108)};
}

login::login() : Form("login") {
    setWindowTitle("Kivo");
    Move(0, 0, 13485, 9015);
    build();
    msm_captcha.setInterval(1000);
    code_time.setInterval(5000);
    connect(&msm_captcha, &QTimer::timeout, this, &login::CountdownTick);
    connect(&code_time, &QTimer::timeout, this, &login::Poll);
}

login::~login() = default;

// ---- layout ----

void login::build() {
    // The input boxes' font, set on the window before they are made: a box lays out its text as it
    // is made, and would otherwise load the application's font first, which nothing here shows.
    setFont(WindowFont(kYaHei, 10.5));

    aicAlphaImage1 = image(this, 3952, 1927, 5580, 5160, LoadPicture("card"));
    aicAlphaImage1->setCursor(Qt::ArrowCursor);
    code_tab_bg = image(this, 3952, 1927, 1860, 720, LoadPicture("tab_off"));
    password_tab_bg = image(this, 5812, 1927, 1860, 720, LoadPicture("tab_off"));
    mobile_tab_bg = image(this, 7672, 1927, 1860, 720, LoadPicture("tab_off"));
    code_tab = label(this, "扫码登录", 3945, 2130, 1860, 300, 10.5, Qt::AlignHCenter);
    password_tab = label(this, "密码登录", 5805, 2130, 1860, 300, 10.5, Qt::AlignHCenter);
    mobile_tab = label(this, "动态登录", 7665, 2130, 1860, 300, 10.5, Qt::AlignHCenter);
    codeBtn = image(this, 3952, 1957, 1860, 690);
    passwordBtn = image(this, 5812, 1957, 1860, 690);
    mobileBtn = image(this, 7672, 1957, 1860, 690);
    connect(codeBtn, &ImageControl::Click, this, &login::SelectCodeTab);
    connect(passwordBtn, &ImageControl::Click, this, &login::SelectPasswordTab);
    connect(mobileBtn, &ImageControl::Click, this, &login::SelectMobileTab);

    const QString link = "color: rgb(1, 128, 207);";
    forget_password = label(this, "忘记密码", 8565, 6675, 840, 300, 9, Qt::AlignRight);
    reg_new = label(this, "新用户注册", 4170, 6675, 1050, 300, 9, Qt::AlignRight);
    for (auto* l : {forget_password, reg_new}) {
        l->setStyleSheet(link);
        l->setCursor(Qt::PointingHandCursor);
    }
    connect(forget_password, &chrome::ClickLabel::Click, this, [] {
        platform::UrlOpener::open(QString::fromStdString(service::Service().BaseUrl) + "/user/site/getPasswordStep1");
    });
    connect(reg_new, &chrome::ClickLabel::Click, this,
            [] { platform::UrlOpener::open(QString::fromStdString(service::Service().BaseUrl) + "/user/site/reg"); });

    aicAlphaImage6 = image(this, 13200, 120, 180, 180, LoadPicture("close_white"));
    connect(aicAlphaImage6, &ImageControl::Click, this, &login::onCloseRequested);

    // Panels: one visible at a time, all at the same place on the card. The hidden ones take their
    // pictures with their controls.
    auto panel = [this](int height) {
        auto* box = new chrome::PictureBox(this);
        MoveTwips(box, 3952, 2720, 5580, height);
        return box;
    };
    mobile_box = panel(3765);
    mobile_box->setPicture(LoadResourceImage(114));
    password_box = panel(3840);
    code_box = panel(3840);

    // The error strip sits over the panels.
    error_box = new chrome::PictureBox(this);
    MoveTwips(error_box, 4400, 3500, 4680, 450);
    error_box->setBackColor(kFieldColour);
    aicAlphaImage4 = image(error_box, 0, 0, 4680, 450, LoadPicture("error_strip"));
    aicAlphaImage4->setCursor(Qt::ArrowCursor);
    ErrTip = new QLabel(error_box);
    MoveTwips(ErrTip, 645, 75, 3900, 300);
    ErrTip->setFont(WindowFont(kYaHei, 10.5));
    ErrTip->setStyleSheet("color: rgb(255, 72, 63);");
    error_box->hide();

    // SMS panel
    aicAlphaImage3 = image(mobile_box, 1920, 235, 1575, 465, LoadPicture("heading"));
    mobile = input(mobile_box, 600, 1480, 2175, 300);
    mobile_tip = hint(mobile_box, "请输入手机号", 600, 1480, 2295, 420, mobile);
    captcha = input(mobile_box, 600, 2155, 4335, 300);
    captcha_tip = hint(mobile_box, "请输入验证码", 600, 2160, 4335, 420, captcha);
    captcha_bg = image(mobile_box, 3060, 1350, 2070, 600, LoadResourceImage(109));
    get_captcha = label(mobile_box, "获取验证码", 3060, 1500, 2070, 300, 10.5, Qt::AlignHCenter);
    get_captcha->setStyleSheet("color: white;");
    get_captcha->setAttribute(Qt::WA_TransparentForMouseEvents);
    getCaptchaBtn = image(mobile_box, 3060, 1350, 2070, 600);
    connect(getCaptchaBtn, &ImageControl::Click, this, &login::RequestCode);
    mobile_btn = image(mobile_box, 450, 2925, 4680, 600, LoadResourceImage(110));
    connect(mobile_btn, &ImageControl::Click, this, &login::MobileSignIn);
    mobile_enter = new QPushButton(mobile_box);
    mobile_enter->setGeometry(0, -100, 10, 10); // above the panel's visible area
    mobile_enter->setFocusPolicy(Qt::NoFocus);
    connect(mobile_enter, &QPushButton::clicked, this, &login::MobileSignIn);

    // Start: the SMS panel, the other tabs' overlays and the "忘记密码" link.
    password_box->hide();
    code_box->hide();
    mobile_tab_bg->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{code_tab_bg, password_tab_bg, code_tab, password_tab, mobile_tab,
                                                      codeBtn, passwordBtn, mobileBtn}) {
        w->raise();
    }
    error_box->raise();
    setDefault(mobile_enter);
    makeKeyboardUsable();
    nameControls();
    // Only painting needs the background: taken last, it is decoded while the controls are made.
    background_ = LoadResourceImage(108);
}

// The password and QR panels are hidden at first: they are built right after the first paint,
// or when a tab needs them sooner.
void login::buildHiddenPanels() {
    if (username != nullptr) {
        return;
    }
    // Password panel
    password_box->setPicture(LoadResourceImage(113));
    aicAlphaImage5 = image(password_box, 1920, 235, 1575, 465, LoadPicture("heading"));
    username = input(password_box, 600, 1480, 4335, 300);
    username_tip = hint(password_box, "请输入用户名称", 600, 1480, 4335, 420, username);
    password = input(password_box, 600, 2160, 4335, 420, true);
    password_tip = hint(password_box, "请输入帐号密码", 600, 2160, 4335, 420, password);
    username_btn = image(password_box, 450, 2930, 4680, 600, LoadResourceImage(110));
    connect(username_btn, &ImageControl::Click, this, &login::PasswordSignIn);
    password_enter = new QPushButton(password_box);
    password_enter->setGeometry(0, -100, 10, 10);
    password_enter->setFocusPolicy(Qt::NoFocus);
    connect(password_enter, &QPushButton::clicked, this, &login::PasswordSignIn);

    // QR panel
    code_box->setPicture(LoadResourceImage(111));
    // The QR browser ("loding") comes after the first paint: see StartBrowser.
    Label3 = new QLabel("请使用Velmora手机端扫描登录", code_box);
    MoveTwips(Label3, 1160, 3480, 2520, 300);
    Label3->setFont(WindowFont(kYaHei, 9));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label3->setStyleSheet("color: black;");
    aicAlphaImage2 = image(code_box, 3840, 3525, 630, 210, LoadPicture("refresh"));
    connect(aicAlphaImage2, &ImageControl::Click, this, &login::ShowQrCode);

    for (QWidget* w : std::initializer_list<QWidget*>{password_box, code_box}) {
        for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            child->show(); // children made after their panel was shown
        }
    }
    makeHiddenPanelsKeyboardUsable();
    nameControls();
}

// Every control by its name, as the window code names it.
void login::nameControls() {
    const std::pair<QObject*, const char*> names[] = {
        {aicAlphaImage1, "aicAlphaImage1"},
        {code_tab_bg, "code_tab_bg"},
        {password_tab_bg, "password_tab_bg"},
        {mobile_tab_bg, "mobile_tab_bg"},
        {code_tab, "code_tab"},
        {password_tab, "password_tab"},
        {mobile_tab, "mobile_tab"},
        {codeBtn, "codeBtn"},
        {passwordBtn, "passwordBtn"},
        {mobileBtn, "mobileBtn"},
        {forget_password, "forget_password"},
        {reg_new, "reg_new"},
        {aicAlphaImage6, "aicAlphaImage6"},
        {error_box, "error_box"},
        {aicAlphaImage4, "aicAlphaImage4"},
        {ErrTip, "ErrTip"},
        {mobile_box, "mobile_box"},
        {password_box, "password_box"},
        {code_box, "code_box"},
        {aicAlphaImage3, "aicAlphaImage3"},
        {aicAlphaImage5, "aicAlphaImage5"},
        {mobile, "mobile"},
        {mobile_tip, "mobile_tip"},
        {captcha, "captcha"},
        {captcha_tip, "captcha_tip"},
        {captcha_bg, "captcha_bg"},
        {getCaptchaBtn, "getCaptchaBtn"},
        {get_captcha, "get_captcha"},
        {mobile_btn, "mobile_btn"},
        {mobile_enter, "mobile_enter"},
        {username, "username"},
        {username_tip, "username_tip"},
        {password, "password"},
        {password_tip, "password_tip"},
        {username_btn, "username_btn"},
        {password_enter, "password_enter"},
        {Label3, "Label3"},
        {aicAlphaImage2, "aicAlphaImage2"},
        {&msm_captcha, "msm_captcha"},
        {&code_time, "code_time"},
    };
    for (const auto& [control, name] : names) {
        if (control != nullptr) {
            control->setObjectName(name);
        }
    }
}

void login::setDefault(QPushButton* button) {
    default_ = button;
}

// ---- load, unload, painting, input ----

void login::onLoad() {
    // Window dressing: always on top; the shadow and the QR browser follow the first paint.
    ApplyStick(startup::State().stick);
    CentreOnScreen();
}

// The shadow's four windows would make the first paint wait for them: they come right after it.
void login::FinishDressing() {
    if (!isLoaded()) {
        return;
    }
    startup::Trace("sign-in window painted");
    startup::FirstFrame::Painted();
    buildHiddenPanels();
    if (!shadow_) {
        shadow_ = chrome::aShadow::ForWindow(this);
    }
    StartBrowser();
}

// The close button: the tray window goes first (its icon with it), then this window; the
// program ends.
void login::onCloseRequested() {
    if (chrome::Form* tray = chrome::FindForm("tray_form")) {
        tray->Unload();
    }
    Unload();
    chrome::UnloadAllForms(); // a main window that waits for the next sign-in ends too
}

void login::onUnload() {
    msm_captcha.stop();
    code_time.stop();
    shadow_.reset();
}

void login::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), background_);
    if (!dressingQueued_) {
        dressingQueued_ = true;
        QTimer::singleShot(0, this, &login::FinishDressing);
    }
}

void login::mousePressEvent(QMouseEvent*) {
    StartDrag();
}

// ---- tabs ----

void login::SelectMobileTab() {
    SelectTab(Tab::Mobile);
}

void login::SelectPasswordTab() {
    SelectTab(Tab::Password);
}

void login::SelectCodeTab() {
    SelectTab(Tab::Code);
}

// What each tab shows, clears and makes the default button; the other tabs' panels and the
// selected tab's grey background go.
void login::SelectTab(Tab tab) {
    buildHiddenPanels();
    struct Look {
        chrome::PictureBox* box;
        chrome::ImageControl* background;
        QPushButton* defaultButton; // null: Enter keeps what it did
        bool forgetPassword;
        QLineEdit* focus;
        std::vector<QLineEdit*> clear;
        std::vector<QLineEdit*> hideTips;
        std::vector<QLineEdit*> showTips;
    };
    const std::array<Look, 3> looks{{
        {mobile_box,
         mobile_tab_bg,
         mobile_enter,
         false,
         mobile,
         {username, password},
         {mobile_tip, username_tip},
         {password_tip}},
        {password_box,
         password_tab_bg,
         password_enter,
         true,
         username,
         {mobile, captcha},
         {username_tip, mobile_tip},
         {captcha_tip}},
        {code_box,
         code_tab_bg,
         nullptr,
         false,
         nullptr,
         {username, password, mobile, captcha},
         {mobile_tip, username_tip},
         {captcha_tip, password_tip}},
    }};
    const Look& look = looks[static_cast<int>(tab)];
    tab_ = tab;
    if (look.defaultButton != nullptr) {
        setDefault(look.defaultButton);
    }
    for (const Look& other : looks) {
        other.box->setVisible(&other == &look);
        other.background->setVisible(&other != &look);
    }
    forget_password->setVisible(look.forgetPassword);
    if (tab == Tab::Code) {
        ShowQrCode();
    }
    if (look.focus != nullptr) {
        chrome::PassFocus(look.focus);
    }
    for (const auto& [button, shown] :
         {std::pair{mobileBtn, tab == Tab::Mobile}, std::pair{passwordBtn, tab == Tab::Password},
          std::pair{codeBtn, tab == Tab::Code}}) {
        chrome::SetSelected(button, shown);
    }
    for (QLineEdit* box : look.clear) {
        box->clear();
    }
    for (QLineEdit* tip : look.hideTips) {
        tip->hide();
    }
    for (QLineEdit* tip : look.showTips) {
        tip->show();
    }
    error_box->hide();
}

// ---- sign-in ----

void login::ShowLoginError(const QString& message) {
    ErrTip->setText(message);
    error_box->setAccessibleName(message);
    error_box->show();
    chrome::AnnounceAlert(error_box);
}

bool login::Filled(QLineEdit* box, const QString& message) {
    if (!box->text().isEmpty()) {
        return true;
    }
    ShowLoginError(message);
    box->setFocus();
    return false;
}

void login::PasswordSignIn() {
    if (!Filled(username, "帐号不能为空！") || !Filled(password, "密码不能为空！")) {
        return;
    }
    qCInfo(lcLogin) << "signing in with a password";
    SignIn(service::Service().BaseUrl +
           "/desktop/site/login?username=" + service::EncodeQueryValue(utf8(username->text())) +
           "&password=" + service::EncodeQueryValue(utf8(password->text())));
}

void login::MobileSignIn() {
    if (!Filled(mobile, "手机号不能为空！") || !Filled(captcha, "验证码不能为空！")) {
        return;
    }
    SignIn(service::Service().BaseUrl +
           "/desktop/site/loginCode?mobile=" + service::EncodeQueryValue(utf8(mobile->text())) +
           "&code=" + service::EncodeQueryValue(utf8(captcha->text())));
}

void login::SignIn(const std::string& url) {
    const json::JsonValue answer = service::HttpRequest(url, "");
    service::CopySessionCookies();
    if (answer.isNothing()) {
        ShowLoginError("服务器忙，请稍侯再试！");
        return;
    }
    if (service::IsSuccess(answer)) {
        startup::State().UserData = service::Field(answer, u"data");
        Succeed();
        return;
    }
    ShowLoginError(text(service::Field(answer, u"msg")));
}

void login::Succeed() {
    QScreen* const here = screen(); // the main window opens where the user signed in
    Unload();
    if (showMainWindow()) {
        showMainWindow()(here);
    } else {
        qCWarning(lcLogin) << "signed in, but no main window is set up";
    }
}

void login::RequestCode() {
    if (msm_captcha.isActive()) {
        ShowLoginError("60秒内不能重复发送验证码");
        return;
    }
    if (!Filled(mobile, "手机号不能为空！")) {
        return;
    }
    const json::JsonValue answer = service::HttpRequest(service::Service().BaseUrl + "/desktop/site/loginSend?mobile=" +
                                                            service::EncodeQueryValue(utf8(mobile->text())),
                                                        "");
    if (answer.isNothing()) {
        ShowLoginError("服务器忙，请稍侯再试！");
        return;
    }
    if (service::IsSuccess(answer)) {
        msm_captcha.start();
        CaptchaSeconds_ = 60;
        ShowCountdown();
        captcha_bg->hide();
        return;
    }
    ShowLoginError(text(service::Field(answer, u"msg")));
}

void login::ShowCountdown() {
    get_captcha->setText(CaptchaSeconds_ > 0 ? QString::number(CaptchaSeconds_) + " 秒重新发送"
                                             : QString("获取验证码"));
    getCaptchaBtn->setAccessibleName(get_captcha->text()); // a screen reader hears the count
}

void login::CountdownTick() {
    CaptchaSeconds_ -= 1;
    if (CaptchaSeconds_ > 0) {
        ShowCountdown();
        return;
    }
    msm_captcha.stop();
    CaptchaSeconds_ = 0;
    ShowCountdown();
    captcha_bg->show();
}

} // namespace kivo::signin
