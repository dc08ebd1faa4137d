#pragma once

#include "platform/web/browser.h"

#include <QString>

#include <filesystem>

namespace kivo::chrome {

/// The loading animation: img/loding.gif of the application folder, or the program's own copy
/// when that folder has none (an installed program).
QString LoadingAnimationFile(const std::filesystem::path& appDir);

/// Turns `browser` into the loading animation: a borderless page of the service (`baseUrl`)
/// whose background is img/loding.gif of the application folder, centred.
void ShowLoadingPage(platform::Browser& browser, const std::filesystem::path& appDir, const QString& baseUrl);

} // namespace kivo::chrome
