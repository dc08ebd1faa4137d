#include "chrome/windowhelpers.h"

#include "platform/picturefetch.h"

#include <QFile>

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

QByteArray ResourceBytes(int id) {
    QFile file(QStringLiteral(":/artwork/%1.jpg").arg(id));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage LoadResourceImage(int id) {
    return LoadJpegResource(ResourceBytes(id));
}

QImage LoadPicture(const QString& name) {
    return QImage(QStringLiteral(":/pictures/%1.png").arg(name));
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
