#include "platform/web/notificationpermission.h"

#include <QWebEnginePage>
#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif

#include <utility>

namespace kivo::platform {

QMetaObject::Connection AnswerNotificationPermissions(QWebEnginePage* page, QObject* context,
                                                      std::function<bool(const QUrl& origin)> allowed) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    return QObject::connect(page, &QWebEnginePage::permissionRequested, context,
                            [allowed = std::move(allowed)](QWebEnginePermission permission) {
                                if (permission.permissionType() != QWebEnginePermission::PermissionType::Notifications) {
                                    return;
                                }
                                if (allowed && allowed(permission.origin())) {
                                    permission.grant();
                                } else {
                                    permission.deny();
                                }
                            });
#else
    return QObject::connect(page, &QWebEnginePage::featurePermissionRequested, context,
                            [page, allowed = std::move(allowed)](const QUrl& origin, QWebEnginePage::Feature feature) {
                                if (feature != QWebEnginePage::Notifications) {
                                    return;
                                }
                                const bool granted = allowed && allowed(origin);
                                page->setFeaturePermission(origin, feature,
                                                           granted ? QWebEnginePage::PermissionGrantedByUser
                                                                   : QWebEnginePage::PermissionDeniedByUser);
                            });
#endif
}

} // namespace kivo::platform
