#include "chrome/fonts.h"

#include <QStringList>

namespace kivo::chrome {

void InstallFontSubstitutes() {
    const QStringList sans{"Noto Sans CJK SC", "WenQuanYi Micro Hei", "Source Han Sans SC", "Droid Sans Fallback"};
    const QStringList serif{"Noto Serif CJK SC", "Noto Sans CJK SC", "WenQuanYi Micro Hei"};
    QFont::insertSubstitutions("微软雅黑", sans);
    QFont::insertSubstitutions("黑体", sans);
    QFont::insertSubstitutions("宋体", serif);
}

QFont WindowFont(const QString& family, double points, bool bold) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace kivo::chrome
