// The stand-in's workbench pages: the start page, every menu item's page, the service's own
// sign-in, registration and about pages, the static files (menu icons, avatars) and the export.
#include "workbenchservice.h"

#include <chrono>
#include <thread>

namespace kivo::devservice {

void WorkbenchService::pageRoutes() {
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
        res.set_content(Page("未登录", "<p>登录已过期，请重新登录。</p>"), "text/html; charset=utf-8");
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
        res.set_content(Page("新用户注册", "<p>请联系贵公司的管理员开通 Velmora 工作台账号。</p>"),
                        "text/html; charset=utf-8");
    });
    server_->Get("/user/site/getPasswordStep1", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(Page("找回密码", "<p>第一步：输入注册手机号，我们会发送验证码帮助您重设密码。</p>"),
                        "text/html; charset=utf-8");
    });
    server_->Get("/about/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(Page("关于 Velmora", "<p>Velmora 工作台：连接团队，协同办公，数据随行。</p>"),
                        "text/html; charset=utf-8");
    });
    server_->Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(Page("Velmora 工作台", "<p>欢迎使用 Velmora 工作台。</p>"), "text/html; charset=utf-8");
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
}

} // namespace kivo::devservice
