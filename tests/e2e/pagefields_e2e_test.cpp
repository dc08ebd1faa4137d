// The page field members in the real browser against the stand-in service's form page.
#include "bridge/bridgeerror.h"
#include "bridge/hyperapp.h"
#include "e2esupport.h"
#include "platform/web/webenginebrowser.h"

#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace kivo::bridge {
namespace {

class PageFieldsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(800, 600);
        browser = std::make_unique<platform::WebEngineBrowser>(&window);
        browser->widget()->resize(800, 600);
        ASSERT_TRUE(bridge.Init(browser.get()));
        window.show();
        base = QString::fromStdString(service.url());
    }
    void open(const QString& path) {
        bool loaded = false;
        auto connection =
            QObject::connect(browser->view(), &QWebEngineView::loadFinished, [&](bool ok) { loaded = ok; });
        browser->navigate(base + path);
        ASSERT_TRUE(test::waitFor([&] { return loaded; }));
        QObject::disconnect(connection);
    }

    test::StandInService service;
    QWidget window;
    std::unique_ptr<platform::WebEngineBrowser> browser;
    HyperApp bridge;
    QString base;
};

TEST_F(PageFieldsEndToEnd, EveryMemberOnARealForm) {
    EXPECT_FALSE(bridge.DocumentObject().has_value());
    EXPECT_THROW(bridge.GetTitle(), BridgeError) << "no document yet";
    open("/static/dev/form.html");

    // The page redefines the value of its text boxes; the bridge reads the real one.
    QString pageSees;
    browser->view()->page()->runJavaScript("document.forms[0].elements[0].value",
                                           [&](const QVariant& v) { pageSees = v.toString(); });
    ASSERT_TRUE(test::waitFor([&] { return !pageSees.isEmpty(); }));
    EXPECT_EQ(pageSees, "forged");
    EXPECT_EQ(bridge.GetTextValue(0, "company"), "杭州云岫科技");
    EXPECT_EQ(bridge.DocumentObject()->url, base + "/static/dev/form.html");
    EXPECT_EQ(bridge.GetTextValue(1, "q"), "合同");
    bridge.SetTextValue(0, "company", "新名称");
    EXPECT_EQ(bridge.GetTextValue(0, "company"), "新名称");

    EXPECT_TRUE(bridge.GetChecked(0, "vip"));
    EXPECT_FALSE(bridge.GetChecked(0, "mailing"));
    bridge.SetChecked(0, "mailing", true);
    EXPECT_TRUE(bridge.GetChecked(0, "mailing"));

    EXPECT_EQ(bridge.GetComboValue(0, "city"), "hz") << "the last list of the name";
    EXPECT_EQ(bridge.GetComboText(0, "city"), "杭州");
    bridge.SetComboByValue(0, "city", "sh");
    EXPECT_EQ(bridge.GetComboText(0, "city"), "上海");
    bridge.SetComboByText(0, "level", "乙");
    EXPECT_EQ(bridge.GetComboValue(0, "level"), "b");
    bridge.SetComboByValue(0, "level", "zz");
    EXPECT_EQ(bridge.GetComboValue(0, "level"), "b") << "no option has it: unchanged";

    EXPECT_TRUE(bridge.GetRadioState(0, "sex", "f"));
    EXPECT_FALSE(bridge.GetRadioState(0, "sex", "m"));
    bridge.SetRadioState(0, "sex", "m", true);
    EXPECT_EQ(bridge.GetCheckedRadioFromGroup(0, "sex"), "m");
    EXPECT_FALSE(bridge.GetRadioState(0, "sex", "f")) << "the browser keeps one of a group";
    EXPECT_EQ(bridge.GetCheckedRadioFromGroup(0, "plan"), "");

    EXPECT_EQ(bridge.GetLink(0), base + "/desktop/site/index");
    EXPECT_EQ(bridge.GetLink(1), "https://example.invalid/help");
    EXPECT_EQ(bridge.GetImage(1), base + "/static/menu/desk.png");
    EXPECT_THROW(bridge.GetLink(2), BridgeError);
    EXPECT_THROW(bridge.GetTextValue(2, "q"), BridgeError);
    EXPECT_EQ(bridge.GetTitle(), "客户资料");
    EXPECT_TRUE(bridge.GetSource().startsWith("<html><head><meta charset=\"utf-8\"><title>客户资料</title>"));

    bridge.LoadHTML("<b>x</b>");
    EXPECT_EQ(bridge.GetSource(), "<html><head></head><body><b>x</b></body></html>");
    EXPECT_EQ(bridge.DocumentObject()->url, "about:blank");
    EXPECT_THROW(bridge.LoadHTML(QString(3 * 1024 * 1024, 'x')), BridgeError);
}

TEST_F(PageFieldsEndToEnd, APageThatNeverLoadsTimesOut) {
    bridge.setPageTimeout(std::chrono::milliseconds(1500));
    browser->navigate(base + "/dev/never");
    try {
        bridge.GetTitle();
        ADD_FAILURE() << "a page still loading gave an answer";
    } catch (const BridgeError& e) {
        EXPECT_STREQ(e.what(), "the page did not answer within 1500 ms");
    }
}

} // namespace
} // namespace kivo::bridge
