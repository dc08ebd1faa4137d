// The sign-in window's input boxes with their hints, and its keyboard and screen-reader use.
#include "chrome/fonts.h"
#include "chrome/keyboardaccess.h"
#include "platform/desktop/twips.h"
#include "signin/login.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QShortcut>

#include <algorithm>

namespace kivo::signin {

using chrome::WindowFont;
using platform::MoveTwips;

namespace {

using chrome::kYaHei;

} // namespace

// ---- input boxes and their hints ----

QLineEdit* login::input(QWidget* panel, int left, int top, int width, int height, bool secret) {
    auto* box = new QLineEdit(panel);
    MoveTwips(box, left, top, width, height);
    box->setFrame(false);
    box->setFont(secret ? WindowFont(kYaHei, 15, true) : WindowFont(kYaHei, 10.5));
    box->setStyleSheet(QString("QLineEdit { background: rgb(205, 221, 250); color: #222; border: none; %1 }")
                           .arg(secret ? "lineedit-password-character: 42;" : "")); // "*" per character
    if (secret) {
        box->setEchoMode(QLineEdit::Password);
    }
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, error_box, &QWidget::hide);
    return box;
}

QLineEdit* login::hint(QWidget* panel, const QString& text, int left, int top, int width, int height,
                       QLineEdit* forInput) {
    auto* box = new QLineEdit(panel);
    MoveTwips(box, left, top, width, height);
    box->setFrame(false);
    box->setFont(WindowFont(kYaHei, 12));
    box->setText(text); // after the font: laid out once, in it
    box->setStyleSheet("QLineEdit { background: rgb(205, 221, 250); color: rgb(128, 128, 128); border: none; }");
    box->setReadOnly(true);
    box->setCursor(Qt::IBeamCursor);
    box->setProperty("input", QVariant::fromValue<QObject*>(forInput));
    box->installEventFilter(this);
    // The hint only dresses its input box: a screen reader hears it as the box's description,
    // and Tab and a click both go to the box itself.
    chrome::LeaveOutOfAccessibleTree(box);
    forInput->setAccessibleDescription(text);
    return box;
}

// ---- keyboard ----

void login::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && default_ != nullptr) {
        default_->click();
        return;
    }
    Form::keyPressEvent(event);
}

bool login::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr) {
        return Form::eventFilter(watched, event);
    }
    auto* forInput = qobject_cast<QLineEdit*>(box->property("input").value<QObject*>());
    if (forInput != nullptr) { // a hint box: a click on it goes to its input box
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn) {
            box->hide();
            forInput->setFocus(event->type() == QEvent::FocusIn ? static_cast<QFocusEvent*>(event)->reason()
                                                                : Qt::MouseFocusReason);
            return event->type() == QEvent::MouseButtonPress;
        }
        return false;
    }
    QLineEdit* tip = box == mobile     ? mobile_tip
                     : box == captcha  ? captcha_tip
                     : box == username ? username_tip
                     : box == password ? password_tip
                                       : nullptr;
    if (tip != nullptr && event->type() == QEvent::FocusIn) {
        tip->hide();
    } else if (tip != nullptr && event->type() == QEvent::FocusOut && box->text().isEmpty()) {
        tip->show();
    }
    return false;
}

void login::makeKeyboardUsable() {
    using chrome::MakeActionable;
    MakeActionable(codeBtn, "扫码登录", QAccessible::PageTab);
    MakeActionable(passwordBtn, "密码登录", QAccessible::PageTab);
    MakeActionable(mobileBtn, "动态登录", QAccessible::PageTab);
    MakeActionable(getCaptchaBtn, get_captcha->text());
    MakeActionable(mobile_btn, "登录");
    MakeActionable(reg_new, reg_new->text(), QAccessible::Link);
    MakeActionable(forget_password, forget_password->text(), QAccessible::Link);
    MakeActionable(aicAlphaImage6, "关闭");
    chrome::Describe(error_box, QString(), QAccessible::AlertMessage);
    mobile->setAccessibleName("手机号");
    captcha->setAccessibleName("验证码");
    // Ctrl+Tab and Ctrl+Shift+Tab go through the tabs as a tab widget's do.
    auto cycle = [this](int step) {
        static constexpr Tab kLeftToRight[] = {Tab::Code, Tab::Password, Tab::Mobile};
        const auto at = std::find(std::begin(kLeftToRight), std::end(kLeftToRight), tab_) - std::begin(kLeftToRight);
        SelectTab(kLeftToRight[(at + step + 3) % 3]);
    };
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Tab)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [cycle] { cycle(1); });
    }
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [cycle] { cycle(-1); });
    }
}

void login::makeHiddenPanelsKeyboardUsable() {
    chrome::MakeActionable(username_btn, "登录");
    chrome::MakeActionable(aicAlphaImage2, "刷新");
    username->setAccessibleName("用户名称");
    password->setAccessibleName("帐号密码");
    // Reading order: the tabs, the shown panel from top to bottom, the links, the close button.
    chrome::SetTabOrder({codeBtn, passwordBtn, mobileBtn, mobile, getCaptchaBtn, captcha, mobile_btn, username,
                         password, username_btn, aicAlphaImage2, reg_new, forget_password, aicAlphaImage6});
}

} // namespace kivo::signin
