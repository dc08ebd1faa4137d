// What the end of a page load means, as the browser reports it to the windows.
#include "platform/web/pageloads.h"

#include <gtest/gtest.h>

namespace kivo::platform {
namespace {

using Domain = PageLoads::Domain;
using Kind = LoadOutcome::Kind;
using Status = PageLoads::Status;

const QUrl kItem("http://svc.test/desktop/l1/a");

std::optional<Kind> reported(const PageLoads::Decision& decision) {
    return decision.report ? std::optional<Kind>(decision.report->kind) : std::nullopt;
}

TEST(PageLoads, ADroppedMenuNavigationComesAgainAFewTimesPerNavigation) {
    PageLoads loads;
    loads.asked(kItem);
    for (int round = 1; round <= PageLoads::kMostRestarts; ++round) {
        const auto decision = loads.ended({Status::Stopped, QUrl("http://svc.test/desktop/l1/a/"), Domain::None, 0}, {});
        EXPECT_TRUE(decision.restart) << "round " << round << ", the same address with its slash";
        EXPECT_EQ(reported(decision), Kind::Restarted) << "the window covers it until it announces itself";
    }
    EXPECT_FALSE(loads.ended({Status::Stopped, kItem, Domain::None, 0}, {}).restart) << "not for ever";
    loads.asked(kItem); // asked for again: its own restarts
    EXPECT_TRUE(loads.ended({Status::Failed, kItem, Domain::Internal, -3}, {}).restart) << "aborted is dropped too";

    // A load that "fails" with no error is no failure, and another page's drop is not ours to retry.
    const auto noError = loads.ended({Status::Failed, QUrl("http://svc.test/other"), Domain::None, 0}, {});
    EXPECT_FALSE(noError.restart);
    EXPECT_FALSE(noError.report.has_value());
}

TEST(PageLoads, APageThatGoesElsewhereByItselfIsNotPulledBack) {
    PageLoads loads;
    loads.asked(kItem);
    loads.goes(QUrl("http://svc.test/desktop/l1/a/")); // the target itself, as the engine writes it
    EXPECT_EQ(loads.target(), kItem);
    loads.goes(QUrl("http://svc.test/desktop/l1/b")); // a link on the page
    EXPECT_FALSE(loads.ended({Status::Stopped, kItem, Domain::None, 0}, {}).restart);
    loads.asked(kItem);
    loads.forget(); // content the program wrote replaces it
    EXPECT_FALSE(loads.ended({Status::Stopped, kItem, Domain::None, 0}, {}).restart);
}

TEST(PageLoads, FailuresSayWhy) {
    PageLoads loads;
    struct Row {
        Domain domain;
        int code;
        Kind kind;
    };
    for (const Row& row : {Row{Domain::Http, 502, Kind::HttpError}, Row{Domain::Certificate, -202, Kind::Certificate},
                           Row{Domain::Dns, -105, Kind::NameNotResolved}, Row{Domain::Connection, -105, Kind::NameNotResolved},
                           Row{Domain::Connection, -118, Kind::TimedOut}, Row{Domain::Connection, -102, Kind::NoConnection},
                           Row{Domain::Connection, -130, Kind::Proxy}, Row{Domain::Connection, -111, Kind::Proxy},
                           Row{Domain::Internal, -7, Kind::TimedOut}, Row{Domain::Other, -2, Kind::Other}}) {
        const auto decision = loads.ended({Status::Failed, kItem, row.domain, row.code}, "proxy.corp:3128");
        ASSERT_TRUE(decision.report.has_value()) << row.code;
        EXPECT_EQ(decision.report->kind, row.kind) << row.code;
        EXPECT_FALSE(decision.restart);
        EXPECT_EQ(decision.report->proxy, row.kind == Kind::Proxy ? "proxy.corp:3128" : "") << row.code;
        EXPECT_EQ(decision.report->httpStatus, row.kind == Kind::HttpError ? 502 : 0);
    }
    EXPECT_EQ(reported(loads.ended({Status::Succeeded, kItem, Domain::None, 0}, {})), Kind::Loaded);
}

} // namespace
} // namespace kivo::platform
