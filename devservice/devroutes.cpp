// The stand-in's development addresses (/dev/...): what a phone, a slow or failing network, an
// expired session or a curious developer would do, and what the service has seen.
#include "workbenchservice.h"

#include <chrono>
#include <thread>

namespace kivo::devservice {

void WorkbenchService::devRoutes() {
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
    // Development only: a page that fails with the status its path names (/dev/fail/502).
    server_->Get(R"(/dev/fail/(\d{3}))", [](const httplib::Request& req, httplib::Response& res) {
        res.status = std::stoi(req.matches[1]);
        res.set_content(Page("出错了", "<p>The stand-in service was asked to fail.</p>"), "text/html; charset=utf-8");
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
        res.set_content(Page("请假申请", R"HTML(<form id="form"><p>附件：<input type="file" id="file"></p>
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
}

} // namespace kivo::devservice
