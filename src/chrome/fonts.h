#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace kivo::chrome {

/// The windows' usual font family.
inline const QString kYaHei = QStringLiteral("微软雅黑");

/// Maps the fonts the window definitions name ("微软雅黑", "宋体", "黑体") to CJK fonts this
/// desktop has, so Chinese text renders whatever is installed.
void InstallFontSubstitutes();

/// Whether one of `families` (the installed families that cover Simplified Chinese) exists; when
/// none does, says in the log which font package to install. The program goes on either way.
bool CheckChineseFont(const QStringList& families);

/// The same check against the fonts this desktop has installed.
bool CheckChineseFont();

/// A font of the window definitions: family and size in points, bold or not.
QFont WindowFont(const QString& family, double points, bool bold = false);

} // namespace kivo::chrome
