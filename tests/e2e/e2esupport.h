#pragma once

#include "workbenchservice.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QtTest/QTest>

#include <memory>
#include <thread>

namespace kivo::test {

// The stand-in service, in this process, on a free port of 127.0.0.1.
class StandInService {
public:
    explicit StandInService(int autoConfirmPolls = 0)
        : service_(std::make_unique<devservice::WorkbenchService>(KIVO_DEVSERVICE_DATA, autoConfirmPolls)) {
        port_ = service_->bind(0);
        thread_ = std::thread([this] { service_->run(); });
    }
    ~StandInService() {
        service_->stop();
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    std::unique_ptr<devservice::WorkbenchService> service_;
    std::thread thread_;
    int port_ = 0;
};

// Waits for what happens outside our event loop (the browser's process, the X server),
// serving events meanwhile.
template <typename F> bool waitFor(F condition, int ms = 15000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QTest::qWait(50);
    }
    return true;
}

inline bool saveScreenshot(const QString& name) {
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    return shot.save("screenshots/" + name + ".png");
}

} // namespace kivo::test
