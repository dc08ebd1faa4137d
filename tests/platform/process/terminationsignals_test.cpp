// The desktop's ending signals become one event of the event loop; a second ends the process.
#include "platform/process/terminationsignals.h"
#include "waitfor.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>
#include <vector>

namespace kivo::platform {
namespace {

TEST(TerminationSignals, EachEndingSignalReachesTheEventLoopOnce) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        TerminationSignals endSignals;
        std::vector<int> received;
        QObject::connect(&endSignals, &TerminationSignals::received, [&](int s) { received.push_back(s); });
        ASSERT_EQ(kill(getpid(), signal), 0);
        EXPECT_TRUE(received.empty()) << "nothing but a write runs inside the handler";
        EXPECT_TRUE(test::waitFor([&] { return !received.empty(); }, 5000));
        QCoreApplication::processEvents();
        EXPECT_EQ(received, std::vector<int>{signal});
    }
}

TEST(TerminationSignalsDeathTest, ASecondSignalDuringTheOrderlyEndEndsAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TerminationSignals endSignals;
            raise(SIGTERM); // the orderly end begins, in the event loop that never comes here
            raise(SIGINT);
            std::_Exit(3);
        },
        testing::ExitedWithCode(128 + SIGINT), "");
}

} // namespace
} // namespace kivo::platform
