#include "platform/net/httptransfer.h"

#include "platform/process/programmodule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTransfer, "kivo.platform.httptransfer")

namespace kivo::platform {

namespace {

using MakeTransfer = HttpTransfer* (*)(const HttpTimeouts&, const HttpNetwork&, std::size_t, const std::atomic<bool>&);

// The module's maker, loaded once by whichever thread asks first.
MakeTransfer moduleMaker() {
    static const MakeTransfer make = [] {
        QLibrary* module = LoadProgramModule("kivo-http");
        auto found = module ? reinterpret_cast<MakeTransfer>(module->resolve("kivo_http_make_transfer")) : nullptr;
        if (found == nullptr) {
            qCWarning(lcTransfer) << "no HTTP module beside" << QCoreApplication::applicationDirPath()
                                  << "; every request fails";
        }
        return found;
    }();
    return make;
}

} // namespace

HttpTransferFactory& HttpTransfers() {
    static HttpTransferFactory factory = [](const HttpTimeouts& timeouts, const HttpNetwork& network,
                                            std::size_t maxBody, const std::atomic<bool>& aborted) {
        const MakeTransfer make = moduleMaker();
        return std::unique_ptr<HttpTransfer>(make ? make(timeouts, network, maxBody, aborted) : nullptr);
    };
    return factory;
}

} // namespace kivo::platform
