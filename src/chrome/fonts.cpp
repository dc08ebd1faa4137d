#include "chrome/fonts.h"

#include <QFontDatabase>
#include <QLoggingCategory>
#include <QStringList>

Q_LOGGING_CATEGORY(lcFonts, "kivo.chrome.fonts")

namespace kivo::chrome {

void InstallFontSubstitutes() {
    const QStringList sans{"Noto Sans CJK SC", "WenQuanYi Micro Hei", "Source Han Sans SC", "Droid Sans Fallback"};
    const QStringList serif{"Noto Serif CJK SC", "Noto Sans CJK SC", "WenQuanYi Micro Hei"};
    QFont::insertSubstitutions("微软雅黑", sans);
    QFont::insertSubstitutions("黑体", sans);
    QFont::insertSubstitutions("宋体", serif);
}

bool CheckChineseFont(const QStringList& families) {
    if (!families.isEmpty()) {
        return true;
    }
    qCWarning(lcFonts) << "no installed font covers Simplified Chinese: its text shows as boxes; "
                          "install fonts-noto-cjk (or fonts-wqy-microhei)";
    return false;
}

bool CheckChineseFont() {
    return CheckChineseFont(QFontDatabase::families(QFontDatabase::SimplifiedChinese));
}

QFont WindowFont(const QString& family, double points, bool bold) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace kivo::chrome
