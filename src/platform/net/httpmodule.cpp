// The HTTP transfer as a module of its own: libcurl and the libraries it brings load with the
// program's first request instead of before its first window.
#include "platform/net/curltransfer.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT kivo::platform::HttpTransfer*
kivo_http_make_transfer(const kivo::platform::HttpTimeouts& timeouts, const kivo::platform::HttpNetwork& network,
                        std::size_t maxBody, const std::atomic<bool>& aborted) {
    return new kivo::platform::CurlTransfer(timeouts, network, maxBody, aborted);
}
