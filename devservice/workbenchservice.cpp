#include "workbenchservice.h"

#include "pngwriter.h"

#include <algorithm>
#include <chrono>
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

WorkbenchService::WorkbenchService(const std::filesystem::path& dataDir, int autoConfirmPolls,
                                   const std::filesystem::path& tlsCertificate, const std::filesystem::path& tlsKey)
    : server_(tlsCertificate.empty() ? std::make_unique<httplib::Server>()
                                     : std::make_unique<httplib::SSLServer>(tlsCertificate.c_str(), tlsKey.c_str())),
      scheme_(tlsCertificate.empty() ? "http" : "https"), dataDir_(dataDir), autoConfirmPolls_(autoConfirmPolls) {
    std::ifstream in(dataDir / "workbench.json");
    data_ = nlohmann::ordered_json::parse(in);
    routes();
}

int WorkbenchService::bind(int port) {
    if (port == 0) {
        return server_->bind_to_any_port("127.0.0.1");
    }
    return server_->bind_to_port("127.0.0.1", port) ? port : -1;
}

void WorkbenchService::run() {
    server_->listen_after_bind();
}

void WorkbenchService::hang() {
    server_->set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
        while (!stopping_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return httplib::Server::HandlerResponse::Handled;
    });
}

void WorkbenchService::stop() {
    while (!server_->is_running()) {
        std::this_thread::yield();
    }
    stopping_ = true;
    server_->stop();
}

void WorkbenchService::answer(httplib::Response& res, int status, const nlohmann::ordered_json& data,
                              const std::string& msg) {
    const nlohmann::ordered_json envelope{{"status", status}, {"data", data}, {"msg", msg}};
    res.set_content(envelope.dump(), "application/json; charset=utf-8");
}

