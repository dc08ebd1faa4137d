// The workbench browser as a browser, with the real engine and the stand-in service: a page's
// export lands whole in the download folder, new windows go where they belong, zoom survives a
// restart, find marks words, and a killed renderer is reloaded.
#include "activewindow.h"
#include "chrome/keyboardaccess.h"
#include "clientendtoend.h"
#include "e2esupport.h"
#include "faketrayicon.h"
#include "findcontrol.h"
#include "mainwin/downloadfiles.h"
#include "mainwin/home.h"
#include "platform/net/curlhttpsession.h"
#include "platform/desktop/trayicon.h"
#include "platform/desktop/urlopener.h"
#include "signin/login.h"
#include "tray/trayform.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <csignal>

namespace kivo::mainwin {
namespace {

class BrowserEndToEnd : public test::ClientEndToEnd {
protected:
    void SetUp() override {
        ClientEndToEnd::SetUp();
        saved_ = {platform::TrayIcons(), platform::NotificationAreaAvailable(), DownloadFolder()};
        platform::TrayIcons() = [this] { return std::make_unique<test::FakeTrayIcon>(trayLog); };
        platform::NotificationAreaAvailable() = [] { return true; };
        DownloadFolder() = [this] { return downloads.path(); };
        platform::UrlOpener::setHandler([this](const QString& url) { opened << url; });
        home::SetAnnounce(&tray::Announce);
        (new tray::TrayForm)->Load();
    }
    void TearDown() override {
        ClientEndToEnd::TearDown();
        home::SetAnnounce({});
        platform::UrlOpener::setHandler({});
        std::tie(platform::TrayIcons(), platform::NotificationAreaAvailable(), DownloadFolder()) = saved_;
    }

    home* signIn() {
        home* w = test::SignInAsDemo<signin::login, home>();
        if (w != nullptr) {
            test::activate(w);
            test::waitFor([&] { return !test::find(w, "loadingWeb")->isVisible(); });
        }
        return w;
    }
    QWebEngineView* view(home* w) { return test::find<QWebEngineView>(w, "web"); }
    // Whether the page at `path` has loaded completely (its own happ navigation afterwards ends
    // the load as the browser counts it, so the document is asked).
    bool ready(home* w, const QString& path) {
        if (view(w)->url().path() != path) {
            return false;
        }
        bool complete = false;
        bool answered = false;
        view(w)->page()->runJavaScript("document.readyState", [&](const QVariant& state) {
            complete = state.toString() == "complete";
            answered = true;
        });
        test::waitFor([&] { return answered; }, 5000);
        return complete;
    }
    bool show(home* w, const QString& path) {
        view(w)->load(QUrl(QString::fromStdString(service.url()) + path));
        return test::waitFor([&] { return ready(w, path); });
    }
    void click(home* w, const QString& id) {
        view(w)->page()->runJavaScript("document.getElementById('" + id + "').click()");
    }

