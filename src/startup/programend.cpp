#include "startup/programend.h"

#include <QtGlobal>

#include <thread>
#include <utility>

namespace kivo::startup {

ProgramEnd::ProgramEnd(Steps steps) : steps_(std::move(steps)) {
    if (!steps_.sleep) {
        steps_.sleep = [](std::chrono::milliseconds time) { std::this_thread::sleep_for(time); };
    }
}

void ProgramEnd::Begin(int signal) {
    qInfo("kivo: signal %d; ending in order", signal);
    // The watchdog keeps its own copy of the steps: it outlives whatever the end unloads.
    std::thread([steps = steps_] {
        steps.sleep(kLogoutLimit);
        if (steps.abortRequests) {
            steps.abortRequests();
        }
        steps.sleep(kEndLimit - kLogoutLimit);
        qWarning("kivo: the orderly end did not finish in time; ending now");
        steps.exitNow();
    }).detach();
    if (steps_.orderly) {
        steps_.orderly();
    }
}

void ProgramEnd::SaveSession() {
    if (steps_.rememberPlace) {
        steps_.rememberPlace();
    }
}

} // namespace kivo::startup
