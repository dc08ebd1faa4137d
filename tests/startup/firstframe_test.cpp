#include "startup/firstframe.h"

#include <QCoreApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace kivo::startup {
namespace {

// Work after the first frame waits for it once a first window is expected, and otherwise only
// for the next turn of the event loop; work whose owner is gone by then is dropped.
TEST(FirstFrame, HoldsWorkUntilTheFirstWindowHasPainted) {
    QStringList ran;
    QObject owner;
    FirstFrame::Then(&owner, [&] { ran << "unexpected"; });
    EXPECT_TRUE(ran.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, QStringList{"unexpected"});

    FirstFrame::Expect();
    FirstFrame::Then(&owner, [&] { ran << "icon"; });
    auto gone = std::make_unique<QObject>();
    FirstFrame::Then(gone.get(), [&] { ran << "gone"; });
    gone.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran.size(), 1) << "waits for the paint";
    FirstFrame::Painted();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, (QStringList{"unexpected", "icon"}));
}

} // namespace
} // namespace kivo::startup
