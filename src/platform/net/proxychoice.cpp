#include "platform/net/proxychoice.h"

#include "platform/net/logaddress.h"

#include <QLoggingCategory>
#include <QNetworkProxy>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <charconv>

Q_LOGGING_CATEGORY(lcProxy, "kivo.platform.proxy")

namespace kivo::platform {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A proxy address as both clients take it: a scheme they share ("http" when none is written).
// Empty when the address names no host or a scheme the browser engine cannot use.
std::string usable(std::string_view setting, const char* from) {
    std::string address(trimmed(setting));
    if (address.empty()) {
        return {};
    }
    if (address.find("://") == std::string::npos) {
        address.insert(0, "http://");
    }
    const QUrl url(QString::fromStdString(address));
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "socks5")) {
        qCWarning(lcProxy) << "the proxy of" << from
                           << "is no http or socks5 address:" << AddressForLog(address).c_str();
        return {};
    }
    return address;
}

std::string firstOf(const std::function<std::string(const char*)>& env, std::initializer_list<const char*> names,
                    const char** found) {
    for (const char* name : names) {
        std::string value = env(name);
        if (!trimmed(value).empty()) {
            *found = name;
            return value;
        }
    }
    return {};
}

} // namespace

bool NoProxyNames(std::string_view list, std::string_view host, int port) {
    const std::string name = lower(host);
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of(", \t", start);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        std::string entry = lower(list.substr(start, end - start));
        start = end + 1;
        if (entry == "*") {
            return true;
        }
        // "host:port" or "[v6]:port"; a bare v6 address has colons of its own
        size_t colon = std::string::npos;
        if (!entry.empty() && entry.front() == '[') {
            const size_t close = entry.find(']');
            colon =
                close != std::string::npos && entry.size() > close + 1 && entry[close + 1] == ':' ? close + 1 : colon;
        } else if (entry.find(':') == entry.rfind(':')) {
            colon = entry.find(':');
        }
        if (colon != std::string::npos) {
            int entryPort = -1;
            const char* digits = entry.data() + colon + 1;
            const auto [stop, error] = std::from_chars(digits, entry.data() + entry.size(), entryPort);
            if (error != std::errc() || stop != entry.data() + entry.size() || entryPort != port) {
                continue;
            }
            entry.resize(colon);
        }
        if (entry.size() > 1 && entry.front() == '[' && entry.back() == ']') {
            entry = entry.substr(1, entry.size() - 2);
        }
        if (entry.rfind("*.", 0) == 0) {
            entry.erase(0, 1);
        }
        if (!entry.empty() && entry.front() == '.') {
            entry.erase(0, 1);
        }
        if (entry.empty()) {
            continue;
        }
        if (name == entry ||
            (name.size() > entry.size() && name.ends_with(entry) && name[name.size() - entry.size() - 1] == '.')) {
            return true;
        }
    }
    return false;
}

ProxyChoice ChooseProxy(const std::string& serviceUrl, const std::string& configured, const std::string& configuredFrom,
                        const std::function<std::string(const char*)>& env,
                        const std::function<std::string(const std::string&)>& desktop) {
    if (lower(trimmed(configured)) == "none") {
        return {{}, configuredFrom};
    }
    if (std::string proxy = usable(configured, configuredFrom.c_str()); !proxy.empty()) {
        return {proxy, configuredFrom};
    }
    const QUrl service(QString::fromStdString(serviceUrl));
    const bool https = service.scheme().toLower() == "https";
    const char* noProxyName = nullptr;
    const std::string noProxy = firstOf(env, {"no_proxy", "NO_PROXY"}, &noProxyName);
    if (noProxyName != nullptr && NoProxyNames(noProxy, service.host().toStdString(), service.port(https ? 443 : 80))) {
        return {{}, noProxyName};
    }
    const char* name = nullptr;
    const std::string fromEnv = https ? firstOf(env, {"https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}, &name)
                                      : firstOf(env, {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}, &name);
    if (name != nullptr) {
        if (std::string proxy = usable(fromEnv, name); !proxy.empty()) {
            return {proxy, name};
        }
    }
    if (std::string proxy = usable(desktop(serviceUrl), "the desktop"); !proxy.empty()) {
        return {proxy, "the desktop"};
    }
    return {{}, "the desktop"};
}

std::string DesktopProxy(const std::string& url) {
    const QList<QNetworkProxy> proxies =
        QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(QUrl(QString::fromStdString(url))));
    for (const QNetworkProxy& proxy : proxies) {
        if (proxy.type() != QNetworkProxy::HttpProxy && proxy.type() != QNetworkProxy::Socks5Proxy) {
            continue;
        }
        QUrl address;
        address.setScheme(proxy.type() == QNetworkProxy::HttpProxy ? "http" : "socks5");
        address.setHost(proxy.hostName());
        address.setPort(proxy.port());
        address.setUserName(proxy.user());
        address.setPassword(proxy.password());
        return address.toString().toStdString();
    }
    return {};
}

QNetworkProxy ApplicationProxyOf(const std::string& proxy) {
    if (proxy.empty()) {
        return QNetworkProxy(QNetworkProxy::NoProxy);
    }
    const QUrl url(QString::fromStdString(proxy));
    const bool socks = url.scheme().toLower() == "socks5";
    return QNetworkProxy(socks ? QNetworkProxy::Socks5Proxy : QNetworkProxy::HttpProxy, url.host(),
                         static_cast<quint16>(url.port(socks ? 1080 : 80)), url.userName(QUrl::FullyDecoded),
                         url.password(QUrl::FullyDecoded));
}

} // namespace kivo::platform
