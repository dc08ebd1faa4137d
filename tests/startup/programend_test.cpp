// The end the desktop asks for, with the watchdog's clock in the test's hands.
#include "startup/programend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kivo::startup {
namespace {

using namespace std::chrono_literals;

// What the steps did, in order, and a clock that sleeps until the test lets it wake.
struct Record {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> steps;
    std::vector<std::chrono::milliseconds> sleeps;
    int wakes = 0;

    void add(const std::string& step) {
        const std::lock_guard lock(mutex);
        steps.push_back(step);
        changed.notify_all();
    }
    void sleep(std::chrono::milliseconds time) {
        std::unique_lock lock(mutex);
        sleeps.push_back(time);
        changed.notify_all();
        const auto mine = static_cast<int>(sleeps.size());
        // Not for ever: a watchdog on the caller's thread must fail the test, not hang it.
        changed.wait_for(lock, 3s, [&] { return wakes >= mine; });
    }
    void wake() {
        const std::lock_guard lock(mutex);
        ++wakes;
        changed.notify_all();
    }
    template <typename Condition> bool waitFor(Condition condition) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 5s, condition);
    }
};

TEST(ProgramEnd, TheOrderlyEndRunsAtOnceWhileTheWatchdogBoundsItThenEndsTheProgram) {
    auto record = std::make_shared<Record>();
    ProgramEnd end({
        .orderly = [record] { record->add("orderly"); },
        .rememberPlace = [record] { record->add("place"); },
        .abortRequests = [record] { record->add("abort"); },
        .exitNow = [record] { record->add("exit"); },
        .sleep = [record](std::chrono::milliseconds time) { record->sleep(time); },
    });

    end.Begin(15);
    // Begin came back while the watchdog sleeps: the GUI thread is never held.
    ASSERT_TRUE(record->waitFor([&] { return record->sleeps.size() == 1; }));
    EXPECT_EQ(record->steps, std::vector<std::string>{"orderly"});

    record->wake();
    ASSERT_TRUE(record->waitFor([&] { return record->sleeps.size() == 2; }));
    EXPECT_EQ(record->steps, (std::vector<std::string>{"orderly", "abort"})) << "the logout is abandoned first";
    record->wake();
    ASSERT_TRUE(record->waitFor([&] { return record->steps.size() == 3; }));
    EXPECT_EQ(record->steps.back(), "exit");

    // The README's promise: the end within 3 seconds, the logout given part of them.
    const auto total = record->sleeps[0] + record->sleeps[1];
    EXPECT_LE(total, 3000ms);
    EXPECT_GE(record->sleeps[0], 1000ms) << "a logout that answers in time is not cut";
    EXPECT_GT(record->sleeps[1], 0ms);

    end.SaveSession();
    EXPECT_EQ(record->steps.back(), "place") << "the session manager's save writes the place";
}

} // namespace
} // namespace kivo::startup
