#include "workbenchservice.h"

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

WorkbenchService::WorkbenchService(const std::filesystem::path& dataDir) {
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

void WorkbenchService::run() { server_.listen_after_bind(); }

void WorkbenchService::stop() {
    while (!server_.is_running()) {
        std::this_thread::yield();
    }
    server_.stop();
}

void WorkbenchService::answer(httplib::Response& res, int status, const nlohmann::ordered_json& data, const std::string& msg) {
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

nlohmann::ordered_json WorkbenchService::userData(const nlohmann::ordered_json& account, const httplib::Request& req) const {
    return {{"nickname", account["nickname"]},
            {"signature", account["signature"]},
            {"companyname", account["companyname"]},
            {"avatar", origin(req) + account["avatar"].get<std::string>()}};
}

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

    endpoint("/desktop/site/logout", [this](const httplib::Request&, httplib::Response& res, Session& s) {
        s.user.clear();
        ++logouts_;
        answer(res, 1, nullptr);
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
        answer(res, 1, {{"logouts", logouts_}, {"sessions", sessions_.size()}, {"signedIn", signedIn}});
    });

    server_.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.status == 404) {
            answer(res, 0, nullptr, "页面不存在");
        }
    });
}

} // namespace kivo::devservice
