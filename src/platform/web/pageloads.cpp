#include "platform/web/pageloads.h"

#include <algorithm>
#include <array>

namespace kivo::platform {

namespace {

// Chromium's network error numbers that the user is told about in words of their own.
constexpr int kAborted = -3;
constexpr int kTimedOut = -7;
constexpr int kNameNotResolved = -105;
constexpr int kConnectionTimedOut = -118;
// The proxy refused the tunnel, asked for other credentials, or could not be reached.
constexpr std::array kProxyFailures{-111, -115, -127, -130, -131};

// One address, written with or without the slash that ends an empty path.
bool sameAddress(const QUrl& a, const QUrl& b) {
    return a.adjusted(QUrl::StripTrailingSlash) == b.adjusted(QUrl::StripTrailingSlash);
}

LoadOutcome failureOf(const PageLoads::Ending& ending, const QString& proxy) {
    using Domain = PageLoads::Domain;
    using Kind = LoadOutcome::Kind;
    LoadOutcome outcome{Kind::Other, 0, ending.url.toString(), {}};
    switch (ending.domain) {
    case Domain::Http:
        outcome.kind = Kind::HttpError;
        outcome.httpStatus = ending.code;
        break;
    case Domain::Certificate:
        outcome.kind = Kind::Certificate;
        break;
    case Domain::Dns:
        outcome.kind = Kind::NameNotResolved;
        break;
    case Domain::Connection:
        if (std::find(kProxyFailures.begin(), kProxyFailures.end(), ending.code) != kProxyFailures.end()) {
            outcome.kind = Kind::Proxy;
            outcome.proxy = proxy;
            break;
        }
        outcome.kind = ending.code == kNameNotResolved      ? Kind::NameNotResolved
                       : ending.code == kConnectionTimedOut ? Kind::TimedOut
                                                            : Kind::NoConnection;
        break;
    default:
        outcome.kind = ending.code == kTimedOut ? Kind::TimedOut : Kind::Other;
    }
    return outcome;
}

} // namespace

void PageLoads::asked(const QUrl& url) {
    target_ = url;
    restarts_ = 0;
}

void PageLoads::goes(const QUrl& url) {
    if (!sameAddress(url, target_)) {
        target_.clear();
    }
}

void PageLoads::forget() {
    target_.clear();
}

PageLoads::Decision PageLoads::ended(const Ending& ending, const QString& proxy) {
    if (ending.status == Status::Succeeded) {
        return {LoadOutcome{LoadOutcome::Kind::Loaded, 0, ending.url.toString(), {}}, false};
    }
    // Ended without an error (stopped, aborted, or "failed" with no error at all): another
    // navigation crossed it, no failure. When it was the page asked for, it comes again.
    const bool dropped = ending.status == Status::Stopped || ending.code == kAborted ||
                         (ending.domain == Domain::None && ending.code == 0);
    if (!dropped) {
        return {failureOf(ending, proxy), false};
    }
    if (target_.isValid() && sameAddress(ending.url, target_) && restarts_ < kMostRestarts) {
        ++restarts_;
        return {LoadOutcome{LoadOutcome::Kind::Restarted, 0, ending.url.toString(), {}}, true};
    }
    return {};
}

} // namespace kivo::platform
