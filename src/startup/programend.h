#pragma once

#include <chrono>
#include <functional>

namespace kivo::startup {

/// @brief The end the desktop asks for (the session's end, Ctrl+C, the terminal closed): the
/// program ends as its exit menu does, in order, while a watchdog on a thread of its own gives
/// the logout a short time and the whole end a bound. The watchdog never holds the GUI thread,
/// so the orderly end runs at once beside it.
class ProgramEnd {
public:
    /// After this long the requests still running (an unanswered logout) are abandoned...
    static constexpr std::chrono::milliseconds kLogoutLimit{1500};
    /// ...and after this long from the signal the program ends whatever it is doing.
    static constexpr std::chrono::milliseconds kEndLimit{2800};

    struct Steps {
        std::function<void()> orderly;       ///< the exit menu's end: the place written, the logout
        std::function<void()> rememberPlace; ///< writes the main window's place, if there is one
        std::function<void()> abortRequests; ///< frees a caller waiting for the service
        std::function<void()> exitNow;       ///< leaves at once (what had to be written was)
        /// The watchdog's clock; a test gives its own.
        std::function<void(std::chrono::milliseconds)> sleep;
    };

    explicit ProgramEnd(Steps steps);

    /// Starts the watchdog, then the orderly end; returns when the orderly end has run.
    void Begin(int signal);

    /// The session manager saves the session: the place is written now, since the manager may
    /// end the program without a signal that reaches us.
    void SaveSession();

private:
    Steps steps_;
};

} // namespace kivo::startup
