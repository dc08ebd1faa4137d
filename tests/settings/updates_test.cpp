// What the about window says of new versions, and the reminder of the update setting, with the
// package manager's answers and the desktop's notifications faked.
#include "platform/desktop/desktopnotifier.h"
#include "recordingnotifier.h"
#include "settings/updatereminder.h"
#include "settings/updatetexts.h"
#include "settings/version.h"
#include "startup/runparameters.h"
#include "waitfor.h"
#include "windowtest.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace kivo::settings {
namespace {

using platform::PackageVersions;

TEST(UpdateTexts, SayOnlyWhatThePackageManagerSaid) {
    struct Row {
        PackageVersions versions;
        std::string updateStatus;
        UpdateTexts says;
    };
    const Row rows[] = {
        {{"0.1", "", false}, "1", {"当前已经是最新版本", "已是最新版本！"}},
        {{"0.1", "", true}, "0", {"当前已经是最新版本", "已是最新版本！新版本将随系统更新自动安装。"}},
        {{"0.1", "", false}, "0", {"当前已经是最新版本", "已是最新版本！"}}, // no source to install from
        {{"0.1", "0.2", true}, "1", {"发现新版本 V0.2", "新版本 V0.2 已发布，请通过系统的“软件更新”安装。"}},
        {{"0.1", "0.2", false}, "0", {"发现新版本 V0.2", "新版本 V0.2 已发布，请通过系统的“软件更新”安装。"}},
        {{"0.1", "1:0.2~rc1", true}, "0", {"发现新版本 V1:0.2~rc1", "新版本 V1:0.2~rc1 将随系统更新自动安装。"}},
        {{"0.1", "0.2", true}, "", {"发现新版本 V0.2", "新版本 V0.2 将随系统更新自动安装。"}}, // the setting's default
        {{"", "", false}, "1", {"无法检查新版本", "此 VelmoraKivo 不是从软件包安装的，无法得知是否有新版本。"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(UpdateTexts::For(row.versions, row.updateStatus), row.says)
            << row.versions.installed << " " << row.versions.available << " " << row.updateStatus;
    }
}

class UpdatesTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        PackageVersions::Asking() = [this](QObject*, std::function<void(const PackageVersions&)> answer) {
            ++asked;
            pending = std::move(answer);
        };
        platform::DesktopNotifiers() = [this] { return std::make_unique<test::RecordingNotifier>(shown, clicked); };
    }
    void TearDown() override {
        WindowTest::TearDown();
        PackageVersions::Asking() = {};
        platform::DesktopNotifiers() = {};
    }
    void answer(const PackageVersions& versions) {
        ASSERT_TRUE(pending);
        std::exchange(pending, {})(versions);
    }
    QString text(QWidget* w, const char* name) { return test::find<QLabel>(w, name)->text(); }

    int asked = 0;
    std::function<void(const PackageVersions&)> pending;
    QStringList shown;
    std::function<void(unsigned)>* clicked = nullptr;
};

TEST_F(UpdatesTest, TheAboutWindowShowsAtOnceAndSaysWhatTheAnswerSays) {
    startup::State().updateStatus = "1";
    version* w = version::Show();
    EXPECT_TRUE(w->isVisible()) << "up before the package manager answers";
    EXPECT_EQ(text(w, "title"), "正在检查新版本…");
    EXPECT_NE(text(w, "Label3"), "已是最新版本！") << "nothing claimed before the answer";
    answer({"0.1", "0.2", false});
    EXPECT_EQ(text(w, "title"), "发现新版本 V0.2");
    EXPECT_EQ(text(w, "Label3"), "新版本 V0.2 已发布，请通过系统的“软件更新”安装。");
    EXPECT_EQ(opened, QStringList{}) << "the service is not asked";
}

TEST_F(UpdatesTest, RemindOnlyWhenAskedToAndOncePerVersionWithAClickThatOpensTheAboutWindow) {
    int abouts = 0;
    UpdateReminder reminder([&] { ++abouts; });
    auto* daily = reminder.findChild<QTimer*>("updateCheck");
    ASSERT_NE(daily, nullptr);

    startup::State().updateStatus = "0";
    reminder.Check();
    EXPECT_EQ(asked, 0) << "installing with the system's updates: nothing to remind of";
    EXPECT_TRUE(daily->isActive());
    EXPECT_EQ(daily->interval(), 24 * 60 * 60 * 1000) << "once a day";

    startup::State().updateStatus = "1";
    reminder.Check();
    answer({"0.1", "", false});
    EXPECT_TRUE(shown.isEmpty()) << "nothing new";
    reminder.Check();
    answer({"0.1", "0.2", false});
    EXPECT_EQ(shown, QStringList{"VelmoraKivo 有新版本|新版本 V0.2 已发布，点击查看。"});
    ASSERT_NE(clicked, nullptr);
    (*clicked)(1);
    EXPECT_EQ(abouts, 1);

    reminder.Check();
    answer({"0.1", "0.2", false});
    EXPECT_EQ(shown.size(), 1) << "once per version";
    UpdateReminder nextRun([] {});
    nextRun.Check();
    answer({"0.1", "0.2", false});
    EXPECT_EQ(shown.size(), 1) << "not again at the next start either";
    reminder.Check();
    answer({"0.1", "0.3", false});
    EXPECT_EQ(shown.size(), 2) << "the next version is told";
}

} // namespace
} // namespace kivo::settings
