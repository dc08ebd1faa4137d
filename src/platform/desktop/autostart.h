#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace kivo::platform {

/// @brief Starting the program with the user's session. Each call says whether it did what it
/// was asked and, when not, why in `error`.
class Autostart {
public:
    virtual ~Autostart() = default;

    /// @brief Registers the program; an earlier registration is replaced.
    virtual bool enable(std::string& error) = 0;
    /// @brief Removes the registration; one that does not exist counts as removed.
    virtual bool disable(std::string& error) = 0;
    virtual bool isEnabled() const = 0;
    /// @brief Where the registration lives (shown by kivoctl).
    virtual std::filesystem::path location() const = 0;
};

/// @brief The autostart the windows use: the desktop's own by default, a fake in tests.
std::shared_ptr<Autostart>& Autostarts();

} // namespace kivo::platform
