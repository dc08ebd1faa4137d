#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kivo::platform {

/// @brief A small INI file reader and writer: UTF-8 text, "[section]" lines and "key=value" lines.
/// Section and key names match without regard to ASCII case; lines starting with ";" or "#" are
/// comments. Values are read and written whole, without length limits.
class IniFile {
public:
    /// @brief The value of `key` in `section`, trimmed of blanks; empty when the file, the section
    /// or the key is missing or the file cannot be read.
    static std::string read(const std::filesystem::path& file, std::string_view section, std::string_view key);

    /// @brief Sets `key` in `section`, creating the file and the section when missing. The key is
    /// replaced in place and every other line is kept as it is; a new key goes to the end of its
    /// section. The file is replaced atomically (temporary file, flush, fsync, rename), so a
    /// failure leaves the old file whole. A value holding a line break is refused.
    /// @return true on success.
    static bool write(const std::filesystem::path& file, std::string_view section, std::string_view key,
                      std::string_view value);
};

} // namespace kivo::platform