    QTemporaryDir downloads;
    QStringList trayLog;
    QStringList opened;
    std::tuple<platform::TrayIconFactory, std::function<bool()>, std::function<QString()>> saved_;
};

TEST_F(BrowserEndToEnd, AnExportLandsWholeWithItsChineseNameAndIsAnnounced) {
    home* w = signIn();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(show(w, "/desktop/order/index"));
    // Slowly, so that the strip is seen at work.
    view(w)->page()->runJavaScript("document.getElementById('export').href += '&rows=3000&delay=60'");
    click(w, "export");
    QWidget* strip = test::find(w, "downloadStrip");
    auto* status = test::find<QLabel>(strip, "downloadStatus");
    auto* progress = test::find<QProgressBar>(strip, "downloadProgress");
    ASSERT_TRUE(test::waitFor([&] { return strip->isVisible() && progress->value() > 100; }, 30000));
    EXPECT_FALSE(QFile::exists(QDir(downloads.path()).filePath("订单中心报表.csv")))
        << "not under its name until whole";
    test::saveScreenshot("download-strip-running");
    ASSERT_TRUE(test::waitFor([&] { return status->text() == "下载完成"; }, 30000)) << status->text().toStdString();
    QTest::qWait(200);
    test::saveScreenshot("download-strip-done");

    // Whole: what the service sends for the same address.
    platform::CurlHttpSession other;
    const auto sent =
        other.get(service.url() + "/export/records.csv?title=%E8%AE%A2%E5%8D%95%E4%B8%AD%E5%BF%83&rows=3000");
    ASSERT_TRUE(sent.has_value());
    QFile saved(QDir(downloads.path()).filePath("订单中心报表.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), sent->body);
    EXPECT_EQ(QDir(downloads.path()).entryList(QDir::Files), QStringList{"订单中心报表.csv"});
    EXPECT_TRUE(trayLog.filter("info=下载完成/订单中心报表.csv").size() == 1) << trayLog.join("\n").toStdString();

    // The same again takes the next name; one the connection breaks leaves nothing.
    click(w, "export");
    ASSERT_TRUE(test::waitFor([&] { return QFile::exists(QDir(downloads.path()).filePath("订单中心报表 (1).csv")); }));
    view(w)->page()->runJavaScript("document.getElementById('export').href += '&cut=1'");
    click(w, "export");
    ASSERT_TRUE(test::waitFor([&] { return status->text() == "下载失败"; }, 30000)) << status->text().toStdString();
    EXPECT_EQ(QDir(downloads.path()).entryList(QDir::Files), (QStringList{"订单中心报表 (1).csv", "订单中心报表.csv"}));
}

TEST_F(BrowserEndToEnd, NewWindowsZoomFindAndACrashedRenderer) {
    home* w = signIn();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(show(w, "/desktop/order/index"));

    // target="_blank": the service's own page loads in place, another site's goes out.
    click(w, "site");
    ASSERT_TRUE(test::waitFor([&] { return !opened.isEmpty(); }));
    EXPECT_EQ(opened, QStringList{"https://velmora.example/"});
    click(w, "help");
    ASSERT_TRUE(test::waitFor([&] { return view(w)->url().path() == "/about/"; }));
    EXPECT_EQ(opened.size(), 1);
    ASSERT_TRUE(show(w, "/desktop/order/index"));

    // F6 goes from the bars into the page, whose own keys then work, and out again.
    chrome::FocusByKeyboard(test::find(w, "topMenuBtn(1)"));
    auto inPage = [&] {
        return view(w)->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == view(w);
    };
    for (int i = 0; i < 3 && !inPage(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    }
    ASSERT_TRUE(inPage());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "topMenuBtn(1)") << "out of the page to the top bar";

    // Find marks a word; the bar counts the matches.
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    auto* text = test::find<QLineEdit>(w, "findText");
    ASSERT_TRUE(text->isVisible());
    text->insert("杭州云岫科技");
    auto* count = test::find<QLabel>(w, "findCount");
    ASSERT_TRUE(test::waitFor([&] { return count->text() == "1/1"; })) << count->text().toStdString();
    text->setText("已完成");
    ASSERT_TRUE(test::waitFor([&] { return count->text() == "1/2"; })) << count->text().toStdString();
    QTest::keyClick(text, Qt::Key_Return);
    ASSERT_TRUE(test::waitFor([&] { return count->text() == "2/2"; })) << count->text().toStdString();
    QTest::qWait(200);
    test::saveScreenshot("find-bar");
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_FALSE(text->isVisible());

    // A killed renderer: the page comes back by itself.
    const qint64 renderer = view(w)->page()->renderProcessPid();
    ASSERT_GT(renderer, 0);
    ::kill(static_cast<pid_t>(renderer), SIGKILL);
    ASSERT_TRUE(test::waitFor(
        [&] {
            const qint64 now = view(w)->page()->renderProcessPid();
            return now > 0 && now != renderer && ready(w, "/desktop/order/index");
        },
        30000));
    EXPECT_EQ(view(w)->url().path(), "/desktop/order/index");
    EXPECT_FALSE(test::find(w, "failurePanel")->isVisible());

    // Zoom, kept for the next start.
    QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view(w)->zoomFactor(), 1.1);
    chrome::UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    home* again = home::Instance();
    again->show();
    ASSERT_TRUE(test::waitFor([&] { return !test::find(again, "loadingWeb")->isVisible(); }));
    EXPECT_NEAR(view(again)->zoomFactor(), 1.1, 1e-9);
}

// An office form's confirm() and alert() come as Kivo's own Chinese dialogs over the main window;
// the engine speaks Chinese and asks for the service's pages in Chinese.
TEST_F(BrowserEndToEnd, PageDialogsAndTheEnginesLanguageAreChinese) {
    home* w = test::SignInAsDemo<signin::login, home>();
    ASSERT_NE(w, nullptr);
    auto* view = qobject_cast<QWebEngineView*>(test::find(w, "web"));
    ASSERT_TRUE(test::waitFor([&] { return !test::find(w, "loadingWeb")->isVisible() && !view->page()->isLoading(); }, 15000));
    auto state = [&] { return test::DevGet(service.url(), "/dev/state"); };
    QTest::mouseClick(test::find(w, "topMenuBtn(2)"), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(test::waitFor([&] { return state().find(R"("pageLanguage":"zh-CN,zh;q=0.9")") != std::string::npos; }, 15000))
        << state();

    view->load(QUrl(QString::fromStdString(service.url() + "/dev/office")));
    ASSERT_TRUE(test::waitFor([&] { return view->title() == "请假申请" && !view->page()->isLoading(); }, 15000));
    QString language;
    view->page()->runJavaScript("navigator.language", [&](const QVariant& value) { language = value.toString(); });
    ASSERT_TRUE(test::waitFor([&] { return !language.isEmpty(); }));
    EXPECT_EQ(language, "zh-CN") << "the engine's own texts follow its locale";

    // Each dialog, when it comes, is read and answered with Enter.
    QStringList seen;
    QTimer answer;
    answer.setInterval(50);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            seen << dialog->windowTitle() + ": " + test::find<QLabel>(dialog, "pageDialogText")->text() + " @" +
                        (dialog->parentWidget() == w ? "main window" : "elsewhere");
            if (seen.size() == 1) {
                QTest::qWait(300);
                test::saveScreenshot("page-confirm");
            }
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Return);
        }
    });
    answer.start();
    view->page()->runJavaScript("document.getElementById('submit').click()");
    EXPECT_TRUE(test::waitFor([&] { return view->title() == "submitted"; }, 15000)) << view->title().toStdString();
    EXPECT_EQ(seen, (QStringList{"VelmoraKivo: 确定提交吗？ @main window", "VelmoraKivo: 已提交 @main window"}));
    answer.stop();

