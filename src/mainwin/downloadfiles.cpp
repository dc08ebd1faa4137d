#include "mainwin/downloadfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kivo::mainwin {

namespace {
constexpr int kMaxNameBytes = 200; // under the usual 255 with room for " (99).part"
} // namespace

QString SafeDownloadName(const QString& suggested) {
    QString name;
    for (const QChar c : suggested) {
        if (c == '/' || c == '\\') {
            name.clear(); // only the last part of a path is a name
        } else if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
                   QStringLiteral(":*?\"<>|").contains(c)) {
            name += '_';
        } else {
            name += c;
        }
    }
    // No leading dots (a hidden file), whatever spaces lie between them.
    auto tidy = [](QString text) {
        while (!text.isEmpty() && (text.front() == '.' || text.front().isSpace())) {
            text.remove(0, 1);
        }
        return text.trimmed();
    };
    name = tidy(name);
    while (name.toUtf8().size() > kMaxNameBytes) {
        const QFileInfo info(name);
        const QString suffix = info.suffix().size() < 16 ? info.suffix() : QString();
        QString stem = suffix.isEmpty() ? name : name.left(name.size() - suffix.size() - 1);
        stem.chop(stem.size() > 1 && stem.at(stem.size() - 1).isLowSurrogate() ? 2 : 1);
        name = tidy(suffix.isEmpty() ? stem : stem + '.' + suffix);
    }
    return name.isEmpty() ? QStringLiteral("下载") : name;
}

QString PartialDownloadPath(const QString& path) {
    return path + QStringLiteral(".part");
}

QString FreeDownloadPath(const QString& folder, const QString& name, const QStringList& saving) {
    const QDir dir(folder);
    const QFileInfo info(name);
    // "报表.xlsx" → "报表" and ".xlsx"; "archive.tar.gz" keeps ".tar.gz" together.
    const QString last =
        info.completeSuffix().startsWith(QLatin1String("tar.")) ? info.completeSuffix() : info.suffix();
    const QString suffix = last.isEmpty() || last.size() == name.size() - 1 ? QString() : '.' + last;
    const QString stem = name.left(name.size() - suffix.size());
    for (int n = 0;; ++n) {
        const QString candidate =
            dir.filePath(n == 0 ? name : QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(suffix));
        if (!saving.contains(candidate) && !QFileInfo::exists(candidate) &&
            !QFileInfo::exists(PartialDownloadPath(candidate))) {
            return candidate;
        }
    }
}

std::function<QString()>& DownloadFolder() {
    static std::function<QString()> folder = [] {
        QString path = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        if (path.isEmpty()) {
            path = QDir::home().filePath("Downloads");
        }
        QDir().mkpath(path);
        return path;
    };
    return folder;
}

} // namespace kivo::mainwin
