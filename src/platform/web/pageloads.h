#pragma once

#include "platform/web/browser.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace kivo::platform {

/// @brief What the end of a page load means, apart from the engine that reports it: the load the
/// program asked for last (its target), how often it was started again after the engine dropped it,
/// and what to tell the window. The browser calls it; tests drive it directly.
class PageLoads {
public:
    /// A navigation dropped again and again is left alone after this many new starts.
    static constexpr int kMostRestarts = 3;

    /// How a load ended, in the engine's words: its error domain and code (Chromium's net errors).
    enum class Status { Succeeded, Stopped, Failed };
    enum class Domain { None, Internal, Connection, Certificate, Http, Dns, Other };
    struct Ending {
        Status status = Status::Succeeded;
        QUrl url;
        Domain domain = Domain::None;
        int code = 0;
    };

    /// What to do: report an outcome to the window (or nothing), and whether to load the target again.
    struct Decision {
        std::optional<LoadOutcome> report;
        bool restart = false;
    };

    /// The program asks for `url`: the new target, its restarts counted from zero.
    void asked(const QUrl& url);
    /// The main frame goes to `url` (a link, a form, a redirect the page chose): another address
    /// than the target is the page's own way, and is not pulled back.
    void goes(const QUrl& url);
    /// Content written by the program replaces the page: nothing to bring back.
    void forget();
    const QUrl& target() const { return target_; }

    /// `proxy`: the proxy in use as "host:port", named when the proxy is at fault.
    Decision ended(const Ending& ending, const QString& proxy);

private:
    QUrl target_;
    int restarts_ = 0;
};

} // namespace kivo::platform
