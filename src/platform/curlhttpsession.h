#pragma once

#include "platform/httpsession.h"

#include <memory>

namespace kivo::platform {

/// @brief The HttpSession over one libcurl easy handle kept for the whole run, with its cookie
/// engine on. Certificates are verified against the system's authorities, or against `caFile`
/// when one is given. HTTP/1.1 only, so header names arrive as the service writes them.
class CurlHttpSession : public HttpSession {
public:
    explicit CurlHttpSession(HttpTimeouts timeouts = {}, std::string caFile = {});
    ~CurlHttpSession() override;
    CurlHttpSession(const CurlHttpSession&) = delete;
    CurlHttpSession& operator=(const CurlHttpSession&) = delete;

    std::optional<HttpResponse> send(const std::string& method, const std::string& url) override;
    std::optional<HttpResponse> get(const std::string& url) override;
    std::string allResponseHeaders() const override;

private:
    struct Handle;
    std::optional<HttpResponse> perform(const std::string& method, const std::string& url);

    std::unique_ptr<Handle> handle_;
    HttpTimeouts timeouts_;
    std::string caFile_;
    std::string lastHeaders_;
};

} // namespace kivo::platform
