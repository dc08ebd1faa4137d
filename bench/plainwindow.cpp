// The floors of the start-up benchmark: a plain window with one label, and (--chinese) one of the
// sign-in window's size whose label holds the sign-in window's Chinese texts.
#include <QApplication>
#include <QLabel>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool chinese = argc > 1 && std::strcmp(argv[1], "--chinese") == 0;
    QLabel label(chinese ? QStringLiteral("Velmora 工作台\n连接团队 · 协同办公 · 数据随行\n扫码登录 密码登录 动态登录\n欢迎登录\n"
                                          "请输入手机号 获取验证码\n请输入验证码\n登 录\n新用户注册 忘记密码\n© Velmora 安全登录 · 数据加密传输")
                         : QStringLiteral("Kivo"));
    label.resize(chinese ? QSize(899, 601) : QSize(900, 600));
    label.show();
    return QApplication::exec();
}
