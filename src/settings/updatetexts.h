#pragma once

#include "platform/packages/packageversions.h"

#include <QString>

#include <string>

namespace kivo::settings {

/// @brief What the about window says of updates: its banner's title and the line under the
/// version. Only what the package manager said is claimed.
struct UpdateTexts {
    QString title;
    QString line;

    bool operator==(const UpdateTexts&) const = default;

    /// While the package manager has not answered yet.
    static UpdateTexts Asking();
    /// For its answer, under the update setting (`updateStatus`: "0" install automatically, "1"
    /// do not install but remind).
    static UpdateTexts For(const platform::PackageVersions& versions, const std::string& updateStatus);
};

} // namespace kivo::settings
