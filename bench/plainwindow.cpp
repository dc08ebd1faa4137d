// The floors of the start-up benchmark: a plain window with one label, and (--chinese) one of the
// sign-in window's size whose label holds the sign-in window's Chinese texts. With
// KIVO_STARTUP_TRACE set it writes its stages as Kivo does, its first paint included.
#include "startup/startuptrace.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstring>

namespace {

class Label : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!painted_) {
            painted_ = true;
            QTimer::singleShot(0, [] { kivo::startup::Trace("window painted"); });
        }
    }

private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    kivo::startup::Trace("main");
    QApplication app(argc, argv);
    kivo::startup::Trace("application");
    const bool chinese = argc > 1 && std::strcmp(argv[1], "--chinese") == 0;
    Label label(chinese ? QStringLiteral("Velmora 工作台\n连接团队 · 协同办公 · 数据随行\n扫码登录 密码登录 动态登录\n欢迎登录\n"
                                         "请输入手机号 获取验证码\n请输入验证码\n登 录\n新用户注册 忘记密码\n© Velmora 安全登录 · 数据加密传输")
                        : QStringLiteral("Kivo"));
    label.resize(chinese ? QSize(899, 601) : QSize(900, 600));
    label.show();
    kivo::startup::Trace("window shown");
    return QApplication::exec();
}
