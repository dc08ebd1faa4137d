#include "chrome/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcLanguage, "kivo.chrome.language")

namespace kivo::chrome {

bool SpeakChinese() {
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
    QLocale::setDefault(chinese);
    static QTranslator qt; // lives as long as the program
    if (!qt.load(chinese, "qt", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qCWarning(lcLanguage) << "Qt's Chinese translations are missing: its own dialogs speak English; "
                                 "install qt6-translations-l10n";
        return false;
    }
    QCoreApplication::installTranslator(&qt);
    return true;
}

} // namespace kivo::chrome
