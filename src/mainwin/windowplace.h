#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <optional>
#include <string>

namespace kivo::mainwin {

/// Where the main window was left: its normal geometry in pixels of its screen and whether it
/// was maximised, kept in the run-parameter file between runs.
struct WindowPlace {
    static constexpr const char* kGeometryKey = "mainWindowGeometry";
    static constexpr const char* kMaximisedKey = "mainWindowMaximized";
    /// How much of the title area must lie on one screen for the place to be used again.
    static constexpr int kVisibleTitle = 100;

    QRect normal;
    bool maximised = false;

    /// "left,top,width,height" and "0"/"1" as stored; nothing when the geometry does not parse.
    static std::optional<WindowPlace> Parse(const std::string& geometry, const std::string& maximised);
    std::string geometryText() const;

    /// No smaller than `least`, and at least kVisibleTitle x kVisibleTitle pixels of its title
    /// area (the top `titleHeight` pixels) on one of `screens`.
    bool fits(const QList<QRect>& screens, QSize least, int titleHeight) const;

    /// The place stored in the run-parameter file, if any.
    static std::optional<WindowPlace> Read();
    void write() const;

    bool operator==(const WindowPlace&) const = default;
};

} // namespace kivo::mainwin
