#pragma once

#include <string>

namespace kivo::mainwin {

/// The path below the service (`baseUrl`) that an icon path names, "/folder/file.png", or the
/// empty text when it is none we store: not rooted at "/", with a backslash, a control
/// character, or an empty, "." or ".." segment, or an absolute address not under the service.
std::string MenuIconPath(const std::string& iconPath, const std::string& baseUrl);

} // namespace kivo::mainwin