std::string WorkbenchService::origin(const httplib::Request& req) const {
    const std::string host = req.get_header_value("Host");
    return scheme_ + "://" + (host.empty() ? std::string("127.0.0.1") : host);
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

bool WorkbenchService::answerSignedOut(const httplib::Request& req, httplib::Response& res) {
    std::lock_guard lock(mutex_);
    if (signedOutAnswer_.empty() || !session(req, res).user.empty()) {
        return false;
    }
    if (signedOutAnswer_ == "redirect") {
        res.set_redirect("/desktop/site/loginPage");
        return true;
    }
    std::string body = "<p>登录已过期，请重新登录。</p>";
    if (signedOutAnswer_ == "command") {
        body += "<script>location.href = 'happ://MyCMD.CMD%20%22sessionEnded%22/';</script>";
    } else {
        res.status = 401;
    }
    res.set_content(page("未登录", body), "text/html; charset=utf-8");
    return true;
}

std::string WorkbenchService::announceScript() const {
    const std::string announce = "location.href = 'happ://MyCMD.CMD%20%22loading%22/';";
    const int delay = announceDelay_;
    return "window.addEventListener('load', function () { " +
           (delay > 0 ? "setTimeout(function () { " + announce + " }, " + std::to_string(delay) + ");" : announce) +
           " });\n";
}

std::string WorkbenchService::workbenchPage(const std::string& path) const {
    // The title of the menu item whose page lies in the same folder ("/desktop/staff/").
    std::string title = "工作台";
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    for (const char* menu : {"topMenu", "leftMenu"}) {
        for (const auto& item : data_["config"][menu]) {
            if (item.value("url", "").rfind(folder, 0) == 0) {
                title = item.value("name", title);
            }
        }
    }
    std::string detail = path.substr(path.rfind('/') + 1);
    detail = detail == "index" ? "全部记录" : detail == "leave" ? "请假申请" : detail;
    static const char* rows[][4] = {{"20261208-031", "杭州云岫科技", "处理中", "12-08 14:30"},
                                    {"20261207-118", "宁波海曙贸易", "已完成", "12-07 16:05"},
                                    {"20261207-102", "苏州澄湖电子", "待审核", "12-07 10:12"},
                                    {"20261206-087", "上海浦江物流", "已完成", "12-06 09:48"},
                                    {"20261205-064", "南京栖霞建材", "已退回", "12-05 17:20"}};
    std::string table;
    for (const auto& row : rows) {
        table += std::string("<tr><td>") + row[0] + "</td><td>" + row[1] + "</td><td><span class='st'>" + row[2] +
                 "</span></td><td>" + row[3] + "</td></tr>";
    }
    return R"HTML(<!doctype html><html lang="zh-CN"><head><meta charset="utf-8"><title>)HTML" + title +
           R"HTML(</title><style>
*{box-sizing:border-box}body{margin:0;font-family:'Noto Sans CJK SC','Microsoft YaHei',sans-serif;background:#F4F6F9;color:#333}
.wrap{padding:22px 26px}h1{font-size:20px;margin:0 0 4px;color:#333}.crumb{color:#888;font-size:13px;margin:0 0 16px}
.bar{display:flex;gap:10px;margin-bottom:14px}.bar input{flex:1;max-width:280px;border:1px solid #DDE3EA;border-radius:4px;padding:7px 10px}
.bar button{background:#1B9BEA;color:#fff;border:0;border-radius:4px;padding:7px 18px}
.bar .ghost{border:1px solid #1B9BEA;color:#1B9BEA;border-radius:4px;padding:6px 14px;text-decoration:none;font-size:13px}
.bar .link{color:#1B9BEA;font-size:13px;align-self:center;text-decoration:none}
table{width:100%;border-collapse:collapse;background:#fff;border-radius:8px;overflow:hidden;box-shadow:0 1px 4px rgba(0,0,0,.06)}
th{background:#F7F9FB;color:#666;font-weight:normal;font-size:13px;text-align:left;padding:10px 14px}
td{padding:10px 14px;border-top:1px solid #F0F0F0;font-size:13px}.st{font-size:12px;padding:1px 8px;border-radius:10px;background:#E6F4FD;color:#1B9BEA}
</style></head><body><div class="wrap"><h1 id="title">)HTML" +
           title + "</h1><p class=\"crumb\">工作台 / " + title + " / <span id=\"detail\">" + detail +
           R"HTML(</span></p>
<div class="bar"><input placeholder="搜索编号或名称"><button>查询</button>
<a class="btn ghost" id="export" href="/export/records.csv?title=)HTML" +
           httplib::detail::encode_query_param(title) + R"HTML(">导出 Excel</a>
<a class="link" id="help" target="_blank" href="/about/">帮助</a>
<a class="link" id="site" target="_blank" href="https://velmora.example/">官方网站</a></div>
<table><tr><th>编号</th><th>名称</th><th>状态</th><th>更新时间</th></tr>)HTML" +
           table + R"HTML(</table></div><script>
)HTML" + announceScript() + R"HTML(</script></body></html>)HTML";
}

void WorkbenchService::routes() {
    // The client POSTs; a browser GETs. Both are answered alike.
    auto endpoint = [this](const std::string& path, auto handler) {
        auto locked = [this, handler, path](const httplib::Request& req, httplib::Response& res) {
            {
                std::lock_guard lock(mutex_);
                Session& s = session(req, res);
                handler(req, res, s);
            }
            // After /dev/hang-logout?ms=N the logout, already counted, is answered that late.
            for (int waited = 0; path == "/desktop/site/logout" && waited < logoutDelay_ && !stopping_; waited += 50) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        };
        server_->Post(path, locked);
        server_->Get(path, locked);
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

    // The workbench start page; it tells the client it has loaded through a happ address.
    server_->Get("/desktop/site/index", [this](const httplib::Request& req, httplib::Response& res) {
        if (answerSignedOut(req, res)) {
            return;
        }
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
.time{float:right;color:#AAA;font-size:12px}a{color:#1B9BEA;text-decoration:none}a:hover{text-decoration:underline}
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
<div class="panel"><h3>快捷入口</h3><ul>
<li><a id="go-leave" href="happ://MyCMD.CMD%20%22staff%22,%22!desktop!staff!leave%22/">请假申请</a><span class="time">员工考勤</span></li>
<li><a id="go-system" href="happ://MyCMD.CMD%20%22system%22/">系统设置</a><span class="time">第二页菜单</span></li>
<li><a id="go-approve" href="happ://MyCMD.CMD%20%22approve%22/">审批流程</a><span class="time">待审批 3</span></li>
<li><a id="go-settings" href="happ://MyCMD.CMD%20%22sys%22/">客户端设置</a><span class="time">Kivo</span></li>
<li><a id="go-forum" href="happ://MyCMD.CMD%20%22bbsvelmora%22/">用户论坛</a><span class="time">交流与帮助</span></li>
<li><a id="notify" href="#">审批提醒</a><span class="time">桌面通知演示</span></li></ul>
<h3 style="margin-top:14px">公告通知</h3><ul>
<li>年终盘点将于 12 月 20 日开始</li><li>新版考勤制度已发布，请查阅</li></ul></div></div>
</div><script>
)HTML" + announceScript() + R"HTML(// A desktop notification, as the workbench sends one when an approval arrives; its click opens
// the approvals.
document.getElementById('notify').addEventListener('click', function (event) {
  event.preventDefault();
  Notification.requestPermission().then(function (permission) {
    if (permission !== 'granted') { return; }
    var n = new Notification('审批提醒', {body: '采购申请：办公电脑 5 台，等待您审批', tag: 'approve'});
    n.onclick = function () { location.href = 'happ://MyCMD.CMD%20%22approve%22/'; };
  });
});
</script></body></html>)HTML",
                        "text/html; charset=utf-8");
    });

    // The service's own sign-in page, where a signed-out page is sent after /dev/expire?answer=redirect.
    server_->Get("/desktop/site/loginPage", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("未登录", "<p>登录已过期，请重新登录。</p>"), "text/html; charset=utf-8");
    });
    // Every other workbench page: the item's name as its title, a table of records, and the
    // happ "loading" once loaded, as the start page.
    server_->Get(R"(/desktop/(\w+)/(\w+))", [this](const httplib::Request& req, httplib::Response& res) {
        if (const int slow = pageDelay_; slow > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(slow));
        }
        {
            std::lock_guard lock(mutex_);
            pageLanguage_ = req.get_header_value("Accept-Language");
        }
        if (answerSignedOut(req, res)) {
            return;
        }
        res.set_content(workbenchPage(req.path), "text/html; charset=utf-8");
    });

    server_->Get("/user/site/reg", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("新用户注册", "<p>请联系贵公司的管理员开通 Velmora 工作台账号。</p>"),
                        "text/html; charset=utf-8");
    });
    server_->Get("/user/site/getPasswordStep1", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("找回密码", "<p>第一步：输入注册手机号，我们会发送验证码帮助您重设密码。</p>"),
                        "text/html; charset=utf-8");
    });
    server_->Get("/about/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("关于 Velmora", "<p>Velmora 工作台：连接团队，协同办公，数据随行。</p>"),
                        "text/html; charset=utf-8");
    });
    server_->Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("Velmora 工作台", "<p>欢迎使用 Velmora 工作台。</p>"), "text/html; charset=utf-8");
    });
    server_->set_mount_point("/static", (dataDir_ / "static").string());
    server_->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
        if (req.path.rfind("/static/menu/", 0) == 0) {
            std::lock_guard lock(iconMutex_);
            ++iconRequests_[req.path];
        }
        if (const int slow = avatarDelay_; slow > 0 && req.path.rfind("/static/avatar/", 0) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(slow));
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    // Development only: confirm a QR sign-in as the phone app would, read the last SMS code.
    server_->Get("/dev/qr/confirm", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        const auto it = sessions_.find(req.get_param_value("session"));
        if (it == sessions_.end() || !it->second.qrShown) {
            answer(res, 0, nullptr, "二维码无效");
            return;
        }
        it->second.qrConfirmed = true;
        answer(res, 1, nullptr, "已确认登录");
    });
    server_->Get("/dev/qr/confirm-all", [this](const httplib::Request&, httplib::Response& res) {
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
    server_->Get("/dev/happ", [](const httplib::Request&, httplib::Response& res) {
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
    // Development only: a page whose own link sends a command and whose frame (any address, for
    // example one of another origin) may try to.
    server_->Get("/dev/happ-cross", [](const httplib::Request& req, httplib::Response& res) {
        const std::string frame = req.get_param_value("frame");
        if (frame.find_first_of("\"<>&") != std::string::npos) {
            res.status = 400;
            return;
        }
        res.set_content("<!doctype html><html><head><meta charset=\"utf-8\"><title>cross</title></head><body>"
                        "<a id=\"own\" href=\"happ://CMD%20%22own%22/\">own</a>"
                        "<iframe id=\"frame\" src=\"" +
                            frame + "\"></iframe></body></html>",
                        "text/html; charset=utf-8");
    });
    server_->Get("/dev/happ-frame", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"HTML(<!doctype html><html><body>
<a id="inner" href="happ://CMD%20%22frame%22,%20%22%E4%B8%AD%22/">frame</a>
</body></html>)HTML",
                        "text/html; charset=utf-8");
    });
    // An export of the records as a spreadsheet (CSV with a BOM, which spreadsheets read as UTF-8)
    // named after the page: ?rows= its length, ?delay= milliseconds between its parts (a slow
    // network), ?cut=1 breaks the connection halfway.
    server_->Get("/export/records.csv", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string title = req.has_param("title") ? req.get_param_value("title") : "工作台";
        const int rows =
            req.has_param("rows") ? std::clamp(std::atoi(req.get_param_value("rows").c_str()), 1, 1000000) : 200;
        const int delay = std::clamp(std::atoi(req.get_param_value("delay").c_str()), 0, 5000);
        const bool cut = req.get_param_value("cut") == "1";
        auto body = std::make_shared<std::string>("\xEF\xBB\xBF编号,名称,状态,金额\r\n");
        static const char* names[] = {"杭州云岫科技", "宁波海曙贸易", "苏州澄湖电子", "上海浦江物流", "南京栖霞建材"};
        static const char* states[] = {"处理中", "已完成", "待审核", "已退回"};
        for (int i = 0; i < rows; ++i) {
            *body += "2026" + std::to_string(100000 + i) + "," + names[i % 5] + "," + states[i % 4] + "," +
                     std::to_string(1000 + (i * 37) % 9000) + ".00\r\n";
        }
        const std::string name = title + "报表.csv";
        res.set_header("Content-Disposition", "attachment; filename=\"records.csv\"; filename*=UTF-8''" +
                                                  httplib::detail::encode_query_param(name));
        res.set_content_provider(body->size(), "text/csv; charset=utf-8",
                                 [this, body, delay, cut](size_t offset, size_t length, httplib::DataSink& sink) {
                                     if (cut && offset >= body->size() / 2) {
                                         return false;
                                     }
                                     const size_t part = std::min<size_t>(length, delay > 0 ? 4096 : length);
                                     if (delay > 0 && offset > 0) {
                                         for (int waited = 0; waited < delay && !stopping_; waited += 20) {
                                             std::this_thread::sleep_for(std::chrono::milliseconds(20));
                                         }
                                     }
                                     return !stopping_ && sink.write(body->data() + offset, part);
                                 });
    });
    // Development only: a page that fails with the status its path names (/dev/fail/502).
    server_->Get(R"(/dev/fail/(\d{3}))", [](const httplib::Request& req, httplib::Response& res) {
        res.status = std::stoi(req.matches[1]);
        res.set_content(page("出错了", "<p>The stand-in service was asked to fail.</p>"), "text/html; charset=utf-8");
    });
    // Development only: a page that never finishes loading (it sends a start, then waits).
    server_->Get("/dev/never", [this](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/html; charset=utf-8", [this](size_t offset, httplib::DataSink& sink) {
            if (offset == 0) {
                const std::string start = "<!doctype html><html><head><title>never</title></head><body>";
                sink.write(start.data(), start.size());
            }
            for (int i = 0; i < 600 && sink.is_writable() && !stopping_; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            return false;
        });
    });
    // Development only: an office form of the kind workbenches are full of: a file to attach, a
    // confirm() before submitting and an alert() after; the page's title says what was answered.
    server_->Get("/dev/office", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(page("请假申请", R"HTML(<form id="form"><p>附件：<input type="file" id="file"></p>
<p><button type="submit" id="submit">提交</button></p></form>
<script>
document.getElementById('form').addEventListener('submit', function (event) {
  event.preventDefault();
  var yes = confirm('确定提交吗？');
  document.title = yes ? 'confirmed' : 'cancelled';
  if (yes) { alert('已提交'); document.title = 'submitted'; }
});
</script>)HTML"),
                        "text/html; charset=utf-8");
    });
    // Development only: forgets every session, as a service does after its idle time-out; from
    // then on a workbench page asked for without a signed-in session answers as `answer` says:
    // 401 (the default), redirect (to /desktop/site/loginPage) or command (a page that sends the
    // page command "sessionEnded").
    server_->Get("/dev/expire", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        const std::string how = req.has_param("answer") ? req.get_param_value("answer") : "401";
        if (how != "401" && how != "redirect" && how != "command") {
            res.status = 400;
            answer(res, 0, nullptr, "answer: 401, redirect or command");
            return;
        }
        for (auto& [id, s] : sessions_) {
            s.user.clear();
        }
        signedOutAnswer_ = how;
        answer(res, 1, how);
    });
    // Development only: the logout is answered after this many milliseconds (/dev/hang-logout?ms=10000).
    server_->Get("/dev/hang-logout", [this](const httplib::Request& req, httplib::Response& res) {
        logoutDelay_ = std::clamp(std::atoi(req.get_param_value("ms").c_str()), 0, 60000);
        answer(res, 1, logoutDelay_.load());
    });
    server_->Get("/dev/sms", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        const auto it = smsCodes_.find(req.get_param_value("mobile"));
        answer(res, it == smsCodes_.end() ? 0 : 1, it == smsCodes_.end() ? "" : it->second);
    });

    // Development only: pages announce "loading" this many milliseconds after they loaded, as real
    // pages do once their own scripts are ready, and the workbench pages (not the start page) are
    // answered after `page` milliseconds, the avatars after `avatar` (/dev/announce?delay=150&page=400).
    server_->Get("/dev/announce", [this](const httplib::Request& req, httplib::Response& res) {
        announceDelay_ = std::clamp(std::atoi(req.get_param_value("delay").c_str()), 0, 10000);
        pageDelay_ = std::clamp(std::atoi(req.get_param_value("page").c_str()), 0, 10000);
        avatarDelay_ = std::clamp(std::atoi(req.get_param_value("avatar").c_str()), 0, 10000);
        answer(res, 1, announceDelay_.load());
    });
    // Development only: makes top item N the current one (1-based) with a new configuration stamp,
    // so that a client downloads it again (/dev/current-top?index=2).
    server_->Get("/dev/current-top", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex_);
        auto& top = data_["config"]["topMenu"];
        const int index = std::atoi(req.get_param_value("index").c_str());
        for (size_t i = 0; i < top.size(); ++i) {
            top[i]["current"] = static_cast<int>(i) + 1 == index ? 1 : 0;
        }
        data_["config"]["time"] = data_["config"]["time"].get<std::string>() + "-" + std::to_string(index);
        answer(res, 1, index);
    });

    // Development only: what the service has seen, for tests and for a curious developer.
    server_->Get("/dev/state", [this](const httplib::Request&, httplib::Response& res) {
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
        int icons = 0;
        int iconsTwice = 0;
        {
            std::lock_guard iconLock(iconMutex_);
            for (const auto& [path, count] : iconRequests_) {
                icons += count;
                iconsTwice += count > 1 ? 1 : 0;
            }
        }
        answer(res, 1,
               {{"logouts", logouts_},
                {"sessions", sessions_.size()},
                {"signedIn", signedIn},
                {"qrShown", qrShown},
                {"iconRequests", icons},
                {"iconsRequestedTwice", iconsTwice},
                {"pageLanguage", pageLanguage_}});
    });

    server_->set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.status == 404) {
            answer(res, 0, nullptr, "页面不存在");
        }
    });
}

} // namespace kivo::devservice
