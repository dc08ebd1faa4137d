// The page bridge in the real browser: every way a page navigates to a happ address arrives as
// its statement, and the page stays where it is.
#include "bridge/hacmd.h"
#include "bridge/hyperapp.h"
#include "e2esupport.h"
#include "platform/web/webenginebrowser.h"

#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace kivo::bridge {
namespace {

class HappEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        HACMD::SetCommandHandler([this](const HACMD::Arguments& a) {
            received.push_back(QString::fromStdU16String(a[0]) + "|" + QString::fromStdU16String(a[1]));
        });
        window.resize(800, 600);
        browser = std::make_unique<platform::WebEngineBrowser>(&window);
        browser->widget()->resize(800, 600);
        ASSERT_TRUE(bridge.Init(browser.get()));
        bridge.AllowOrigins(BridgeOrigins::ForService(service.url()));
        bridge.AddObject(u"MyCMD", std::make_shared<HACMD>());
        window.show();
        page = QString::fromStdString(service.url()) + "/dev/happ";
        bool loaded = false;
        QObject::connect(browser->view(), &QWebEngineView::loadFinished, [&](bool ok) { loaded = ok; });
        browser->navigate(page);
        ASSERT_TRUE(test::waitFor([&] { return loaded; }));
        // the frame loads on its own
        ASSERT_TRUE(test::waitFor([&] {
            return js("document.getElementById('frame').contentDocument && "
                      "!!document.getElementById('frame').contentDocument"
                      ".getElementById('inner')") == "true";
        }));
    }
    void TearDown() override { HACMD::SetCommandHandler({}); }

    QString js(const QString& script) {
        QString result;
        bool done = false;
        browser->view()->page()->runJavaScript(script, [&](const QVariant& v) {
            result = v.toString();
            done = true;
        });
        test::waitFor([&] { return done; }, 5000);
        return result;
    }

    bool arrives(const QString& command) {
        return test::waitFor([&] { return received.contains(command); }, 5000);
    }

    test::StandInService service;
    QWidget window;
    std::unique_ptr<platform::WebEngineBrowser> browser;
    HyperApp bridge;
    QStringList received;
    QString page;
};

TEST_F(HappEndToEnd, EveryWayOfNavigatingArrives) {
    js("document.getElementById('link').click()");
    EXPECT_TRUE(arrives("link|"));
    js("document.getElementById('href').click()");
    EXPECT_TRUE(arrives("href|"));
    js("document.getElementById('assign').click()");
    EXPECT_TRUE(arrives("assign|"));
    js("document.getElementById('submit').click()");
    EXPECT_TRUE(arrives("form|"));
    js("document.getElementById('frame').contentDocument.getElementById('inner').click()");
    // Bytes of a UTF-8 character are decoded one by one, as the page bridge always did.
    EXPECT_TRUE(arrives(QString("frame|") + QString(3, QChar(0xFFFD))));
    QTest::qWait(300);
    EXPECT_EQ(browser->view()->url().toString(), page) << "the page stays where it was";
    EXPECT_EQ(js("document.title"), "happ");
    EXPECT_EQ(received.size(), 5) << received.join(", ").toStdString();
}

TEST_F(HappEndToEnd, AFrameOfAnotherOriginIsRefusedAndTheServicesOwnPageRuns) {
    test::StandInService other; // the same pages on another port: another origin
    const QString cross = QString::fromStdString(service.url()) +
                          "/dev/happ-cross?frame=" + QString::fromStdString(other.url()) + "/dev/happ-frame";
    bool loaded = false;
    QObject::connect(browser->view(), &QWebEngineView::loadFinished, [&](bool ok) { loaded = ok; });
    browser->navigate(cross);
    ASSERT_TRUE(test::waitFor([&] { return loaded; }));
    // A cross-origin frame's document is out of the page's reach: click its link with the mouse.
    QString frameBox;
    ASSERT_TRUE(test::waitFor([&] {
        frameBox = js("(function(){var r=document.getElementById('frame').getBoundingClientRect();"
                      "return Math.round(r.left+20)+','+Math.round(r.top+15);})()");
        return frameBox.contains(',');
    }));
    QTest::qWait(500); // the frame's own page loads
    const QStringList at = frameBox.split(',');
    QWidget* target = browser->view()->focusProxy() ? browser->view()->focusProxy() : browser->view();
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(at[0].toInt(), at[1].toInt()));
    QTest::qWait(1000);
    EXPECT_TRUE(received.isEmpty()) << "the other origin's command never ran: " << received.join(",").toStdString();
    EXPECT_TRUE(bridge.refused());
    EXPECT_EQ(browser->view()->url().toString(), cross) << "the page stays where it was";

    js("document.getElementById('own').click()");
    EXPECT_TRUE(arrives("own|"));
}

} // namespace
} // namespace kivo::bridge
