#include "platform/process/errorreport.h"

#include <QMessageBox>

#include <cstdio>
#include <syslog.h>

namespace kivo::platform {

namespace {
ErrorReport::Presenter& presenter() {
    static ErrorReport::Presenter p;
    return p;
}
} // namespace

void ErrorReport::setPresenter(Presenter p) {
    presenter() = std::move(p);
}

void ErrorReport::report(const QString& source, const QString& message) {
    const QByteArray line = (source + ": " + message).toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    ::openlog("kivo", LOG_PID, LOG_USER);
    ::syslog(LOG_ERR, "%s", line.constData());
    ::closelog();
    const QString title = "Error in " + source;
    const QString text = message + ".";
    if (presenter()) {
        presenter()(title, text);
    } else {
        QMessageBox::warning(nullptr, title, text);
    }
}

} // namespace kivo::platform
