// The desktop-session autostart entry against a temporary XDG_CONFIG_HOME: what it holds, that
// the desktop's own validator accepts it, and that GLib's parsers read the same path back.
#include "platform/desktop/xdgautostart.h"
#include "tempfolder.h"

#include <glib.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace kivo::platform {
namespace {

namespace fs = std::filesystem;

// The program an entry starts, as a desktop reads its Exec line.
std::string execPath(const fs::path& entry) {
    GKeyFile* file = g_key_file_new();
    std::string result = "<unreadable>";
    if (g_key_file_load_from_file(file, entry.c_str(), G_KEY_FILE_NONE, nullptr)) {
        gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
        gint argc = 0;
        gchar** argv = nullptr;
        if (exec != nullptr && g_shell_parse_argv(exec, &argc, &argv, nullptr) && argc == 1) {
            result = argv[0];
            for (size_t at = result.find("%%"); at != std::string::npos; at = result.find("%%", at + 1)) {
                result.erase(at, 1); // "%%" is a literal percent sign
            }
        }
        g_strfreev(argv);
        g_free(exec);
    }
    g_key_file_free(file);
    return result;
}

bool validates(const fs::path& entry) {
    return std::system(("desktop-file-validate '" + entry.string() + "' >/dev/null 2>&1").c_str()) == 0;
}

TEST(XdgAutostart, EntriesStartTheExecutableByItsFullPath) {
    test::TempFolder config("xdg");
    for (const std::string exe :
         {"/opt/kivo/kivo", "/home/林/my apps/kivo-1.0", "/tmp/100% \"quoted\" $HOME/`x`\\y", "/srv/it's/k;v&(1)"}) {
        XdgAutostart autostart(exe, config.path());
        std::string error;
        ASSERT_TRUE(autostart.enable(error)) << error;
        const fs::path entry = autostart.location();
        EXPECT_EQ(entry.parent_path(), config.path() / "autostart");
        EXPECT_EQ(entry.filename(), fs::path(exe).filename().string() + ".desktop") << "the name as it is";
        EXPECT_TRUE(autostart.isEnabled());
        EXPECT_EQ(execPath(entry), exe);
        EXPECT_TRUE(validates(entry)) << test::ReadFile(entry);
        EXPECT_NE(test::ReadFile(entry).find("Type=Application\n"), std::string::npos);
        ASSERT_TRUE(autostart.disable(error));
        EXPECT_FALSE(fs::exists(entry));
        EXPECT_TRUE(autostart.disable(error)) << "an entry that is not there counts as removed";
    }
    EXPECT_EQ(XdgAutostart::ExecArgument("/opt/kivo/kivo"), "/opt/kivo/kivo") << "plain paths stay unquoted";
}

TEST(XdgAutostart, TheConfigFolderFollowsTheEnvironment) {
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/";
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string before = saved != nullptr ? saved : "";
    for (const char* value : {"", "relative/dir"}) {
        setenv("XDG_CONFIG_HOME", value, 1);
        EXPECT_EQ(XdgAutostart::ConfigHome(), fs::path(home) / ".config") << value;
    }
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(XdgAutostart::ConfigHome(), fs::path(home) / ".config");
    setenv("XDG_CONFIG_HOME", "/x/conf", 1);
    EXPECT_EQ(XdgAutostart::ConfigHome(), fs::path("/x/conf"));
    EXPECT_EQ(XdgAutostart::ForThisProgram()->location().parent_path(), fs::path("/x/conf/autostart"));
    saved != nullptr ? setenv("XDG_CONFIG_HOME", before.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

TEST(XdgAutostart, AFolderThatCannotBeWrittenFailsAndSaysWhy) {
    test::TempFolder config("xdg-blocked");
    std::ofstream(config.path() / "autostart") << "a file where the folder should be";
    XdgAutostart autostart("/opt/kivo/kivo", config.path());
    std::string error;
    EXPECT_FALSE(autostart.enable(error));
    EXPECT_NE(error.find("autostart"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(autostart.disable(error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(XdgAutostart("relative/kivo", config.path()).enable(error));
}

TEST(XdgAutostart, AReadOnlyFolderKeepsTheEntryAndFails) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    test::TempFolder config("xdg-readonly");
    XdgAutostart autostart("/opt/kivo/kivo", config.path());
    std::string error;
    ASSERT_TRUE(autostart.enable(error));
    ::chmod((config.path() / "autostart").c_str(), 0555);
    EXPECT_FALSE(autostart.disable(error));
    EXPECT_TRUE(autostart.isEnabled());
    EXPECT_FALSE(XdgAutostart("/opt/other", config.path()).enable(error));
    ::chmod((config.path() / "autostart").c_str(), 0755);
}

} // namespace
} // namespace kivo::platform
