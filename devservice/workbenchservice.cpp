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
    const std::filesystem::path file = dataDir / "workbench.json";
    std::ifstream in(file);
    if (!std::filesystem::is_regular_file(file) || !in) {
        dataProblem_ = "cannot read its data file " + file.string();
    } else {
        try {
            data_ = nlohmann::ordered_json::parse(in);
        } catch (const nlohmann::json::parse_error& e) {
            dataProblem_ = "its data file " + file.string() + " is not JSON: " + e.what();
        }
    }
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

std::string WorkbenchService::Page(const std::string& title, const std::string& body) {
    return "<!doctype html><html lang='zh-CN'><head><meta charset='utf-8'><title>" + title +
           "</title><style>body{font-family:'Noto Sans CJK SC',sans-serif;background:#EDEDED;margin:0}"
           "main{max-width:640px;margin:60px auto;background:#fff;border-radius:8px;padding:32px 40px;"
           "box-shadow:0 2px 12px rgba(0,0,0,.08)}h1{color:#127FC2;font-size:24px}p{color:#555;line-height:1.7}"
           "</style></head><body><main><h1>" +
           title + "</h1>" + body + "</main></body></html>";
}

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
    res.set_content(Page("未登录", body), "text/html; charset=utf-8");
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

void WorkbenchService::endpoint(const std::string& path, const Endpoint& handler) {
    // The client POSTs; a browser GETs. Both are answered alike.
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
}

void WorkbenchService::routes() {
    signInRoutes();
    pageRoutes();
    devRoutes();
    server_->set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.status == 404) {
            answer(res, 0, nullptr, "页面不存在");
        }
    });
}


} // namespace kivo::devservice
