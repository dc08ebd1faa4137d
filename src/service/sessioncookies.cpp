#include "service/sessioncookies.h"

#include "service/httprequest.h"

namespace kivo::service {

bool CopySessionCookies(std::string& address) {
    ServiceState& service = Service();
    if (address.empty()) {
        address = service.BaseUrl;
    }
    if (!service.HttpClient || !service.cookieStore) {
        return true;
    }
    for (const CookiePair& pair : ParseSetCookieLines(service.HttpClient->allResponseHeaders())) {
        service.cookieStore->setCookie(address, pair.name, pair.value);
    }
    return true;
}

bool CopySessionCookies() {
    std::string base;
    return CopySessionCookies(base);
}

} // namespace kivo::service
