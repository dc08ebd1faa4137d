#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace kivo::platform {

/// @brief What came back for one request: the status code, the body as received, the
/// Content-Type header and the raw header lines (status line excluded, each ending in CR LF).
struct HttpResponse {
    long status = 0;
    std::string body;
    std::string contentType;
    std::string headers;
};

/// @brief Time limits of a session: name resolution and connection together, sending, and
/// receiving (the longest stretch without any data arriving).
struct HttpTimeouts {
    std::chrono::milliseconds connect{60000};
    std::chrono::milliseconds send{60000};
    std::chrono::milliseconds receive{30000};
    /// @brief The whole request, however the data trickles in; zero for no such limit.
    std::chrono::milliseconds total{0};
};

/// @brief Whom a session trusts and how it reaches the service: the authorities trusted besides the
/// system's (a PEM file; empty for the system's only) and the proxy ("" to go directly), as the
/// browser engine gets them too.
struct HttpNetwork {
    std::string caFile;
    std::string proxy;
};

/// @brief One synchronous HTTP client that keeps its cookies across requests and the headers of
/// its last response.
class HttpSession {
public:
    virtual ~HttpSession() = default;

    /// @brief Sends `method` (an empty body for POST) to `url`, adding no headers of its own and
    /// following no redirect. Nothing when the transport fails.
    virtual std::optional<HttpResponse> send(const std::string& method, const std::string& url) = 0;

    /// @brief A plain GET that follows no redirect either; nothing on transport failure. Does not
    /// replace the last response.
    virtual std::optional<HttpResponse> get(const std::string& url) = 0;

    /// @brief The header lines of the last response of send(); empty when it got no response.
    virtual std::string allResponseHeaders() const = 0;

    /// @brief Ends a running request at once and fails every later one (the program ends);
    /// callable from any thread.
    virtual void abort() {}
};

} // namespace kivo::platform
