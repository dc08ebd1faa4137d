#pragma once

// The fixture of window tests: a local service, a cookie recorder, fake browsers and a
// recording address opener, and every process-wide setting a window touches put back after
// each test.
#include "chrome/formregistry.h"
#include "fakebrowser.h"
#include "findcontrol.h"
#include "platform/net/curlhttpsession.h"
#include "platform/desktop/trayicon.h"
#include "platform/desktop/urlopener.h"
#include "recordingcookiestore.h"
#include "service/httprequest.h"
#include "startup/runparameters.h"
#include "tempfolder.h"
#include "testserver.h"

#include <QCoreApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kivo::test {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = {service::Service(), startup::State(), platform::Browsers(), platform::NotificationAreaAvailable()};
        platform::NotificationAreaAvailable() = [this] { return trayPresent; };
        service::Service() = {};
        startup::State() = {};
        startup::State().options.appDir = folder.path();
        platform::Browsers() = [this](QWidget* parent) -> std::unique_ptr<platform::Browser> {
            if (noBrowsers) {
                return nullptr;
            }
            auto browser = std::make_unique<FakeBrowser>(parent);
            browser->frameOrigin = QString::fromStdString(service::Service().BaseUrl); // the service's pages
            browsers.push_back(browser.get());
            return browser;
        };
        platform::UrlOpener::setHandler([this](const QString& url) { opened << url; });
        chrome::FormRegistry::instance().setProgramEnd([this] { ++programEnds; });
    }

    void TearDown() override {
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        chrome::FormRegistry::instance().setProgramEnd({});
        platform::UrlOpener::setHandler({});
        service::Service() = saved_.service;
        startup::State() = saved_.state;
        platform::Browsers() = saved_.browsers;
        platform::NotificationAreaAvailable() = saved_.tray;
    }

    /// Starts the local service (add its routes first) and points the client at it.
    void startService() {
        server.start();
        service::Service() = {server.url(), std::make_shared<platform::CurlHttpSession>(), cookies, {}};
    }

    TestServer server;
    TempFolder folder{"window"};
    std::shared_ptr<tools::RecordingCookieStore> cookies = std::make_shared<tools::RecordingCookieStore>();
    std::vector<FakeBrowser*> browsers; // in the order the windows made them
    QStringList opened;                 // addresses handed to the user's browser
    int programEnds = 0;
    bool noBrowsers = false; // the browser factory makes nothing (a browser that cannot start)
    bool trayPresent = true; // the desktop has a notification area

private:
    struct Saved {
        service::ServiceState service;
        startup::ProcessState state;
        platform::BrowserFactory browsers;
        std::function<bool()> tray;
    } saved_;
};

} // namespace kivo::test
