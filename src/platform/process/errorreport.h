#pragma once

#include <QString>

#include <functional>

namespace kivo::platform {

/// @brief Reports a programming error: one line on standard error and in the system log, then a
/// message box with the exclamation icon. Tests replace the message box.
class ErrorReport {
public:
    using Presenter = std::function<void(const QString& title, const QString& text)>;

    /// @brief `source` names the class and routine ("aShadow.Shadow"); the log line is
    /// "source: message", the box says "message." under the title "Error in source".
    static void report(const QString& source, const QString& message);

    /// @brief Replaces the message box (for tests); an empty presenter restores it.
    static void setPresenter(Presenter presenter);
};

} // namespace kivo::platform
