#pragma once

#include "platform/desktop/autostart.h"

namespace kivo::platform {

/// @brief Autostart on a freedesktop.org desktop: an entry
/// `$XDG_CONFIG_HOME/autostart/<executable file name>.desktop` whose Exec line starts the
/// executable by its full path.
class XdgAutostart : public Autostart {
public:
    /// `executable` is the program's full path; `configHome` the XDG configuration folder.
    XdgAutostart(std::filesystem::path executable, std::filesystem::path configHome);
    /// The running program, and $XDG_CONFIG_HOME (~/.config when unset, empty or relative).
    static std::shared_ptr<XdgAutostart> ForThisProgram(const std::filesystem::path& executable = {});
    static std::filesystem::path ConfigHome();

    bool enable(std::string& error) override;
    bool disable(std::string& error) override;
    bool isEnabled() const override;
    std::filesystem::path location() const override;

    /// @brief The entry's text for the executable.
    std::string Entry() const;
    /// @brief A path as one argument of an Exec line: quoted and escaped as desktop entries
    /// require, then escaped as a string value.
    static std::string ExecArgument(const std::string& path);

private:
    std::filesystem::path executable_;
    std::filesystem::path configHome_;
};

} // namespace kivo::platform
