#pragma once

#include <string>
#include <vector>

namespace kivo::devservice {

// A greyscale PNG of `width` x `height` pixels (0 black .. 255 white), row by row.
std::string GreyPng(int width, int height, const std::vector<unsigned char>& pixels);

// The QR code of `text` as a PNG, `scale` pixels per module with a four-module quiet zone.
std::string QrCodePng(const std::string& text, int scale);

} // namespace kivo::devservice
