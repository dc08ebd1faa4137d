#pragma once

#include "chrome/fonts.h"
#include "chrome/pagedialogs.h"
#include "findcontrol.h"
#include "platform/net/curlhttpsession.h"
#include "platform/web/webenginebrowser.h"
#include "platform/web/webenginecookiestore.h"
#include "service/httprequest.h"
#include "startup/networksetup.h"
#include "startup/runparameters.h"
#include "waitfor.h"
#include "workbenchservice.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <cstdlib>
#include <memory>
#include <thread>

namespace kivo::test {

// The stand-in service, in this process, on a free port of 127.0.0.1.
class StandInService {
public:
    // With a certificate and its key, over HTTPS.
    explicit StandInService(int autoConfirmPolls = 0, std::string certificate = {}, std::string key = {})
        : autoConfirmPolls_(autoConfirmPolls), certificate_(std::move(certificate)), key_(std::move(key)) {
        start();
    }
    ~StandInService() { stop(); }
    // Closes the port, as a service that went down; start() opens it again, on the same port.
    void stop() {
        if (service_) {
            service_->stop();
            thread_.join();
            service_.reset();
        }
    }
    void start() {
        service_ =
            std::make_unique<devservice::WorkbenchService>(KIVO_DEVSERVICE_DATA, autoConfirmPolls_, certificate_, key_);
        port_ = service_->bind(port_);
        thread_ = std::thread([this] { service_->run(); });
    }
    // Serves another certificate from now on, on the same port.
    void restartWith(std::string certificate, std::string key) {
        stop();
        certificate_ = std::move(certificate);
        key_ = std::move(key);
        start();
    }
    std::string url(const std::string& host = "127.0.0.1") const {
        return (certificate_.empty() ? "http://" : "https://") + host + ":" + std::to_string(port_);
    }

private:
    std::unique_ptr<devservice::WorkbenchService> service_;
    std::thread thread_;
    int autoConfirmPolls_ = 0;
    std::string certificate_;
    std::string key_;
    int port_ = 0;
};

// The client as start-up leaves it, for a fresh application folder that holds the loading
// animation: the real browser and cookie store, the run parameters read, the service's address.
// The network is chosen as the program chooses it: for `caFile` and `proxy` (the options) and the
// process environment.
inline void PrepareClient(const std::string& baseUrl, const QTemporaryDir& appDir, const std::string& caFile = {},
                          const std::string& proxy = {}) {
    QDir(appDir.path()).mkpath("img");
    QFile::copy(KIVO_LOADING_GIF, appDir.filePath("img/loding.gif"));
    chrome::InstallFontSubstitutes();
    QDir().mkpath("screenshots");
    startup::State() = {};
    startup::State().options.appDir = appDir.path().toStdString();
    startup::State().options.baseUrl = baseUrl;
    startup::State().options.caFile = caFile;
    startup::State().options.proxy = proxy;
    startup::NetworkSetup::ForThisRun();
    service::Service() = {};
    service::Service().cookieStore = std::make_shared<platform::WebEngineCookieStore>();
    platform::Browsers() = [](QWidget* parent) {
        auto browser = std::make_unique<platform::WebEngineBrowser>(parent);
        chrome::InstallPageDialogs(*browser);
        return browser;
    };
    startup::LoadRunParameters();
}

// Signs in with the demo account's password through `signIn`, an open sign-in window; the main
// window is then up. Returns the sign-in window's successor, the main window, or null, with the
// sign-in window's error message in `message` when it shows one.
template <typename SignIn, typename Home> Home* SignInAsDemoThrough(SignIn* signIn, QString* message = nullptr) {
    if (!QTest::qWaitForWindowExposed(signIn)) {
        return nullptr;
    }
    signIn->SelectPasswordTab();
    find<QLineEdit>(signIn, "username")->setText("demo");
    find<QLineEdit>(signIn, "password")->setText("kivo&2026#");
    // Clicked from inside an event loop, as a person's click arrives: the sign-in window unloads
    // itself there, and a loop the main window runs meanwhile must not delete it under the click.
    QWidget* button = find(signIn, "username_btn");
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); });
    // The sign-in window deletes itself once the main window is up.
    const QPointer<QWidget> window = signIn;
    const QPointer<QWidget> error = find(signIn, "error_box");
    error->hide(); // a message from before this sign-in
    if (!waitFor([&] { return !window || !window->isVisible() || error->isVisible(); })) {
        return nullptr;
    }
    if (window && window->isVisible()) {
        if (message != nullptr) {
            *message = find<QLabel>(signIn, "ErrTip")->text();
        }
        return nullptr;
    }
    Home* home = Home::Existing();
    return home != nullptr && QTest::qWaitForWindowExposed(home) ? home : nullptr;
}

// Opens the sign-in window and signs in as above.
template <typename SignIn, typename Home> Home* SignInAsDemo(QString* message = nullptr) {
    auto* signIn = new SignIn;
    signIn->Load();
    signIn->show();
    return SignInAsDemoThrough<SignIn, Home>(signIn, message);
}

// Runs xdotool with `arguments`; what it printed.
inline QString Xdotool(const QStringList& arguments) {
    QProcess run;
    run.start("xdotool", arguments);
    run.waitForFinished(5000);
    return QString::fromUtf8(run.readAllStandardOutput());
}

// The stand-in's answer to `path` (its development addresses), asked by a client of its own,
// outside the program's session; empty when it does not answer.
inline std::string DevGet(const std::string& base, const std::string& path) {
    platform::CurlHttpSession other;
    const auto answer = other.get(base + path);
    return answer ? answer->body : std::string();
}

// The logouts the stand-in has seen; -1 when it does not answer.
inline int Logouts(const std::string& base) {
    const std::string state = DevGet(base, "/dev/state");
    const auto at = state.find("\"logouts\":");
    return at == std::string::npos ? -1 : std::atoi(state.c_str() + at + 10);
}

inline bool saveScreenshot(const QString& name) {
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    return shot.save("screenshots/" + name + ".png");
}

} // namespace kivo::test
