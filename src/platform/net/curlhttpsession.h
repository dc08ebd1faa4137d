#pragma once

#include "platform/net/httpsession.h"
#include "platform/net/httptransfer.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>

namespace kivo::platform {

/// @brief The HttpSession over one transfer (CurlTransfer: a libcurl easy handle, its cookies and
/// certificate checks) kept for the whole run and made by its first request. Requests run one at a
/// time, off the GUI thread while its windows keep painting (RunResponsively); a request started
/// meanwhile waits for the one before.
class CurlHttpSession : public HttpSession {
public:
    /// The largest service answer read; anything longer fails as a transport failure does.
    static constexpr std::size_t kServiceAnswerLimit = 16u << 20;
    /// The largest picture (a menu icon, an avatar).
    static constexpr std::size_t kPictureLimit = 2u << 20;

    explicit CurlHttpSession(HttpTimeouts timeouts = {}, HttpNetwork network = {},
                             std::size_t maxBody = kServiceAnswerLimit);
    ~CurlHttpSession() override;
    CurlHttpSession(const CurlHttpSession&) = delete;
    CurlHttpSession& operator=(const CurlHttpSession&) = delete;

    std::optional<HttpResponse> send(const std::string& method, const std::string& url) override;
    std::optional<HttpResponse> get(const std::string& url) override;
    std::string allResponseHeaders() const override;
    void abort() override;

private:
    std::optional<HttpResponse> perform(const std::string& method, const std::string& url);

    std::unique_ptr<HttpTransfer> transfer_;
    HttpTimeouts timeouts_;
    HttpNetwork network_;
    std::size_t maxBody_;
    std::string lastHeaders_;
    // The transfer; the work of a request runs on a thread of its own.
    std::mutex mutex_;
    // The last headers, readable while the next request runs.
    mutable std::mutex headersMutex_;
    std::atomic<bool> aborted_ = false;
};

} // namespace kivo::platform
