#include "chrome/fonts.h"

#include <QFontDatabase>
#include <QLoggingCategory>
#include <gtest/gtest.h>

using namespace kivo::chrome;

namespace {

QString logged;

QString logOf(const std::function<void()>& run) {
    logged.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { logged += text + "\n"; });
    run();
    qInstallMessageHandler(previous);
    return logged;
}

} // namespace

#ifdef KIVO_NO_CHINESE_FONT

// This program's fontconfig rejects every font that covers Chinese.
TEST(ChineseFontCheckWithoutChineseFonts, AMachineWithOtherFontsIsToldWhatToInstall) {
    ASSERT_FALSE(QFontDatabase::families().isEmpty()) << "fonts there are";
    bool found = true;
    const QString log = logOf([&] { found = CheckChineseFont(); });
    EXPECT_FALSE(found);
    EXPECT_TRUE(log.contains("fonts-noto-cjk")) << log.toStdString();
}

#else

TEST(ChineseFontCheck, NamesThePackageOnlyWhenNoFontCoversChinese) {
    bool found = true;
    const QString missing = logOf([&] { found = CheckChineseFont(QStringList{}); });
    EXPECT_FALSE(found);
    EXPECT_TRUE(missing.contains("fonts-noto-cjk")) << missing.toStdString();
    EXPECT_EQ(missing.count('\n'), 1) << "one line";

    const QString present = logOf([&] { found = CheckChineseFont(QStringList{"Noto Sans CJK SC"}); });
    EXPECT_TRUE(found);
    EXPECT_TRUE(present.isEmpty()) << present.toStdString();
}

TEST(ChineseFontCheck, FindsTheChineseFontOfThisMachine) {
    // The set-up installs fonts-noto-cjk: the check must see it through the font database.
    EXPECT_TRUE(logOf([] { EXPECT_TRUE(CheckChineseFont()); }).isEmpty());
}

#endif
