// The stand-in's sign-in and account endpoints: the menu configuration, the three ways to sign
// in, the consultant and the logout.
#include "workbenchservice.h"

#include "pngwriter.h"

#include <random>
#include <sstream>

namespace kivo::devservice {

void WorkbenchService::signInRoutes() {
    endpoint("/desktop/site/getConfig", [this](const httplib::Request& req, httplib::Response& res, Session&) {
        const nlohmann::ordered_json& config = data_["config"];
        if (req.get_param_value("time") == config["time"].get<std::string>()) {
            answer(res, 1, "", "配置已是最新");
            return;
        }
        answer(res, 1, {{"topMenu", config["topMenu"]}, {"leftMenu", config["leftMenu"]}, {"time", config["time"]}});
    });

    endpoint("/desktop/site/login", [this](const httplib::Request& req, httplib::Response& res, Session& s) {
        const std::string user = req.get_param_value("username");
        const std::string password = req.get_param_value("password");
        if (user.empty() || password.empty()) {
            answer(res, 0, nullptr, "请输入用户名和密码");
            return;
        }
        for (const auto& account : data_["accounts"]) {
            if (account["username"] == user && account["password"] == password) {
                s.user = user;
                answer(res, 1, userData(account, req));
                return;
            }
        }
        answer(res, 0, nullptr, "用户名或密码错误");
    });

    endpoint("/desktop/site/loginSend", [this](const httplib::Request& req, httplib::Response& res, Session&) {
        const std::string mobile = req.get_param_value("mobile");
        if (mobile.size() != 11 || mobile.find_first_not_of("0123456789") != std::string::npos) {
            answer(res, 0, nullptr, "手机号格式不正确");
            return;
        }
        static std::mt19937 random{std::random_device{}()};
        const std::string code = std::to_string(100000 + random() % 900000);
        smsCodes_[mobile] = code;
        std::cout << "SMS to " << mobile << ": " << code << std::endl;
        answer(res, 1, nullptr, "验证码已发送");
    });

    endpoint("/desktop/site/loginCode", [this](const httplib::Request& req, httplib::Response& res, Session& s) {
        const std::string mobile = req.get_param_value("mobile");
        const auto sent = smsCodes_.find(mobile);
        if (sent == smsCodes_.end() || sent->second != req.get_param_value("code")) {
            answer(res, 0, nullptr, "验证码错误");
            return;
        }
        const auto* a = account("mobile", mobile);
        if (a == nullptr) {
            answer(res, 0, nullptr, "该手机号未注册");
            return;
        }
        smsCodes_.erase(sent);
        s.user = (*a)["username"];
        answer(res, 1, userData(*a, req));
    });

    // The QR image belongs to the session whose cookie came with it.
    endpoint("/desktop/site/showLoginQrcode", [this](const httplib::Request& req, httplib::Response& res, Session& s) {
        s.qrShown = true;
        s.qrConfirmed = false;
        s.qrPolls = 0;
        std::string id;
        for (const auto& [key, value] : sessions_) {
            if (&value == &s) {
                id = key;
            }
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(QrCodePng(origin(req) + "/dev/qr/confirm?session=" + id, 6), "image/png");
    });

    endpoint("/desktop/site/checkQrlogintmp", [this](const httplib::Request& req, httplib::Response& res, Session& s) {
        if (s.qrShown && autoConfirmPolls_ > 0 && ++s.qrPolls >= autoConfirmPolls_) {
            s.qrConfirmed = true;
        }
        if (!s.qrConfirmed) {
            answer(res, 0, nullptr, "等待扫码确认");
            return;
        }
        const auto& demo = data_["accounts"][0];
        s.user = demo["username"];
        s.qrShown = s.qrConfirmed = false;
        answer(res, 1, userData(demo, req));
    });

    // The signed-in user's consultant, reached as a QQ chat.
    endpoint("/desktop/site/getConsultantQq", [](const httplib::Request&, httplib::Response& res, Session& s) {
        if (s.user.empty()) {
            answer(res, 0, nullptr, "请先登录");
            return;
        }
        answer(res, 1, {{"qq", 800012345}, {"name", "客服小悦"}});
    });

    endpoint("/desktop/site/logout", [this](const httplib::Request&, httplib::Response& res, Session& s) {
        s.user.clear();
        ++logouts_;
        answer(res, 1, nullptr);
    });
}

} // namespace kivo::devservice
