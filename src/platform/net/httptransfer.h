#pragma once

#include "platform/net/httpsession.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kivo::platform {

/// @brief One connection and cookie store that runs one request at a time on the caller's thread:
/// what a CurlHttpSession runs its requests on.
class HttpTransfer {
public:
    virtual ~HttpTransfer() = default;
    /// Sends `method` (GET, or another with an empty body) to `url`; nothing when the transport
    /// fails or the session is aborted meanwhile.
    virtual std::optional<HttpResponse> perform(const std::string& method, const std::string& url) = 0;
};

/// @brief Makes a transfer with the session's limits; `aborted` outlives it.
using HttpTransferFactory = std::function<std::unique_ptr<HttpTransfer>(
    const HttpTimeouts& timeouts, const HttpNetwork& network, std::size_t maxBody, const std::atomic<bool>& aborted)>;

/// @brief Where sessions get their transfers. By default the HTTP module beside the program: libcurl
/// and the libraries it brings load with the first request (on the thread that makes it), not with the
/// program. Programs that link the transfer themselves (the tests, kivoctl) set their own.
HttpTransferFactory& HttpTransfers();

} // namespace kivo::platform
