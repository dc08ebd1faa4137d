#include "chrome/windowhelpers.h"

#include "chrome/windowpreparation.h"
#include "platform/net/picturefetch.h"

#include <QFile>
#include <QGuiApplication>

#include <cfenv>
#include <cmath>
#include <stdexcept>

namespace kivo::chrome {

QImage LoadJpegResource(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    return QImage::fromData(bytes, "JPG");
}

namespace {

// On screens of twice the density (or more) the pictures drawn at twice their size, where the
// artwork has them: name@2x beside name.
QString sharpest(const QString& path) {
    if (qGuiApp == nullptr || qGuiApp->devicePixelRatio() < 1.5) {
        return path;
    }
    QString two = path;
    two.insert(two.lastIndexOf('.'), QStringLiteral("@2x"));
    return QFile::exists(two) ? two : path;
}

QImage atDensity(QImage image, const QString& path) {
    if (path.contains(QStringLiteral("@2x."))) {
        image.setDevicePixelRatio(2);
    }
    return image;
}

} // namespace

QString ResourceImagePath(int id) {
    return sharpest(QStringLiteral(":/artwork/%1.jpg").arg(id));
}

QString PicturePath(const QString& name) {
    return sharpest(QStringLiteral(":/pictures/%1.png").arg(name));
}

QByteArray ResourceBytes(int id) {
    QFile file(ResourceImagePath(id));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage LoadResourceImage(int id) {
    const QString path = ResourceImagePath(id);
    const std::optional<QImage> prepared = WindowPreparation::Take(path);
    return atDensity(prepared ? *prepared : LoadJpegResource(ResourceBytes(id)), path);
}

QImage LoadPicture(const QString& name) {
    const QString path = PicturePath(name);
    const std::optional<QImage> prepared = WindowPreparation::Take(path);
    return atDensity(prepared ? *prepared : QImage(path), path);
}

QIcon ProgramIcon() {
    static const auto* icon = new QIcon(":/icons/kivo-256.png"); // kept to the end, past the application
    return *icon;
}

QImage LoadPictureFromPath(const QString& path, platform::HttpSession* session) {
    if (path.isEmpty()) {
        return {};
    }
    const auto bytes = platform::FetchPictureBytes(path, session);
    return bytes ? QImage::fromData(*bytes) : QImage();
}

std::int16_t RoundUp(float x) {
    const float t = std::trunc(x);
    float result = 0;
    if (t < x) {
        result = t + 1;
    } else {
        const int previous = std::fegetround();
        std::fesetround(FE_TONEAREST);
        result = std::nearbyint(x);
        std::fesetround(previous);
    }
    if (!(result >= -32768.0f && result <= 32767.0f)) {
        throw std::overflow_error("Overflow");
    }
    return static_cast<std::int16_t>(result);
}

} // namespace kivo::chrome
