// The main window's page cover: the loading overlay over a page until it says it has loaded (or
// the grace for a page that never says so ends), and the failure panel with its retry in place of
// a page that could not be loaded.
#include "chrome/failurepanel.h"
#include "chrome/loadingoverlay.h"
#include "chrome/loadingpage.h"
#include "chrome/resizeframe.h"
#include "mainwin/home.h"
#include "mainwin/menubars.h"
#include "platform/desktop/twips.h"
#include "platform/net/logaddress.h"
#include "startup/runparameters.h"

#include <QLoggingCategory>
#include <QTimer>
#include <QUrl>

Q_LOGGING_CATEGORY(lcCover, "kivo.mainwin.home")

namespace kivo::mainwin {

using platform::MoveTwips;

void home::buildCover() {
    // A page that cannot be loaded shows why, with a retry, instead of loading for ever.
    failure_ = new chrome::FailurePanel(this);
    failure_->setRetry([this](const QString& url) {
        if (web) {
            web->navigate(url);
        }
        ShowLoadingOverlay();
    });
    // A picture over the browser, not a second page: the browser engine holds one page less.
    loadingWeb = new chrome::LoadingOverlay(chrome::LoadingAnimationFile(startup::State().options.appDir), this);
    MoveTwips(loadingWeb, MenuModel::kFoldedLeft, MenuModel::kWebTop, 7335, 5295);
    loadingWeb->hide();
    loadingGrace_ = new QTimer(this);
    loadingGrace_->setObjectName("loadingGrace");
    loadingGrace_->setSingleShot(true);
    loadingGrace_->setInterval(kLoadingGraceMs);
    connect(loadingGrace_, &QTimer::timeout, this, [this] {
        if (loadingWeb->isVisible()) {
            qCInfo(lcCover) << "the page loaded but never said so; it shows as it is";
            loadingWeb->hide();
        }
    });
}

void home::PageLoadFinished(const platform::LoadOutcome& outcome) {
    if (outcome.kind == platform::LoadOutcome::Kind::Restarted) {
        // The page asked for was dropped on the way and comes again: covered until it says it loaded.
        qCInfo(lcCover) << "a page's navigation was dropped on the way; it comes again";
        failure_->Clear();
        ShowLoadingOverlay();
        return;
    }
    if (EndsSession(outcome)) {
        qCInfo(lcCover).noquote() << "the service's session is over:"
                                 << (outcome.kind == platform::LoadOutcome::Kind::Loaded ? "its sign-in page"
                                                                                          : "HTTP 401 for")
                                 << QString::fromStdString(platform::AddressForLog(outcome.url.toStdString()));
        EndSession();
        return;
    }
    if (outcome.kind == platform::LoadOutcome::Kind::Loaded) {
        failure_->Clear(); // the overlay stays until the page says it has loaded, or the grace ends
        if (loadingWeb->isVisible()) {
            loadingGrace_->start();
        }
        return;
    }
    qCInfo(lcCover).noquote() << "a page could not be loaded:" << chrome::FailureReason(outcome);
    loadingGrace_->stop();
    loadingWeb->hide();
    failure_->setGeometry(webWidget()->geometry());
    failure_->ShowFailure(outcome);
    bars_->Raise();
    resizeFrame_->place();
}

void home::ShowLoadingOverlay() {
    loadingGrace_->stop(); // a new page: its own load starts the grace
    loadingWeb->setGeometry(webWidget()->geometry());
    loadingWeb->show();
    loadingWeb->raise();
    resizeFrame_->place();
}

} // namespace kivo::mainwin
