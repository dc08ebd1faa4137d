#include "platform/net/curltransfer.h"

#include "platform/net/logaddress.h"

#include <QLoggingCategory>

#include <algorithm>
#include <mutex>

Q_LOGGING_CATEGORY(lcHttp, "kivo.platform.curlhttpsession")

namespace kivo::platform {

namespace {

struct BodySink {
    std::string* body;
    std::size_t limit;
};

// An answer beyond the limit stops the transfer (curl reports a write error): it is a failure.
size_t appendBody(char* data, size_t size, size_t count, void* target) {
    auto* sink = static_cast<BodySink*>(target);
    if (sink->body->size() + size * count > sink->limit) {
        return 0;
    }
    sink->body->append(data, size * count);
    return size * count;
}

// Keeps the header lines of the final response only: a new status line starts over.
size_t appendHeader(char* data, size_t size, size_t count, void* target) {
    auto* headers = static_cast<std::string*>(target);
    const std::string_view line(data, size * count);
    if (line.rfind("HTTP/", 0) == 0) {
        headers->clear();
    } else if (line != "\r\n" && line != "\n") {
        headers->append(line);
    }
    return size * count;
}

// A running transfer ends when the session is aborted.
int checkAborted(void* aborted, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<std::atomic<bool>*>(aborted)->load() ? 1 : 0;
}

long seconds(std::chrono::milliseconds ms) {
    return std::max<long>(1, static_cast<long>((ms.count() + 999) / 1000));
}

} // namespace

CurlTransfer::CurlTransfer(const HttpTimeouts& timeouts, const HttpNetwork& network, std::size_t maxBody,
                           const std::atomic<bool>& aborted)
    : maxBody_(maxBody) {
    static std::once_flag global;
    std::call_once(global, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    curl_ = curl_easy_init();
    // curl would add a form Content-Type to an empty POST; the service gets no header of ours.
    noHeaders_ = curl_slist_append(nullptr, "Content-Type:");
    CURL* c = curl_;
    curl_easy_setopt(c, CURLOPT_COOKIEFILE, ""); // cookie engine on, nothing loaded
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    // No data for the receive time-out ends the request. Sending an empty body is over at once,
    // so the send limit only bounds a stalled request line.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, seconds(std::min(timeouts.receive, timeouts.send)));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.total.count()));
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    // Debian's libcurl keeps the system's certificate folder beside a file named here.
    if (!network.caFile.empty()) {
        curl_easy_setopt(c, CURLOPT_CAINFO, network.caFile.c_str());
    }
    // The choice is made for the service's host, the only one this handle talks to: an empty proxy
    // goes directly, whatever the environment says, and a proxy is used for every request.
    curl_easy_setopt(c, CURLOPT_PROXY, network.proxy.c_str());
    curl_easy_setopt(c, CURLOPT_NOPROXY, "");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, appendHeader);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, checkAborted);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&aborted));
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
}

CurlTransfer::~CurlTransfer() {
    curl_slist_free_all(noHeaders_);
    curl_easy_cleanup(curl_);
}

std::optional<HttpResponse> CurlTransfer::perform(const std::string& method, const std::string& url) {
    CURL* c = curl_;
    HttpResponse response;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    BodySink sink{&response.body, maxBody_};
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &response.headers);
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, nullptr);
    if (method == "GET") {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, "");
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, 0L);
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, noHeaders_);
        if (method != "POST") {
            curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method.c_str());
        }
    }
    const CURLcode result = curl_easy_perform(c);
    if (result != CURLE_OK) {
        qCInfo(lcHttp) << method.c_str() << AddressForLog(url).c_str() << "failed:" << curl_easy_strerror(result);
        return std::nullopt;
    }
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &response.status);
    const char* type = nullptr;
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type);
    response.contentType = type != nullptr ? type : "";
    return response;
}

} // namespace kivo::platform
