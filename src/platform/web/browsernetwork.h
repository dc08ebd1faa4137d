#pragma once

#include "platform/net/httpsession.h"

#include <string>

namespace kivo::platform {

/// @brief Gives the browser engine the service client's network: Qt's default TLS configuration trusts
/// the authorities of `network.caFile` besides the system's (ServiceTrust judges the service's
/// certificates with it), and the application proxy is the client's proxy, or none. The engine reads
/// the proxy when it starts, so this comes first. False when the authority file holds no certificate.
bool ShareNetworkWithBrowser(const std::string& serviceUrl, const HttpNetwork& network);

} // namespace kivo::platform
