#pragma once

#include <QIcon>
#include <QString>

namespace kivo::tray {

/// The text of an unread count's badge: "1" to "99", "99+" above; empty for none.
QString BadgeText(int count);

/// The pixel size of the badge's text on an icon `side` pixels high: three characters ("99+") smaller
/// than two, so that they fit the pill.
int BadgeTextPixels(int side, const QString& text);

/// `icon` with a red badge carrying `count` at its top right, drawn anew at each of the icon's
/// sizes (and the notification areas' usual ones); `icon` itself when the count is 0.
QIcon BadgeIcon(const QIcon& icon, int count);

} // namespace kivo::tray
