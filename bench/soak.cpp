// A long day: the program's windows with the real browser against the stand-in service, signed in
// and used as a person would for N rounds (bench/soak runs it on a virtual display):
//   kivo_soak [ROUNDS]   (2000 by default)
// Each round: a left menu item, a top item, a start-page quick link that sends a page command, the
// settings window opened and closed, the main window hidden and shown again. Every 100 rounds one
// line: the process tree's PSS, this process's open descriptors and threads, the icon requests the
// service has seen and how many icons it was asked for twice; then the growth from round 100.
#include "bridge/hacmd.h"
#include "chrome/formregistry.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "mainwin/home.h"
#include "platform/net/curlhttpsession.h"
#include "platform/web/webenginebrowser.h"
#include "settings/sys.h"
#include "signin/login.h"
#include "tray/trayform.h"
#include "waitfor.h"

#include <QApplication>
#include <QDir>
#include <QWebEngineView>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

using namespace kivo;

struct Sample {
    double pssMb = 0;
    int descriptors = 0;
    int threads = 0;
    int iconRequests = 0;
    int iconsTwice = 0;
};

double treePssMb(int pid) {
    double kb = 0;
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(rollup, line);) {
        if (line.rfind("Pss:", 0) == 0) {
            kb += std::stod(line.substr(4));
        }
    }
    std::ifstream children("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    for (int child; children >> child;) {
        kb += treePssMb(child) * 1024;
    }
    return kb / 1024;
}

int entries(const std::string& folder) {
    std::error_code error;
    int count = 0;
    for (auto it = std::filesystem::directory_iterator(folder, error); !error && it != std::filesystem::directory_iterator();
         it.increment(error)) {
        ++count;
    }
    return count;
}

int stateNumber(const std::string& state, const char* name) {
    std::smatch match;
    return std::regex_search(state, match, std::regex(std::string("\"") + name + "\":(\\d+)")) ? std::stoi(match[1])
                                                                                               : -1;
}

Sample sample(const std::string& service) {
    Sample s;
    s.pssMb = treePssMb(static_cast<int>(QCoreApplication::applicationPid()));
    s.descriptors = entries("/proc/self/fd");
    s.threads = entries("/proc/self/task");
    platform::CurlHttpSession other;
    const auto state = other.get(service + "/dev/state");
    const std::string body = state ? state->body : std::string();
    s.iconRequests = stateNumber(body, "iconRequests");
    s.iconsTwice = stateNumber(body, "iconsRequestedTwice");
    return s;
}

bool settled(mainwin::home* w) {
    auto* view = qobject_cast<QWebEngineView*>(test::find(w, "web"));
    return test::waitFor([&] { return !test::find(w, "loadingWeb")->isVisible() && !view->page()->isLoading(); },
                         15000);
}

int run(int rounds) {
    test::StandInService service;
    QTemporaryDir appDir;
    test::PrepareClient(service.url(), appDir);
    signin::login::SetShowMainWindow([](QScreen*) { mainwin::home::Instance()->show(); });
    bridge::HACMD::SetCommandHandler(
        [](const bridge::HACMD::Arguments& a) { mainwin::home::Instance()->CMD(a[0], a[1], a[2], a[3], a[4], a[5]); });
    mainwin::home::SetShowSettings([](QWidget* owner) { settings::sys::Show(owner); });
    startup::State().endStatus = "0";
    (new tray::TrayForm)->Load();
    mainwin::home* w = test::SignInAsDemo<signin::login, mainwin::home>();
    if (w == nullptr || !settled(w)) {
        std::fprintf(stderr, "soak: the sign-in did not open the workbench\n");
        return 1;
    }
    auto* view = qobject_cast<QWebEngineView*>(test::find(w, "web"));
    auto click = [&](const QString& name) {
        QWidget* control = w->findChild<QWidget*>(name);
        if (control != nullptr && control->isVisible()) {
            QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, 5));
        }
        return settled(w);
    };
    Sample first;
    int stuck = 0;
    std::printf("round pss_mb fds threads icon_requests icons_requested_twice\n");
    for (int round = 1; round <= rounds; ++round) {
        bool ok = click("topMenuBtn(2)"); // the workbench: the left menu
        ok = click(QString("leftMenuBtn(%1)").arg(round % 8 + 1)) && ok;
        ok = click(QString("topMenuBtn(%1)").arg(round % 2 == 0 ? 3 : 4)) && ok;
        ok = click("topMenuBtn(1)") && ok; // the start page and its quick link, a page command
        view->page()->runJavaScript("document.getElementById('go-approve').click()");
        ok = test::waitFor([&] { return w->menus().currentTopIndex == 2; }, 5000) && settled(w) && ok;
        // The settings window, opened as the start page's link opens it, and closed.
        w->CMD(u"sys", u"");
        if (chrome::Form* settingsWindow = chrome::FindForm("sys")) {
            settingsWindow->Unload();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Into the tray and back.
        click("home_close");
        tray::RestoreForm("home");
        ok = test::waitFor([&] { return w->isVisible(); }, 5000) && ok;
        stuck += ok ? 0 : 1;
        if (round % 100 == 0) {
            QTest::qWait(300);
            const Sample s = sample(service.url());
            if (round == 100) {
                first = s;
            }
            std::printf("%d %.1f %d %d %d %d\n", round, s.pssMb, s.descriptors, s.threads, s.iconRequests,
                        s.iconsTwice);
            std::fflush(stdout);
            if (round == rounds && rounds > 100) {
                std::printf("from round 100: PSS %+.1f %% (goal at most +5 %%), descriptors %+d, threads %+d, "
                            "icons requested twice %d, rounds that did not settle %d\n",
                            100.0 * (s.pssMb - first.pssMb) / first.pssMb, s.descriptors - first.descriptors,
                            s.threads - first.threads, s.iconsTwice, stuck);
            }
        }
    }
    chrome::UnloadAllForms();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    kivo::platform::WebEngineBrowser::RegisterSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    kivo::chrome::FormRegistry::instance().setProgramEnd([] {});
    return run(argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000);
}
