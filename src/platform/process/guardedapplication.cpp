#include "platform/process/guardedapplication.h"

#include <QEvent>
#include <QLoggingCategory>
#include <QMetaEnum>

#include <exception>

Q_LOGGING_CATEGORY(lcBarrier, "kivo.platform.guardedapplication")

namespace kivo::platform {

namespace {

std::function<void(const QString&)>& report() {
    static std::function<void(const QString&)> to;
    return to;
}

} // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void GuardedApplication::SetReport(std::function<void(const QString& line)> to) {
    report() = std::move(to);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        caught(receiver, event, error.what());
    } catch (...) {
        caught(receiver, event, "an exception of no standard type");
    }
    return false;
}

void GuardedApplication::caught(QObject* receiver, QEvent* event, const char* what) {
    const char* type = QMetaEnum::fromType<QEvent::Type>().valueToKey(event->type());
    const QString handled = QStringLiteral("%1 \"%2\", %3")
                                .arg(receiver ? receiver->metaObject()->className() : "nothing",
                                     receiver ? receiver->objectName() : QString(),
                                     type ? QString::fromLatin1(type) : QString::number(event->type()));
    const QString line = QStringLiteral("an error while handling %1 was caught; the program goes on: %2")
                             .arg(handled, QString::fromLocal8Bit(what));
    if (!reported_.insert(line.toStdString()).second) {
        return;
    }
    if (report()) {
        report()(line);
    } else {
        qCCritical(lcBarrier).noquote() << line;
    }
}

} // namespace kivo::platform
