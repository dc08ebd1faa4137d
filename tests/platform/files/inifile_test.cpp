#include "platform/files/inifile.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace kivo::platform {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    std::string content() const { return test::ReadFile(file_); }
    void setContent(const std::string& text) const { std::ofstream(file_, std::ios::binary) << text; }

    test::TempFolder folder_{"kivo-ini"};
    const fs::path& dir_ = folder_.path();
    fs::path file_ = dir_ / "SysRunParameter.ocx";
};

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(IniFile::read(file_, "S", "k"), "");
    setContent("[Other]\nk=1\n[S]\nx=2\n");
    EXPECT_EQ(IniFile::read(file_, "S", "k"), "");
    EXPECT_EQ(IniFile::read(file_, "Missing", "x"), "");
    EXPECT_EQ(IniFile::read(file_, "S", "x"), "2");
}

TEST_F(IniFileTest, ReadsTrimmedValuesWithoutRegardToCase) {
    setContent("; comment\r\n[SysRunParameter]\r\n  stick =  1  \r\nendStatus=\t0\r\n");
    EXPECT_EQ(IniFile::read(file_, "SysRunParameter", "stick"), "1");
    EXPECT_EQ(IniFile::read(file_, "sysrunparameter", "ENDSTATUS"), "0");
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileInOrder) {
    ASSERT_TRUE(IniFile::write(file_, "SysRunParameter", "topMenu", "[1]"));
    ASSERT_TRUE(IniFile::write(file_, "SysRunParameter", "leftMenu", "[2]"));
    ASSERT_TRUE(IniFile::write(file_, "SysRunParameter", "updateTime", "42"));
    EXPECT_EQ(content(), "[SysRunParameter]\ntopMenu=[1]\nleftMenu=[2]\nupdateTime=42\n");
}

TEST_F(IniFileTest, RewriteInPlaceKeepsEveryOtherLine) {
    setContent("# kept\n[A]\nx=1\n\n[SysRunParameter]\nstick=0\n; note\nendStatus=1\n\n[B]\ny=2\n");
    ASSERT_TRUE(IniFile::write(file_, "SysRunParameter", "stick", "1"));
    ASSERT_TRUE(IniFile::write(file_, "SysRunParameter", "Powerboot", "1"));
    ASSERT_TRUE(IniFile::write(file_, "C", "z", "3"));
    EXPECT_EQ(content(), "# kept\n[A]\nx=1\n\n[SysRunParameter]\nstick=1\n; note\nendStatus=1\nPowerboot=1\n\n"
                         "[B]\ny=2\n[C]\nz=3\n");
}

TEST_F(IniFileTest, AByteOrderMarkIsSkippedWhenReadingAndKeptWhenWriting) {
    setContent("\xEF\xBB\xBF[SysRunParameter]\r\nstick=1\r\n");
    EXPECT_EQ(IniFile::read(file_, "SysRunParameter", "stick"), "1");
    ASSERT_TRUE(IniFile::write(file_, "SysRunParameter", "endStatus", "1"));
    EXPECT_EQ(content(), "\xEF\xBB\xBF[SysRunParameter]\r\nstick=1\r\nendStatus=1\r\n")
        << "one section, the mark still first";
}

TEST_F(IniFileTest, KeepsCrLfLineEndings) {
    setContent("[S]\r\na=1\r\n");
    ASSERT_TRUE(IniFile::write(file_, "S", "b", "2"));
    EXPECT_EQ(content(), "[S]\r\na=1\r\nb=2\r\n");
    EXPECT_EQ(IniFile::read(file_, "S", "b"), "2");
}

TEST_F(IniFileTest, LongAndChineseValuesReadBackWhole) {
    std::string menu = "[";
    while (menu.size() < 20000) {
        menu += R"({"name":"\u9996\u9875","url":"\/desktop\/site\/index"},)";
    }
    menu += "{}]";
    ASSERT_TRUE(IniFile::write(file_, "SysRunParameter", "leftMenu", menu));
    ASSERT_TRUE(IniFile::write(file_, "SysRunParameter", "nickname", "林晓雨"));
    EXPECT_EQ(IniFile::read(file_, "SysRunParameter", "leftMenu"), menu);
    EXPECT_EQ(IniFile::read(file_, "SysRunParameter", "nickname"), "林晓雨");
}

TEST_F(IniFileTest, RefusesLineBreaksInValues) {
    setContent("[S]\na=1\n");
    EXPECT_FALSE(IniFile::write(file_, "S", "a", "x\nb=2"));
    EXPECT_EQ(content(), "[S]\na=1\n");
}

TEST_F(IniFileTest, AFailedWriteLeavesTheOldFileWhole) {
    setContent("[S]\na=1\n");
    // A file size limit stands in for a full disk (and holds for root as well).
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit tight = old;
    tight.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool written = IniFile::write(file_, "S", "a", std::string(100, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(written);
    EXPECT_EQ(content(), "[S]\na=1\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) {
        ++files;
    }
    EXPECT_EQ(files, 1) << "the temporary file is removed";
}

TEST_F(IniFileTest, WritesLeaveNoTemporaryFilesBehind) {
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(IniFile::write(file_, "S", "k", std::to_string(i)));
    }
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

} // namespace
} // namespace kivo::platform
