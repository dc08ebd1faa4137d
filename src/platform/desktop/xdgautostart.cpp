#include "platform/desktop/xdgautostart.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace kivo::platform {

namespace fs = std::filesystem;

std::shared_ptr<Autostart>& Autostarts() {
    static std::shared_ptr<Autostart> autostart = XdgAutostart::ForThisProgram();
    return autostart;
}

XdgAutostart::XdgAutostart(fs::path executable, fs::path configHome)
    : executable_(std::move(executable)), configHome_(std::move(configHome)) {}

fs::path XdgAutostart::ConfigHome() {
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured != nullptr && fs::path(configured).is_absolute()) {
        return configured;
    }
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "/") / ".config";
}

std::shared_ptr<XdgAutostart> XdgAutostart::ForThisProgram(const fs::path& executable) {
    fs::path program = executable;
    if (program.empty()) {
        std::error_code error;
        program = fs::read_symlink("/proc/self/exe", error);
    }
    return std::make_shared<XdgAutostart>(program, ConfigHome());
}

fs::path XdgAutostart::location() const {
    return configHome_ / "autostart" / (executable_.filename().string() + ".desktop");
}

std::string XdgAutostart::ExecArgument(const std::string& path) {
    // Reserved characters make the argument quoted; inside quotes ", `, $ and \ take a backslash.
    const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string argument;
    if (path.find_first_of(reserved) == std::string::npos) {
        argument = path;
    } else {
        argument = "\"";
        for (const char c : path) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                argument += '\\';
            }
            argument += c;
        }
        argument += "\"";
    }
    std::string value;
    for (const char c : argument) {
        if (c == '%') {
            value += "%%"; // a literal percent sign, not a field code
        } else if (c == '\\') {
            value += "\\\\"; // the string escape, applied before the quoting rule
        } else {
            value += c;
        }
    }
    return value;
}

std::string XdgAutostart::Entry() const {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=VelmoraKivo\n"
           "Comment=Velmora 工作台客户端\n"
           "Exec=" +
           ExecArgument(executable_.string()) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool XdgAutostart::enable(std::string& error) {
    if (executable_.empty() || !executable_.is_absolute()) {
        error = "the program's own path is unknown";
        return false;
    }
    for (const char c : executable_.string()) {
        if (static_cast<unsigned char>(c) < 0x20) {
            error = "the program's path holds a control character";
            return false;
        }
    }
    const fs::path entry = location();
    std::error_code fault;
    fs::create_directories(entry.parent_path(), fault);
    if (fault) {
        error = "cannot make " + entry.parent_path().string() + ": " + fault.message();
        return false;
    }
    // Written aside and renamed, so that the desktop never reads half an entry.
    const fs::path part = entry.string() + ".part" + std::to_string(::getpid());
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << Entry();
        out.close();
        if (!out) {
            fs::remove(part, fault);
            error = "cannot write " + part.string();
            return false;
        }
    }
    fs::rename(part, entry, fault);
    if (fault) {
        error = "cannot write " + entry.string() + ": " + fault.message();
        fs::remove(part, fault);
        return false;
    }
    return true;
}

bool XdgAutostart::disable(std::string& error) {
    std::error_code fault;
    fs::remove(location(), fault);
    if (fault && fault != std::errc::no_such_file_or_directory) {
        error = "cannot remove " + location().string() + ": " + fault.message();
        return false;
    }
    return true;
}

bool XdgAutostart::isEnabled() const {
    std::error_code fault;
    return fs::is_regular_file(location(), fault);
}

} // namespace kivo::platform
