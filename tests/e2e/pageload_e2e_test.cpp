// Pages that announce "loading" a while after they loaded, as real pages do once their own
// scripts are ready: whatever the order in which the start page's announcement and the menus'
// navigation cross, no failure panel shows over a page the service answered, and the page shown
// at the end is the selected item's, uncovered by its own announcement.
#include "clientendtoend.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "mainwin/home.h"
#include "platform/net/curlhttpsession.h"
#include "signin/login.h"
#include "startup/runparameters.h"

#include <QWebEngineView>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

class PageLoadEndToEnd : public test::ClientEndToEnd {
protected:
    void devCall(const std::string& path) {
        platform::CurlHttpSession other;
        ASSERT_TRUE(other.get(service.url() + path).has_value()) << path;
    }
};

TEST_F(PageLoadEndToEnd, ALateAnnouncementNeverFailsThePageAndTheSelectedItemIsShown) {
    // The workbench's top item, which carries the left menu, is the current one: the menus open
    // its current left item right after the start page.
    devCall("/dev/current-top?index=2");
    startup::LoadRunParameters();
    int signIns = 0;
    for (const int delay : {0, 50, 150, 300}) {
        // The start page loads while the avatar is fetched, before the menus open the item; the
        // item's page answers late, so that a later announcement comes while it is on its way.
        devCall("/dev/announce?delay=" + std::to_string(delay) + "&page=300&avatar=120");
        for (int round = 0; round < 5; ++round) {
            SCOPED_TRACE(testing::Message() << "announced after " << delay << " ms, sign-in " << round + 1);
            home* w = test::SignInAsDemo<signin::login, home>();
            ASSERT_NE(w, nullptr);
            ++signIns;
            ASSERT_EQ(w->menus().leftMenuShown, 1);
            const int left = w->menus().currentLeftIndex;
            ASSERT_GE(left, 1);
            const QString expected = QString::fromStdString(service.url() + w->menus().leftItems()[left - 1].url);
            auto* view = qobject_cast<QWebEngineView*>(test::find(w, "web"));
            QWidget* overlay = test::find(w, "loadingWeb");
            QWidget* panel = test::find(w, "failurePanel");
            EXPECT_TRUE(test::waitFor(
                [&] { return !overlay->isVisible() && view->url().toString() == expected && !view->page()->isLoading(); },
                15000))
                << view->url().toString().toStdString() << " instead of " << expected.toStdString();
            // Long enough for a crossing announcement to have come and gone.
            QTest::qWait(delay + 150);
            EXPECT_FALSE(panel->isVisible()) << "no failure over a page that loaded";
            EXPECT_EQ(view->url().toString(), expected);
            EXPECT_FALSE(overlay->isVisible());
            chrome::UnloadAllForms();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    EXPECT_EQ(signIns, 20);

    // A menu's navigation that the engine drops on the way (stopped here) is started again, and the
    // page's own announcement uncovers it.
    home* w = test::SignInAsDemo<signin::login, home>();
    ASSERT_NE(w, nullptr);
    auto* view = qobject_cast<QWebEngineView*>(test::find(w, "web"));
    QWidget* overlay = test::find(w, "loadingWeb");
    ASSERT_TRUE(test::waitFor([&] { return !overlay->isVisible() && !view->page()->isLoading(); }, 15000));
    QTest::mouseClick(test::find(w, "leftMenuBtn(3)"), Qt::LeftButton, {}, QPoint(5, 5));
    const QString expected = QString::fromStdString(service.url() + w->menus().leftItems()[2].url);
    ASSERT_TRUE(test::waitFor([&] { return view->page()->isLoading(); }, 5000));
    view->page()->triggerAction(QWebEnginePage::Stop);
    EXPECT_TRUE(test::waitFor(
        [&] { return !overlay->isVisible() && view->url().toString() == expected && !view->page()->isLoading(); },
        15000))
        << view->url().toString().toStdString();
    EXPECT_FALSE(test::find(w, "failurePanel")->isVisible());
}

// The service forgets the session overnight: the next item's page leads back to the sign-in
// window, and signing in again shows that item. A page that never announces itself is uncovered.
TEST_F(PageLoadEndToEnd, AnExpiredSessionSignsInAgainAndASilentPageIsUncovered) {
    home* w = test::SignInAsDemo<signin::login, home>();
    ASSERT_NE(w, nullptr);
    auto* view = qobject_cast<QWebEngineView*>(test::find(w, "web"));
    QWidget* overlay = test::find(w, "loadingWeb");
    auto settled = [&] { return !overlay->isVisible() && !view->page()->isLoading(); };
    ASSERT_TRUE(test::waitFor(settled, 15000));
    QTest::mouseClick(test::find(w, "topMenuBtn(2)"), Qt::LeftButton, {}, QPoint(5, 5)); // the one with a left menu
    ASSERT_TRUE(test::waitFor([&] { return w->menus().leftMenuShown == 1 && settled(); }, 15000));
    auto click = [&](int item) {
        QTest::mouseClick(test::find(w, QStringLiteral("leftMenuBtn(%1)").arg(item)), Qt::LeftButton, {}, QPoint(5, 5));
        return QString::fromStdString(service.url() + w->menus().leftItems()[item - 1].url);
    };

    // Without a sign-in page listed, the service's redirect to its sign-in page only shows it.
    devCall("/dev/expire?answer=redirect");
    click(2);
    ASSERT_TRUE(test::waitFor([&] { return view->url().path() == "/desktop/site/loginPage"; }, 15000));
    EXPECT_TRUE(overlay->isVisible()) << "the page has not announced itself";
    EXPECT_TRUE(test::waitFor([&] { return !overlay->isVisible(); }, home::kLoadingGraceMs + 5000)) << "no endless spinner";
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(test::find(w, "failurePanel")->isVisible());

    // The service's 401: back to the sign-in window with the message, then to the same item.
    devCall("/dev/expire");
    const QString item = click(3);
    QPointer<signin::login> again;
    ASSERT_TRUE(test::waitFor([&] {
        again = qobject_cast<signin::login*>(chrome::FindForm("login"));
        return again && again->isVisible();
    }, 15000));
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(test::find<QLabel>(again, "ErrTip")->text(), home::kSessionEndedMessage);
    home* back = test::SignInAsDemoThrough<signin::login, home>(again.data());
    ASSERT_EQ(back, w);
    EXPECT_TRUE(test::waitFor([&] { return settled() && view->url().toString() == item; }, 15000))
        << view->url().toString().toStdString();
    EXPECT_FALSE(test::find(w, "failurePanel")->isVisible());
}

} // namespace
} // namespace kivo::mainwin
