#include "pngwriter.h"

#include <qrencode.h>
#include <zlib.h>

#include <stdexcept>

namespace kivo::devservice {

namespace {

void put32(std::string& out, unsigned long v) {
    out.push_back(static_cast<char>((v >> 24) & 0xFF));
    out.push_back(static_cast<char>((v >> 16) & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
    out.push_back(static_cast<char>(v & 0xFF));
}

void chunk(std::string& out, const char* type, const std::string& data) {
    put32(out, data.size());
    std::string body(type, 4);
    body += data;
    out += body;
    put32(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
}

} // namespace

std::string GreyPng(int width, int height, const std::vector<unsigned char>& pixels) {
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (width + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        raw.append(reinterpret_cast<const char*>(pixels.data()) + static_cast<size_t>(y) * width, width);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                 static_cast<uLong>(raw.size())) != Z_OK) {
        throw std::runtime_error("compress failed");
    }
    packed.resize(size);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    put32(header, static_cast<unsigned long>(width));
    put32(header, static_cast<unsigned long>(height));
    header += std::string("\x08\x00\x00\x00\x00", 5); // 8-bit greyscale
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", "");
    return png;
}

std::string QrCodePng(const std::string& text, int scale) {
    QRcode* code = QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (code == nullptr) {
        throw std::runtime_error("QR encoding failed");
    }
    const int quiet = 4;
    const int modules = code->width + 2 * quiet;
    const int side = modules * scale;
    std::vector<unsigned char> pixels(static_cast<size_t>(side) * side, 255);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1) {
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) {
                        pixels[static_cast<size_t>((y + quiet) * scale + dy) * side + (x + quiet) * scale + dx] = 0;
                    }
                }
            }
        }
    }
    QRcode_free(code);
    return GreyPng(side, side, pixels);
}

} // namespace kivo::devservice
