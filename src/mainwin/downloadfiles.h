#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace kivo::mainwin {

/// A file name the service gave, made safe to save under: no folders, no leading dots (nothing
/// hidden), no control characters, no characters the desktop's file systems refuse; never empty.
QString SafeDownloadName(const QString& suggested);

/// The path in `folder` for `name` that no file has yet, counting "报表 (1).xlsx", "报表 (2).xlsx"
/// on; a file still being saved (its partial name, or a path in `saving`) counts as there.
QString FreeDownloadPath(const QString& folder, const QString& name, const QStringList& saving = {});

/// Where a file lives while it is being saved.
QString PartialDownloadPath(const QString& path);

/// The user's download folder (tests put another here).
std::function<QString()>& DownloadFolder();

} // namespace kivo::mainwin
