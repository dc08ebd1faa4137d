#pragma once

#include <cstddef>
#include <string>

namespace kivo::mainwin {

/// The most an icon answer may hold (the picture limit of the icon download).
inline constexpr std::size_t kIconAnswerLimit = 2u << 20;

/// Whether an answer to an icon download is one to store as the icon: status 200, at most
/// kIconAnswerLimit bytes, and a picture by its first bytes (PNG, JPEG, GIF, BMP, ICO, WebP,
/// SVG). An error page or a cut answer stored as the icon would stay for good.
bool IsIconAnswer(long status, const std::string& body);

} // namespace kivo::mainwin
