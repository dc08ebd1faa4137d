#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace kivo::bridge {

/// @brief The pages whose commands the bridge runs: those of the service's own origin (scheme,
/// host and port of its base address) and of the extra origins named at build time. Any other
/// origin, an empty one and "null" (a sandboxed frame) are refused.
class BridgeOrigins {
public:
    /// @brief Refuses every origin.
    BridgeOrigins() = default;
    /// @brief `extra`: origins separated by spaces, commas or semicolons.
    BridgeOrigins(const std::string& baseUrl, const std::string& extra);
    /// @brief The service at `baseUrl` and the origins of the build (KIVO_BRIDGE_ORIGINS).
    static BridgeOrigins ForService(const std::string& baseUrl);

    bool allows(const QString& origin) const;
    /// @brief "scheme://host:port" of an address, the port always written; empty when it has none.
    static QString OriginOf(const QString& address);

private:
    QStringList allowed_;
};

} // namespace kivo::bridge
