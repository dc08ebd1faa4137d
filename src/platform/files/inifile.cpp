#include "platform/files/inifile.h"

#include <QLoggingCategory>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

Q_LOGGING_CATEGORY(lcIni, "kivo.platform.inifile")

namespace kivo::platform {

namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y) {
            return false;
        }
    }
    return true;
}

// A line split into what the format sees in it.
struct Line {
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // value, trimmed
};

Line classify(std::string_view raw) {
    // Some editors start the file with a UTF-8 byte-order mark; it is no part of the first line,
    // and since lines are written back as they were read, it stays in the file.
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (raw.substr(0, bom.size()) == bom) {
        raw.remove_prefix(bom.size());
    }
    const std::string_view text = trim(raw);
    Line line;
    if (text.empty() || text[0] == ';' || text[0] == '#') {
        return line;
    }
    if (text.front() == '[') {
        const auto close = text.find(']');
        if (close != std::string_view::npos) {
            line.kind = Line::Kind::Section;
            line.name = trim(text.substr(1, close - 1));
        }
        return line;
    }
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) {
        return line;
    }
    line.kind = Line::Kind::Key;
    line.name = trim(text.substr(0, eq));
    line.value = trim(text.substr(eq + 1));
    return line;
}

std::vector<std::string> readLines(const std::filesystem::path& file, bool& exists) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    exists = in.is_open();
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line); // a CR of a CR LF ending stays and is kept when written back
    }
    return lines;
}

bool replaceFile(const std::filesystem::path& file, const std::string& content) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::string pattern = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        qCWarning(lcIni) << "cannot create a temporary file in" << folder.c_str() << std::strerror(errno);
        return false;
    }
    struct stat old {};
    if (::stat(file.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    bool ok = true;
    size_t written = 0;
    while (ok && written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        written += ok ? static_cast<size_t>(n) : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(pattern.c_str(), file.c_str()) == 0;
    if (!ok) {
        qCWarning(lcIni) << "cannot write" << file.c_str() << std::strerror(errno);
        ::unlink(pattern.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

// Reads and writes of one program are one at a time: a write reads the file and replaces it, and
// the menu configuration may be cached from a thread of its own while a window stores a choice.
std::mutex& fileLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

std::string IniFile::read(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    const std::lock_guard lock(fileLock());
    bool exists = false;
    const std::vector<std::string> lines = readLines(file, exists);
    bool inSection = false;
    for (const std::string& raw : lines) {
        const Line line = classify(raw);
        if (line.kind == Line::Kind::Section) {
            inSection = equalsNoCase(line.name, section);
        } else if (inSection && line.kind == Line::Kind::Key && equalsNoCase(line.name, key)) {
            return std::string(line.value);
        }
    }
    return {};
}

bool IniFile::write(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        qCWarning(lcIni) << "refusing a value with a line break for" << std::string(key).c_str();
        return false;
    }
    const std::lock_guard lock(fileLock());
    bool exists = false;
    std::vector<std::string> lines = readLines(file, exists);
    const bool crlf = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r';
    const std::string eol = crlf ? "\r" : "";
    const std::string entry = std::string(key) + "=" + std::string(value) + eol;

    bool inSection = false;
    bool sectionFound = false;
    bool done = false;
    size_t insertAt = lines.size(); // after the last non-blank line of the section
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        const Line line = classify(lines[i]);
        if (line.kind == Line::Kind::Section) {
            if (inSection) {
                break; // the next section starts: the key was not in ours
            }
            inSection = equalsNoCase(line.name, section);
            if (inSection) {
                sectionFound = true;
                insertAt = i + 1;
            }
        } else if (inSection) {
            if (line.kind == Line::Kind::Key && equalsNoCase(line.name, key)) {
                lines[i] = entry;
                done = true;
            } else if (!trim(lines[i]).empty()) {
                insertAt = i + 1;
            }
        }
    }
    if (!done) {
        if (sectionFound) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
        } else {
            lines.push_back("[" + std::string(section) + "]" + eol);
            lines.push_back(entry);
        }
    }
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += '\n';
    }
    return replaceFile(file, content);
}

} // namespace kivo::platform
