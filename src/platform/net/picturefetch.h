#pragma once

#include <QByteArray>
#include <QString>

#include "platform/net/httpsession.h"

#include <optional>

namespace kivo::platform {

/// @brief Reads the bytes of a picture from a file path, a file:// address or an http(s)
/// address, over `session` when one is given (the service's own, whose cookies go only to the
/// service's host and whose certificate settings apply; a GET never replaces its last answer),
/// else over a client of its own. Nothing when the file or the address gives nothing, or more
/// than a picture may be.
std::optional<QByteArray> FetchPictureBytes(const QString& path, HttpSession* session = nullptr);

} // namespace kivo::platform
