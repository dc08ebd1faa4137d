#include "mainwin/windowplace.h"

#include "startup/runparameters.h"

#include <charconv>
#include <sstream>

namespace kivo::mainwin {

namespace {

// A whole number of the text and nothing else, within ±1,000,000 pixels.
std::optional<int> number(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < -1000000 ||
        value > 1000000) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<WindowPlace> WindowPlace::Parse(const std::string& geometry, const std::string& maximised) {
    int values[4] = {};
    std::string_view rest = geometry;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = rest.find(',');
        if ((i < 3) == (comma == std::string_view::npos)) {
            return std::nullopt; // too few or too many parts
        }
        const std::optional<int> value = number(rest.substr(0, comma));
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    if (values[2] <= 0 || values[3] <= 0) {
        return std::nullopt;
    }
    return WindowPlace{QRect(values[0], values[1], values[2], values[3]), maximised == "1"};
}

std::string WindowPlace::geometryText() const {
    std::ostringstream text;
    text << normal.x() << ',' << normal.y() << ',' << normal.width() << ',' << normal.height();
    return text.str();
}

bool WindowPlace::fits(const QList<QRect>& screens, QSize least, int titleHeight) const {
    if (normal.width() < least.width() || normal.height() < least.height()) {
        return false;
    }
    const QRect title(normal.topLeft(), QSize(normal.width(), titleHeight));
    for (const QRect& screen : screens) {
        const QRect seen = title.intersected(screen);
        if (seen.width() >= kVisibleTitle && seen.height() >= std::min(kVisibleTitle, titleHeight)) {
            return true;
        }
    }
    return false;
}

std::optional<WindowPlace> WindowPlace::Read() {
    const auto file = startup::RunParameterFile();
    return Parse(startup::ReadIniValue(file, startup::kRunParameterSection, kGeometryKey),
                 startup::ReadIniValue(file, startup::kRunParameterSection, kMaximisedKey));
}

void WindowPlace::write() const {
    const auto file = startup::RunParameterFile();
    startup::WriteIniValue(file, startup::kRunParameterSection, kGeometryKey, geometryText());
    startup::WriteIniValue(file, startup::kRunParameterSection, kMaximisedKey, maximised ? "1" : "0");
}

} // namespace kivo::mainwin
