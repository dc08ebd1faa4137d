// The main window when the service's session ends: which page loads mean it, the window hidden
// while the sign-in window asks again, and its way back after the next sign-in.
#include "bridge/bridgeorigins.h"
#include "chrome/failurepanel.h"
#include "chrome/loadingoverlay.h"
#include "mainwin/home.h"
#include "service/httprequest.h"
#include "service/sessioncookies.h"
#include "startup/runparameters.h"

#include <QLoggingCategory>
#include <QTimer>
#include <QUrl>

Q_LOGGING_CATEGORY(lcSession, "kivo.mainwin.home")

namespace kivo::mainwin {

namespace {

std::function<void(const QString&)>& signInAgain() {
    static std::function<void(const QString&)> open;
    return open;
}

// The service's sign-in pages named in the run parameters.
QStringList signInPaths() {
    const std::string listed = startup::ReadIniValue(startup::RunParameterFile(), home::kSessionSection,
                                                     home::kSignInPathsKey);
    QStringList paths;
    for (const QString& path : QString::fromStdString(listed).split(',', Qt::SkipEmptyParts)) {
        if (!path.trimmed().isEmpty()) {
            paths << path.trimmed();
        }
    }
    return paths;
}

} // namespace

void home::SetSignInAgain(std::function<void(const QString&)> open) {
    signInAgain() = std::move(open);
}

bool home::EndsSession(const platform::LoadOutcome& outcome) const {
    using Kind = platform::LoadOutcome::Kind;
    if (!bridge::BridgeOrigins::ForService(service::Service().BaseUrl)
             .allows(bridge::BridgeOrigins::OriginOf(outcome.url))) {
        return false; // another site's 401 or sign-in page is that site's business
    }
    return (outcome.kind == Kind::HttpError && outcome.httpStatus == 401) ||
           (outcome.kind == Kind::Loaded && signInPaths().contains(QUrl(outcome.url).path()));
}

void home::EndSession() {
    if (waitsForSignIn()) {
        return; // every page of the ended session says so; one sign-in window answers them all
    }
    setWaitsForSignIn(true);
    qCInfo(lcSession) << "signing in again";
    loadingGrace_->stop();
    loadingWeb->hide();
    failure_->Clear();
    hide();
    if (signInAgain()) {
        // Not from inside the browser's or the bridge's call that brought the news.
        QTimer::singleShot(0, this, [] { signInAgain()(QString::fromUtf8(kSessionEndedMessage)); });
    }
}

void home::ShowAfterSignIn(QScreen* screen) {
    SetFallbackScreen(screen);
    home* window = Instance();
    window->ComeBack();
    window->show();
}

void home::ComeBack() {
    if (!waitsForSignIn()) {
        return;
    }
    setWaitsForSignIn(false);
    qCInfo(lcSession) << "signed in again; the page that was open comes back";
    service::CopySessionCookies();
    FillProfile();
    if (web && !openPage_.isEmpty()) {
        web->navigate(openPage_);
        ShowLoadingOverlay();
    }
}

} // namespace kivo::mainwin
