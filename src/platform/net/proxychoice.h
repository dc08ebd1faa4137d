#pragma once

#include <functional>
#include <string>
#include <string_view>

class QNetworkProxy;

namespace kivo::platform {

/// @brief How the service is reached: through `proxy` ("http://host:port" or "socks5://host:port",
/// with "user:password@" when the proxy asks for them), or directly when it is empty. `from` names
/// the setting that decided it ("--proxy", "https_proxy", "no_proxy", "the desktop", ...).
struct ProxyChoice {
    std::string proxy;
    std::string from;
    bool direct() const { return proxy.empty(); }
};

/// @brief The proxy for `serviceUrl`, decided once for both of the service's clients, from the first of:
/// `configured` (the --proxy option or the run parameter, named `configuredFrom`; "none" for direct); a no_proxy (or
/// NO_PROXY) list that names the service's host, for direct; the environment's proxy for the
/// service's scheme (https_proxy or http_proxy), then all_proxy, lower case before upper; what
/// `desktop` says for the address ("" for direct). A proxy of a scheme Kivo cannot use is skipped.
ProxyChoice ChooseProxy(const std::string& serviceUrl, const std::string& configured, const std::string& configuredFrom,
                        const std::function<std::string(const char*)>& env,
                        const std::function<std::string(const std::string&)>& desktop);

/// @brief Whether a no_proxy list names `host` on `port`: entries are separated by commas or spaces,
/// "*" names every host, an entry names its host and every host under it (a leading dot or "*." changes
/// nothing), and an entry with ":port" names only that port. Letter case does not count.
bool NoProxyNames(std::string_view list, std::string_view host, int port);

/// @brief The desktop's proxy for an address as Qt's system proxy query reports it; "" for direct.
/// Call it with an application object: Qt 6.8 reads the desktop through libproxy, which needs one.
std::string DesktopProxy(const std::string& url);

/// @brief A proxy address ("" for none) in Qt's form, for the browser engine's application proxy.
QNetworkProxy ApplicationProxyOf(const std::string& proxy);

} // namespace kivo::platform
