// A workbench page's notification with the real browser engine: the service's page is allowed to
// notify without a prompt, its notification reaches the desktop's notifier, and a click on it
// brings the main window back and reaches the page's onclick.
#include "clientendtoend.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "mainwin/home.h"
#include "platform/desktop/desktopnotifier.h"
#include "recordingnotifier.h"
#include "signin/login.h"

#include <QWebEngineView>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

using test::RecordingNotifier;

class NotificationsEndToEnd : public test::ClientEndToEnd {
protected:
    void SetUp() override {
        ClientEndToEnd::SetUp();
        platform::DesktopNotifiers() = [this] { return std::make_unique<RecordingNotifier>(shown, click); };
    }
    void TearDown() override {
        ClientEndToEnd::TearDown();
        platform::DesktopNotifiers() = {};
    }
    QStringList shown;
    std::function<void(unsigned)>* click = nullptr;
};

TEST_F(NotificationsEndToEnd, TheServicesPageNotifiesAndAClickComesBack) {
    home* w = test::SignInAsDemo<signin::login, home>();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(test::waitFor([&] { return !test::find(w, "loadingWeb")->isVisible(); }));
    auto* view = qobject_cast<QWebEngineView*>(test::find(w, "web"));
    ASSERT_NE(view, nullptr);
    view->page()->runJavaScript(R"(Notification.requestPermission().then(p => {
        document.title = 'permission ' + p;
        const n = new Notification('审批提醒', {body: '报销单待审批', tag: 'approve'});
        n.onclick = () => { document.title = 'clicked'; };
    });)");
    ASSERT_TRUE(test::waitFor([&] { return !shown.isEmpty(); }, 10000)) << view->title().toStdString();
    EXPECT_EQ(view->title(), "permission granted");
    EXPECT_EQ(shown, QStringList{"审批提醒|报销单待审批"});
    w->hide();
    ASSERT_NE(click, nullptr);
    (*click)(1);
    EXPECT_TRUE(w->isVisible()) << "the click brings the window back";
    EXPECT_TRUE(test::waitFor([&] { return view->title() == "clicked"; }, 5000)) << view->title().toStdString();
}

} // namespace
} // namespace kivo::mainwin
