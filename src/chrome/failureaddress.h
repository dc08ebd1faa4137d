#pragma once

#include <QString>

namespace kivo::chrome {

/// How the failure panel shows the address that failed: host, port and path, never the query
/// or the fragment (they may carry what the user typed) nor the user's name and password; no
/// control characters, and at most kShownAddressLength characters, cut with "…".
inline constexpr qsizetype kShownAddressLength = 120;
QString ShownAddress(const QString& url);

} // namespace kivo::chrome