    // The file field opens Qt's file chooser, in Chinese.
    QRect field;
    view->page()->runJavaScript("(function () { var r = document.getElementById('file').getBoundingClientRect();"
                                " return [r.left, r.top, r.width, r.height]; })()",
                                [&](const QVariant& value) {
                                    const QVariantList r = value.toList();
                                    field = QRect(r.value(0).toInt(), r.value(1).toInt(), r.value(2).toInt(), r.value(3).toInt());
                                });
    ASSERT_TRUE(test::waitFor([&] { return field.isValid(); }));
    QString chooser;
    QTimer look;
    look.setInterval(100);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()); dialog && chooser.isEmpty()) {
            QStringList buttons;
            for (auto* button : dialog->findChildren<QPushButton*>()) {
                if (button->isVisible()) {
                    buttons << button->text();
                }
            }
            chooser = dialog->windowTitle() + " | " + buttons.join(", ");
            QTest::qWait(300);
            test::saveScreenshot("file-chooser");
            dialog->reject();
        }
    });
    look.start();
    QWidget* surface = view->focusProxy() ? view->focusProxy() : view;
    QTest::mouseClick(surface, Qt::LeftButton, {}, field.center());
    EXPECT_TRUE(test::waitFor([&] { return !chooser.isEmpty(); }, 10000));
    EXPECT_TRUE(chooser.startsWith("打开")) << chooser.toStdString();
    EXPECT_TRUE(chooser.contains("取消")) << chooser.toStdString();
}

} // namespace
} // namespace kivo::mainwin
