#include "chrome/language.h"
#include "chrome/pagedialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kivo::chrome {
namespace {

using Kind = platform::PageDialogRequest::Kind;

class PageDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.setWindowFlag(Qt::WindowStaysOnTopHint);
        owner.resize(400, 300);
        owner.show();
    }
    // Asks, and while the dialog is up hands it to `act` (which closes it).
    platform::PageDialogAnswer ask(const platform::PageDialogRequest& request, std::function<void(QDialog*)> act) {
        shown = nullptr;
        QTimer::singleShot(0, [&, act] {
            shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            seen = {shown->windowTitle(), shown->findChild<QLabel*>("pageDialogText")->text(),
                    shown->findChild<QLabel*>("pageDialogText")->textFormat() == Qt::PlainText ? "plain" : "rich",
                    shown->parentWidget() == &owner ? "owned" : "not owned",
                    shown->findChild<QCheckBox*>("pageDialogSilence") ? "offers silence" : "",
                    shown->accessibleName()};
            buttons.clear();
            for (auto* button : shown->findChildren<QPushButton*>()) {
                buttons << button->text();
            }
            act(shown);
        });
        return dialogs.ask(request);
    }
    static void key(QDialog* dialog, Qt::Key key) { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, key); }

    QWidget owner;
    qint64 now = 0;
    PageDialogs dialogs{&owner, [this] { return now; }};
    QDialog* shown = nullptr;
    QStringList seen;
    QStringList buttons;
};

TEST_F(PageDialogsTest, ConfirmIsKivosOwnPlainAndChineseWithEnterAndEscape) {
    const QString markup = "<b>确定提交吗？</b><img src=x onerror=alert(1)>";
    auto answer = ask({Kind::Confirm, markup, {}, "http://127.0.0.1:42711/desktop/left/3"},
                      [](QDialog* d) { key(d, Qt::Key_Return); });
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(seen, (QStringList{"VelmoraKivo", markup, "plain", "owned", "", "VelmoraKivo"}))
        << "never the page's address or markup; named for screen readers";
    EXPECT_EQ(buttons, (QStringList{"确定", "取消"}));
    EXPECT_FALSE(ask({Kind::Confirm, "再确认？", {}, "p"}, [](QDialog* d) { key(d, Qt::Key_Escape); }).accepted);

    now += PageDialogs::kLoopWindowMs + 1;
    EXPECT_EQ(ask({Kind::Alert, "已保存", {}, "p"}, [](QDialog* d) { key(d, Qt::Key_Return); }).accepted, true);
    EXPECT_EQ(buttons, QStringList{"确定"}) << "an alert has nothing to cancel";

    // A prompt answers with what was typed; the leave question speaks Chinese instead of the engine.
    now += PageDialogs::kLoopWindowMs + 1;
    answer = ask({Kind::Prompt, "请输入数量", "1", "p"}, [](QDialog* d) {
        auto* input = d->findChild<QLineEdit*>("pageDialogInput");
        input->setText("12");
        QTest::keyClick(input, Qt::Key_Return);
    });
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.value, "12");
    EXPECT_EQ(buttons, (QStringList{"确定", "取消"}));
    now += PageDialogs::kLoopWindowMs + 1;
    EXPECT_FALSE(ask({Kind::Leave, "", {}, "p"}, [](QDialog* d) { key(d, Qt::Key_Escape); }).accepted);
    EXPECT_EQ(seen.value(1), "确定要离开此页面吗？您所做的更改可能不会保存。");
    EXPECT_EQ(buttons, (QStringList{"确定", "取消"}));
}

TEST_F(PageDialogsTest, APageInALoopCanBeSilencedUntilAnotherPageAsks) {
    for (int i = 1; i <= 2; ++i) {
        ask({Kind::Alert, "loop", {}, "http://a/loop"}, [](QDialog* d) { d->accept(); });
        EXPECT_EQ(seen.value(4), "") << "not before the third";
    }
    ask({Kind::Confirm, "loop", {}, "http://a/loop"}, [](QDialog* d) {
        d->findChild<QCheckBox*>("pageDialogSilence")->setChecked(true);
        d->accept();
    });
    EXPECT_EQ(seen.value(4), "offers silence");
    shown = nullptr;
    EXPECT_FALSE(dialogs.ask({Kind::Confirm, "loop", {}, "http://a/loop"}).accepted) << "answered without a dialog";
    EXPECT_TRUE(dialogs.ask({Kind::Leave, "", {}, "http://a/loop"}).accepted) << "the page can still be left";
    EXPECT_TRUE(ask({Kind::Confirm, "other", {}, "http://a/other"}, [](QDialog* d) { d->accept(); }).accepted);
    EXPECT_NE(shown, nullptr) << "another page asks again"; // set while it was up
    EXPECT_TRUE(ask({Kind::Confirm, "loop", {}, "http://a/loop"}, [](QDialog* d) { d->accept(); }).accepted);
    EXPECT_NE(shown, nullptr) << "and after it, the silenced page too";
}

TEST_F(PageDialogsTest, ThreeWithinTenSecondsOfferSilenceAndOlderOnesAreAllForgotten) {
    for (int i = 1; i <= 4; ++i) { // a loop the user lets go on
        ask({Kind::Alert, "loop", {}, "http://a/loop"}, [](QDialog* d) { d->accept(); });
        EXPECT_EQ(seen.value(4), i >= 3 ? "offers silence" : "") << i;
        now += 1000;
    }
    now += 10000;
    ask({Kind::Alert, "loop", {}, "http://a/loop"}, [](QDialog* d) { d->accept(); });
    EXPECT_EQ(seen.value(4), "") << "what asked over ten seconds ago counts no more";
    now += 9000;
    ask({Kind::Alert, "loop", {}, "http://a/loop"}, [](QDialog* d) { d->accept(); });
    EXPECT_EQ(seen.value(4), "");
    now += 900;
    ask({Kind::Alert, "loop", {}, "http://a/loop"}, [](QDialog* d) { d->accept(); });
    EXPECT_EQ(seen.value(4), "offers silence") << "the third within ten seconds";
}

TEST(QtOwnTexts, SpeakChinese) {
    ASSERT_TRUE(SpeakChinese()) << "the set-up installs qt6-translations-l10n";
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), "取消");
    EXPECT_EQ(QLocale().name(), "zh_CN");
}

} // namespace
} // namespace kivo::chrome
