#pragma once

#include <QMetaObject>
#include <QUrl>

#include <functional>

class QObject;
class QWebEnginePage;

namespace kivo::platform {

/// @brief Answers the page's requests to show notifications: granted where `allowed` says so for
/// the asking origin, denied otherwise; other permissions are left unanswered. The connection
/// lives as long as `context`. Qt 6.8 replaced the permission API of Qt 6.4: this is the one
/// place that tells them apart.
QMetaObject::Connection AnswerNotificationPermissions(QWebEnginePage* page, QObject* context,
                                                      std::function<bool(const QUrl& origin)> allowed);

} // namespace kivo::platform
