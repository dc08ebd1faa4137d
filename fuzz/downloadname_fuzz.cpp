// Checks the download name cleaning on arbitrary names the service may suggest: the result is a
// name to save under, never a path, a hidden file, or one with characters a file name must not have.
#include "mainwin/downloadfiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString suggested = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString name = kivo::mainwin::SafeDownloadName(suggested);
    if (name.isEmpty() || name.startsWith('.') || name.toUtf8().size() > 200 || name == "." || name == "..") {
        std::abort();
    }
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c) ||
            c.category() == QChar::Other_Format) {
            std::abort();
        }
    }
    return 0;
}
