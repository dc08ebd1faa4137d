#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kivo::platform {

/// @brief Reads the bytes of a picture from a file path, a file:// address or an http(s)
/// address (over a client of its own, so it never replaces the service client's last answer).
/// Nothing when the file or the address gives nothing.
std::optional<QByteArray> FetchPictureBytes(const QString& path);

} // namespace kivo::platform
