#pragma once

#include <QFont>
#include <QString>

namespace kivo::chrome {

/// The windows' usual font family.
inline const QString kYaHei = QStringLiteral("微软雅黑");

/// Maps the fonts the window definitions name ("微软雅黑", "宋体", "黑体") to CJK fonts this
/// desktop has, so Chinese text renders whatever is installed.
void InstallFontSubstitutes();

/// A font of the window definitions: family and size in points, bold or not.
QFont WindowFont(const QString& family, double points, bool bold = false);

} // namespace kivo::chrome
