// The Debian package as a user gets it: what it holds, what it depends on, and that the client
// it installs starts.
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace kivo {
namespace {

// Runs a shell command; its standard output, and its exit status in `status`.
std::string run(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return output;
    }
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
        output += buffer.data();
    }
    status = ::pclose(pipe);
    return output;
}

class Package : public ::testing::Test {
protected:
    void SetUp() override {
        int status = 0;
        const std::string log =
            run("cpack --config " KIVO_BUILD_DIR "/CPackConfig.cmake -B " + folder_->path().string(), status);
        ASSERT_EQ(status, 0) << log;
        deb_ = run("ls " + folder_->path().string() + "/kivo_*.deb", status);
        deb_.erase(deb_.find_last_not_of('\n') + 1);
        ASSERT_EQ(status, 0) << deb_;
    }
    static std::string sh(const std::string& command) {
        int status = 0;
        std::string out = run(command, status);
        EXPECT_EQ(status, 0) << command << "\n" << out;
        return out;
    }

    std::unique_ptr<test::TempFolder> folder_ = std::make_unique<test::TempFolder>("kivo-package");
    std::string deb_;
};

TEST_F(Package, HoldsTheClientItsEntryIconsAndManual) {
    const std::string contents = sh("dpkg-deb -c " + deb_);
    for (const char* file :
         {"./usr/bin/kivo", "./usr/bin/kivoctl", "./usr/share/man/man1/kivoctl.1.gz", "./usr/lib/kivo/kivo-webengine.so", "./usr/lib/kivo/kivo-http.so",
          "./usr/share/applications/kivo.desktop", "./usr/share/man/man1/kivo.1.gz",
          "./usr/share/icons/hicolor/16x16/apps/kivo.png", "./usr/share/icons/hicolor/256x256/apps/kivo.png"}) {
        EXPECT_NE(contents.find(file), std::string::npos) << file;
    }
    for (const char* tool : {"kivo-devservice", "artwork"}) {
        EXPECT_EQ(contents.find(tool), std::string::npos) << tool << " is a development tool";
    }
    const std::string depends = sh("dpkg-deb -f " + deb_ + " Depends");
    EXPECT_NE(depends.find("libqt6webenginewidgets6"), std::string::npos) << depends;
    EXPECT_NE(depends.find("libcurl"), std::string::npos) << depends;
    EXPECT_NE(depends.find("fonts-noto-cjk | fonts-wqy-microhei"), std::string::npos) << "Chinese text: " << depends;
    EXPECT_NE(depends.find("qt6-qpa-plugins"), std::string::npos) << "loaded at run time: " << depends;
    EXPECT_NE(depends.find("qt6-translations-l10n"), std::string::npos) << "Qt's dialogs in Chinese: " << depends;
}

TEST_F(Package, ItsEntryIsValidAndItsClientStarts) {
    const std::string root = folder_->path().string() + "/root";
    sh("dpkg-deb -x " + deb_ + " " + root);
    const std::string validation = sh("desktop-file-validate " + root + "/usr/share/applications/kivo.desktop");
    EXPECT_EQ(validation, "") << "no errors, warnings or hints";
    EXPECT_EQ(sh(root + "/usr/bin/kivo --version"), "kivo " KIVO_VERSION "\n");
    EXPECT_NE(sh("zcat " + root + "/usr/share/man/man1/kivo.1.gz").find("app\\-dir"), std::string::npos);
    // The network check runs where the question arises; its answers alone reach standard output.
    EXPECT_EQ(sh("(" + root + "/usr/bin/kivoctl request --base-url http://127.0.0.1:1 --proxy none /x 2>/dev/null)"), "nothing\n");
    // Asking the desktop for its proxy goes through Qt, which on newer versions wants an
    // application object: without one it writes a warning where only the diagnosis belongs.
    const std::string errors = sh("(env -u http_proxy -u https_proxy -u all_proxy -u HTTP_PROXY -u HTTPS_PROXY -u ALL_PROXY " +
                                  root + "/usr/bin/kivoctl request --base-url http://127.0.0.1:1 /x 2>&1 >/dev/null)");
    EXPECT_EQ(errors.find("QObject"), std::string::npos) << errors;
    EXPECT_NE(errors.find("proxy none (from the desktop)"), std::string::npos) << errors;
}

} // namespace
} // namespace kivo
