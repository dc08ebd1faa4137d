#include "workbenchservice.h"

#include "pngwriter.h"

#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

namespace kivo::devservice {

namespace {
constexpr const char* kSessionCookie = "KIVOSESSID";

std::string cookieValue(const httplib::Request& req, const std::string& name) {
    const std::string header = req.get_header_value("Cookie");
    std::stringstream parts(header);
    std::string part;
    while (std::getline(parts, part, ';')) {
        const auto start = part.find_first_not_of(' ');
        if (start == std::string::npos) {
            continue;
        }
        part = part.substr(start);
        if (part.rfind(name + "=", 0) == 0) {
            return part.substr(name.size() + 1);
        }
    }
    return {};
}
} // namespace

WorkbenchService::WorkbenchService(const std::filesystem::path& dataDir, int autoConfirmPolls)
    : dataDir_(dataDir), autoConfirmPolls_(autoConfirmPolls) {
    std::ifstream in(dataDir / "workbench.json");
    data_ = nlohmann::ordered_json::parse(in);
    routes();
}

int WorkbenchService::bind(int port) {
    if (port == 0) {
        return server_.bind_to_any_port("127.0.0.1");
    }
    return server_.bind_to_port("127.0.0.1", port) ? port : -1;
}

void WorkbenchService::run() {
    server_.listen_after_bind();
}

void WorkbenchService::stop() {
    while (!server_.is_running()) {
        std::this_thread::yield();
    }
    server_.stop();
}

void WorkbenchService::answer(httplib::Response& res, int status, const nlohmann::ordered_json& data,
                              const std::string& msg) {
    const nlohmann::ordered_json envelope{{"status", status}, {"data", data}, {"msg", msg}};
    res.set_content(envelope.dump(), "application/json; charset=utf-8");
}

std::string WorkbenchService::origin(const httplib::Request& req) const {
    const std::string host = req.get_header_value("Host");
    return "http://" + (host.empty() ? std::string("127.0.0.1") : host);
}

WorkbenchService::Session& WorkbenchService::session(const httplib::Request& req, httplib::Response& res) {
    const std::string id = cookieValue(req, kSessionCookie);
    const auto it = sessions_.find(id);
    if (it != sessions_.end()) {
        return it->second;
    }
    static std::mt19937 random{std::random_device{}()};
    std::ostringstream fresh;
    fresh << std::hex << random() << random() << "x" << nextSession_++;
    res.set_header("Set-Cookie", std::string(kSessionCookie) + "=" + fresh.str() + "; path=/; HttpOnly");
    return sessions_[fresh.str()];
}

nlohmann::ordered_json WorkbenchService::userData(const nlohmann::ordered_json& account,
                                                  const httplib::Request& req) const {
    return {{"nickname", account["nickname"]},
            {"signature", account["signature"]},
            {"companyname", account["companyname"]},
            {"avatar", origin(req) + account["avatar"].get<std::string>()}};
}

const nlohmann::ordered_json* WorkbenchService::account(const std::string& key, const std::string& value) const {
    for (const auto& a : data_["accounts"]) {
        if (a[key] == value) {
            return &a;
        }
    }
    return nullptr;
}

namespace {
std::string page(const std::string& title, const std::string& body) {
    return "<!doctype html><html lang='zh-CN'><head><meta charset='utf-8'><title>" + title +
           "</title><style>body{font-family:'Noto Sans CJK SC',sans-serif;background:#EDEDED;margin:0}"
           "main{max-width:640px;margin:60px auto;background:#fff;border-radius:8px;padding:32px 40px;"
           "box-shadow:0 2px 12px rgba(0,0,0,.08)}h1{color:#127FC2;font-size:24px}p{color:#555;line-height:1.7}"
           "</style></head><body><main><h1>" +
           title + "</h1>" + body + "</main></body></html>";
}
} // namespace

void WorkbenchService::routes() {
    // The client POSTs; a browser GETs. Both are answered alike.
    auto endpoint = [this](const std::string& path, auto handler) {
        auto locked = [this, handler](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            Session& s = session(req, res);
            handler(req, res, s);
        };
        server_.Post(path, locked);
        server_.Get(path, locked);
    };

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

    endpoint("/desktop/site/logout", [this](const httplib::Request&, httplib::Response& res, Session& s) {
        s.user.clear();
        ++logouts_;
        answer(res, 1, nullptr);
    });

    // The workbench start page; it tells the client it has loaded through a happ address.
    server_.Get("/desktop/site/index", [this](const httplib::Request& req, httplib::Response& res) {
        std::string name = "访客";
        {
            std::lock_guard lock(mutex_);
            Session& s = session(req, res);
            if (const auto* a = s.user.empty() ? nullptr : account("username", s.user)) {
                name = (*a)["nickname"].get<std::string>();
            }
        }
        res.set_content(R"HTML(<!doctype html><html lang="zh-CN"><head><meta charset="utf-8"><title>工作台</title>
<style>
*{box-sizing:border-box}body{margin:0;font-family:'Noto Sans CJK SC','Microsoft YaHei',sans-serif;background:#F4F6F9;color:#333}
.wrap{padding:22px 26px}.hello{font-size:20px;margin:0 0 4px}.sub{color:#888;font-size:13px;margin:0 0 18px}
.cards{display:grid;grid-template-columns:repeat(4,1fr);gap:14px;margin-bottom:18px}
.card{background:#fff;border-radius:8px;padding:14px 16px;box-shadow:0 1px 4px rgba(0,0,0,.06)}
.card b{display:block;font-size:26px;color:#127FC2;margin-top:6px}.card span{color:#888;font-size:13px}
.cols{display:grid;grid-template-columns:3fr 2fr;gap:14px}
.panel{background:#fff;border-radius:8px;padding:14px 18px;box-shadow:0 1px 4px rgba(0,0,0,.06)}
.panel h3{margin:0 0 10px;font-size:15px;color:#127FC2}.panel li{list-style:none;padding:8px 0;border-bottom:1px solid #F0F0F0;font-size:13px}
.panel ul{margin:0;padding:0}.tag{display:inline-block;font-size:12px;padding:1px 8px;border-radius:10px;background:#E6F4FD;color:#1B9BEA;margin-right:8px}
.time{float:right;color:#AAA;font-size:12px}
</style></head><body><div class="wrap">
<p class="hello">下午好，)HTML" +
                            name + R"HTML(</p><p class="sub">今天是忙碌而充实的一天，以下是您的工作概览。</p>
<div class="cards">
<div class="card"><span>今日待办</span><b>6</b></div><div class="card"><span>未读消息</span><b>12</b></div>
<div class="card"><span>本月订单</span><b>128</b></div><div class="card"><span>待审批</span><b>3</b></div></div>
<div class="cols"><div class="panel"><h3>待办事项</h3><ul>
<li><span class="tag">审批</span>采购申请：办公电脑 5 台<span class="time">10:24</span></li>
<li><span class="tag">客户</span>回访杭州云岫科技的合同续约<span class="time">11:00</span></li>
<li><span class="tag">订单</span>核对订单 #20261208-031 的发货信息<span class="time">14:30</span></li>
<li><span class="tag">报表</span>提交十一月销售周报<span class="time">17:00</span></li></ul></div>
<div class="panel"><h3>公告通知</h3><ul>
<li>年终盘点将于 12 月 20 日开始</li><li>新版考勤制度已发布，请查阅</li><li>本周五下午全员培训</li></ul></div></div>
</div><script>
window.addEventListener('load', function () { location.href = 'happ://MyCMD.CMD%20%22loading%22/'; });
</script></body></html>)HTML",
                        "text/html; charset=utf-8");
    });

    server_.Get("/user/site/reg", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("新用户注册", "<p>请联系贵公司的管理员开通 Velmora 工作台账号。</p>"),
                        "text/html; charset=utf-8");
    });
    server_.Get("/user/site/getPasswordStep1", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("找回密码", "<p>第一步：输入注册手机号，我们会发送验证码帮助您重设密码。</p>"),
                        "text/html; charset=utf-8");
    });
    server_.Get("/about/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("关于 Velmora", "<p>Velmora 工作台：连接团队，协同办公，数据随行。</p>"),
                        "text/html; charset=utf-8");
    });
    server_.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("Velmora 工作台", "<p>欢迎使用 Velmora 工作台。</p>"), "text/html; charset=utf-8");
    });
    server_.set_mount_point("/static", (dataDir_ / "static").string());

    // Development only: confirm a QR sign-in as the phone app would, read the last SMS code.
    server_.Get("/dev/qr/confirm", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        const auto it = sessions_.find(req.get_param_value("session"));
        if (it == sessions_.end() || !it->second.qrShown) {
            answer(res, 0, nullptr, "二维码无效");
            return;
        }
        it->second.qrConfirmed = true;
        answer(res, 1, nullptr, "已确认登录");
    });
    server_.Get("/dev/qr/confirm-all", [this](const httplib::Request&, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        int confirmed = 0;
        for (auto& [id, s] : sessions_) {
            if (s.qrShown) {
                s.qrConfirmed = true;
                ++confirmed;
            }
        }
        answer(res, 1, {{"confirmed", confirmed}});
    });
    // Development only: a page that sends happ addresses every way a page can.
    server_.Get("/dev/happ", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"HTML(<!doctype html><html><head><meta charset="utf-8"><title>happ</title></head><body>
<h1>happ</h1>
<a id="link" href="happ://MyCMD.CMD%20%22link%22/">link</a>
<button id="href" onclick="location.href='happ://MyCMD.CMD%20%22href%22/'">href</button>
<button id="assign" onclick="location.assign('happ://CMD(%22assign%22)/')">assign</button>
<form id="form" action="happ://MyCMD.CMD%20%22form%22/" method="post"><button id="submit">form</button></form>
<iframe id="frame" src="/dev/happ-frame"></iframe>
</body></html>)HTML",
                        "text/html; charset=utf-8");
    });
    server_.Get("/dev/happ-frame", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"HTML(<!doctype html><html><body>
<a id="inner" href="happ://CMD%20%22frame%22,%20%22%E4%B8%AD%22/">frame</a>
</body></html>)HTML",
                        "text/html; charset=utf-8");
    });
    server_.Get("/dev/sms", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        const auto it = smsCodes_.find(req.get_param_value("mobile"));
        answer(res, it == smsCodes_.end() ? 0 : 1, it == smsCodes_.end() ? "" : it->second);
    });

    // Development only: what the service has seen, for tests and for a curious developer.
    server_.Get("/dev/state", [this](const httplib::Request&, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        nlohmann::ordered_json signedIn = nlohmann::ordered_json::array();
        for (const auto& [id, s] : sessions_) {
            if (!s.user.empty()) {
                signedIn.push_back(s.user);
            }
        }
        nlohmann::ordered_json qrShown = 0;
        for (const auto& [id, s] : sessions_) {
            qrShown = qrShown.get<int>() + (s.qrShown ? 1 : 0);
        }
        answer(res, 1,
               {{"logouts", logouts_}, {"sessions", sessions_.size()}, {"signedIn", signedIn}, {"qrShown", qrShown}});
    });

    server_.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.status == 404) {
            answer(res, 0, nullptr, "页面不存在");
        }
    });
}

} // namespace kivo::devservice
