#include "platform/process/programmodule.h"

#include <QCoreApplication>
#include <QLibrary>

#include <memory>
#include <mutex>
#include <vector>

namespace kivo::platform {

QLibrary* LoadProgramModule(const QString& name) {
    // Any thread may load one (the HTTP module comes with the first request); the records stay to
    // the end, the modules with them.
    static std::mutex mutex;
    static std::vector<std::unique_ptr<QLibrary>> loaded;
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& path : {dir + "/" + name, dir + "/../lib/kivo/" + name}) {
        auto library = std::make_unique<QLibrary>(path);
        if (library->load()) {
            const std::lock_guard lock(mutex);
            loaded.push_back(std::move(library));
            return loaded.back().get();
        }
    }
    return nullptr;
}

} // namespace kivo::platform
