#include "platform/net/curlhttpsession.h"

#include "platform/process/responsivewait.h"

#include <mutex>

namespace kivo::platform {

CurlHttpSession::CurlHttpSession(HttpTimeouts timeouts, HttpNetwork network, std::size_t maxBody)
    : timeouts_(timeouts), network_(std::move(network)), maxBody_(maxBody) {}

CurlHttpSession::~CurlHttpSession() = default;

// The transfer (and with it libcurl) comes with the first request, not with the session: the
// program's first window does not wait for it when that request runs on a thread of its own.
std::optional<HttpResponse> CurlHttpSession::perform(const std::string& method, const std::string& url) {
    if (aborted_) {
        return std::nullopt;
    }
    if (!transfer_) {
        transfer_ = HttpTransfers()(timeouts_, network_, maxBody_, aborted_);
    }
    return transfer_ ? transfer_->perform(method, url) : std::nullopt;
}

std::optional<HttpResponse> CurlHttpSession::send(const std::string& method, const std::string& url) {
    std::optional<HttpResponse> response;
    RunResponsively([&] {
        const std::lock_guard lock(mutex_);
        response = perform(method.empty() ? "POST" : method, url);
        const std::lock_guard headersLock(headersMutex_);
        lastHeaders_ = response ? response->headers : std::string();
    });
    return response;
}

std::optional<HttpResponse> CurlHttpSession::get(const std::string& url) {
    std::optional<HttpResponse> response;
    RunResponsively([&] {
        const std::lock_guard lock(mutex_);
        response = perform("GET", url);
    });
    return response;
}

void CurlHttpSession::abort() {
    aborted_ = true;
}

std::string CurlHttpSession::allResponseHeaders() const {
    const std::lock_guard lock(headersMutex_);
    return lastHeaders_;
}

} // namespace kivo::platform
