#include "mainwin/pagecontrols.h"

#include "bridge/bridgeorigins.h"
#include "mainwin/findbar.h"
#include "platform/desktop/urlopener.h"
#include "startup/runparameters.h"

#include <QKeySequence>
#include <QLoggingCategory>
#include <QShortcut>

#include <algorithm>
#include <array>
#include <cmath>

Q_LOGGING_CATEGORY(lcPage, "kivo.mainwin.pagecontrols")

namespace kivo::mainwin {

namespace {

constexpr std::array<double, 17> kZoomSteps{0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                            1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};
constexpr qint64 kSecondEndWithin = 60 * 1000;

} // namespace

double PageControls::NextZoom(double current, int direction) {
    if (direction > 0) {
        const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), current + 1e-6);
        return next == kZoomSteps.end() ? kZoomSteps.back() : *next;
    }
    const auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), current - 1e-6);
    return below == kZoomSteps.begin() ? kZoomSteps.front() : *std::prev(below);
}

PageControls::PageControls(QWidget* window, platform::Browser& web, std::string baseUrl,
                           std::function<void(const platform::LoadOutcome&)> failed)
    : QObject(window), web_(web), baseUrl_(std::move(baseUrl)), failed_(std::move(failed)),
      findBar_(new FindBar(window, web)) {
    setObjectName("pageControls");
    const std::pair<QList<QKeySequence>, std::function<void()>> keys[] = {
        {{QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, [this] { zoomIn(); }},
        {{QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { zoomOut(); }},
        {{QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { resetZoom(); }},
        {{QKeySequence(Qt::ALT | Qt::Key_Left)}, [this] { web_.back(); }},
        {{QKeySequence(Qt::ALT | Qt::Key_Right)}, [this] { web_.forward(); }},
        {{QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)}, [this] { web_.reload(); }},
        {{QKeySequence(Qt::CTRL | Qt::Key_F)}, [this] { findBar_->open(); }},
        {{QKeySequence(Qt::CTRL | Qt::Key_P)}, [this] { web_.print(); }},
    };
    for (const auto& [sequences, action] : keys) {
        for (const QKeySequence& sequence : sequences) {
            auto* shortcut = new QShortcut(sequence, window);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, action);
        }
    }
    // The zoom of the last run.
    bool ok = false;
    const double stored = QString::fromStdString(
                              startup::ReadIniValue(startup::RunParameterFile(), startup::kRunParameterSection, "zoom"))
                              .toDouble(&ok);
    if (ok && stored >= kZoomSteps.front() && stored <= kZoomSteps.back()) {
        web_.setZoom(stored);
    }
    web_.setNewWindow([this](const QString& url) { newWindow(url); });
    web_.setRendererEnded([this](const QString& reason, int exitCode) { rendererEnded(reason, exitCode); });
}

void PageControls::zoomIn() {
    applyZoom(NextZoom(web_.zoom(), 1));
}

void PageControls::zoomOut() {
    applyZoom(NextZoom(web_.zoom(), -1));
}

void PageControls::resetZoom() {
    applyZoom(1.0);
}

void PageControls::applyZoom(double factor) {
    web_.setZoom(factor);
    startup::WriteIniValue(startup::RunParameterFile(), startup::kRunParameterSection, "zoom",
                           QString::number(factor).toStdString());
}

void PageControls::newWindow(const QString& url) {
    const QString origin = bridge::BridgeOrigins::OriginOf(url);
    if (!origin.isEmpty() && origin == bridge::BridgeOrigins::OriginOf(QString::fromStdString(baseUrl_))) {
        web_.navigate(url);
    } else {
        platform::UrlOpener::open(url);
    }
}

void PageControls::rendererEnded(const QString& reason, int exitCode) {
    qCWarning(lcPage).noquote() << "the page's renderer ended:" << reason << "exit code" << exitCode;
    if (lastEnd_.isValid() && lastEnd_.elapsed() < kSecondEndWithin) {
        lastEnd_.invalidate();
        failed_({platform::LoadOutcome::Kind::RendererEnded, 0, web_.url(), {}});
        return;
    }
    lastEnd_.start();
    web_.reload();
}

} // namespace kivo::mainwin
