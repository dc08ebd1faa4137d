#pragma once

#include "platform/net/httptransfer.h"

#include <curl/curl.h>

namespace kivo::platform {

/// @brief The transfer over one libcurl easy handle kept for the session's whole run, with its cookie
/// engine on. Certificates are verified against the system's authorities and those of the network's
/// `caFile`; requests go through its proxy or, without one, directly (the environment's proxy
/// variables were read when the proxy was chosen). HTTP/1.1 only, so header names arrive as the
/// service writes them. No header of its own is added and no redirect followed.
class CurlTransfer : public HttpTransfer {
public:
    CurlTransfer(const HttpTimeouts& timeouts, const HttpNetwork& network, std::size_t maxBody,
                 const std::atomic<bool>& aborted);
    ~CurlTransfer() override;
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    std::optional<HttpResponse> perform(const std::string& method, const std::string& url) override;

private:
    CURL* curl_ = nullptr;
    curl_slist* noHeaders_ = nullptr;
    std::size_t maxBody_;
};

} // namespace kivo::platform
