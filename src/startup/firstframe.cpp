#include "startup/firstframe.h"

#include <QPointer>
#include <QTimer>

#include <utility>
#include <vector>

namespace kivo::startup {

namespace {

struct Waiting {
    bool expected = false;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> work;
};

Waiting& waiting() {
    static Waiting state;
    return state;
}

} // namespace

void FirstFrame::Expect() {
    waiting().expected = true;
    QTimer::singleShot(2000, [] { Painted(); }); // a window that never paints holds nothing back
}

void FirstFrame::Then(QObject* context, std::function<void()> work) {
    if (waiting().expected) {
        waiting().work.emplace_back(context, std::move(work));
        return;
    }
    QTimer::singleShot(0, context, std::move(work));
}

void FirstFrame::Painted() {
    waiting().expected = false;
    for (auto& [context, work] : std::exchange(waiting().work, {})) {
        if (context) {
            QTimer::singleShot(0, context, std::move(work));
        }
    }
}

} // namespace kivo::startup
