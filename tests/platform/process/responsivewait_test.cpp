// Work off the GUI thread while the windows keep painting: what runs during the wait, what waits
// for its end.
#include "platform/process/responsivewait.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace kivo::platform {
namespace {

using namespace std::chrono_literals;

// Work that lasts until the GUI thread has let `ticks` timer ticks through.
void untilTicks(std::atomic<int>& seen, int ticks) {
    const auto give_up = std::chrono::steady_clock::now() + 5s;
    while (seen < ticks && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(1ms);
    }
}

TEST(RunResponsively, TimersRunUnderABusyCursorWhileTheWorkRuns) {
    std::atomic<int> ticks = 0;
    bool runningSeen = false;
    bool busySeen = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        runningSeen = WorkRunning();
        busySeen = QGuiApplication::overrideCursor() != nullptr &&
                   QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
        ++ticks;
    });
    timer.start();
    RunResponsively([&] { untilTicks(ticks, 3); });
    EXPECT_GE(ticks, 3) << "the GUI thread went on while the work ran";
    EXPECT_TRUE(runningSeen);
    EXPECT_TRUE(busySeen);
    EXPECT_FALSE(WorkRunning());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the cursor is restored";
}

TEST(RunResponsively, AnObjectDeletedDuringTheWaitLivesUntilItsEnd) {
    std::atomic<int> ticks = 0;
    QPointer<QObject> menu = new QObject;
    bool aliveAfterWork = false;
    QTimer::singleShot(0, [&] {
        menu->deleteLater();
        ++ticks;
    });
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    RunResponsively([&] { untilTicks(ticks, 4); });
    aliveAfterWork = !menu.isNull();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(aliveAfterWork) << "code up the stack may still use it";
    EXPECT_TRUE(menu.isNull()) << "deleted once the wait is over";
}

TEST(RunResponsively, NestedWaitsAndFailuresReachTheCaller) {
    std::atomic<int> ticks = 0;
    int inner = 0;
    QTimer::singleShot(0, [&] {
        RunResponsively([&] { ++inner; });
        ++ticks;
    });
    RunResponsively([&] { untilTicks(ticks, 1); });
    EXPECT_EQ(inner, 1);
    EXPECT_THROW(RunResponsively([] { throw std::runtime_error("broken"); }), std::runtime_error);
    EXPECT_FALSE(WorkRunning());
}

TEST(RunResponsively, OffTheGuiThreadItRunsInPlace) {
    std::thread::id ranOn;
    std::thread other([&] { RunResponsively([&] { ranOn = std::this_thread::get_id(); }); });
    const auto otherId = other.get_id();
    other.join();
    EXPECT_EQ(ranOn, otherId);
}

} // namespace
} // namespace kivo::platform
