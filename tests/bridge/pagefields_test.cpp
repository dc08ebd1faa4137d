// The page field members against a fake document: which element each one finds, what it
// reads or changes, and how failures reach the caller.
#include "bridge/bridgeerror.h"
#include "bridge/hacmd.h"
#include "bridge/hyperapp.h"
#include "fakebrowser.h"

#include <gtest/gtest.h>

namespace kivo::bridge {
namespace {

using test::FakeField;

FakeField text(const QString& name, const QString& value) {
    return {name, value, std::nullopt, {}, -1, false};
}
FakeField box(const QString& name, const QString& value, bool checked) {
    return {name, value, checked, {}, -1, false};
}
FakeField list(const QString& name, int selected) {
    return {name, "", std::nullopt, {{"hz", "杭州"}, {"sh", "上海"}, {"bj", "北京"}}, selected, true};
}

class PageFields : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bridge.Init(&browser));
        bridge.AllowOrigins(BridgeOrigins("http://127.0.0.1", ""));
        browser.document = test::FakeDocument{"http://127.0.0.1/dev/form",
                                              "客户资料",
                                              "<html><body>x</body></html>",
                                              {"http://127.0.0.1/desktop/site/index"},
                                              {"http://127.0.0.1/static/avatar/demo.png"},
                                              {{text("company", "杭州云岫科技"),
                                                text("company", "second"),
                                                box("vip", "on", true),
                                                box("mailing", "on", false),
                                                list("city", 1),
                                                list("city", 0),
                                                list("level", -1),
                                                box("sex", "m", false),
                                                box("sex", "f", true),
                                                box("plan", "basic", false),
                                                box("plan", "pro", false),
                                                {"group", std::nullopt, std::nullopt, {}, -1, false}},
                                               {text("q", "合同")}}};
    }
    test::FakeField& field(int form, int i) { return browser.document->forms[form][i]; }

    QWidget parent;
    test::FakeBrowser browser{&parent};
    HyperApp bridge;
};

TEST_F(PageFields, TextAndCheckBoxesStopAtTheFirstMatch) {
    EXPECT_FALSE(bridge.DocumentObject().has_value()) << "nothing before the first call";
    EXPECT_EQ(bridge.GetTextValue(0, "company"), "杭州云岫科技");
    ASSERT_TRUE(bridge.DocumentObject().has_value());
    EXPECT_EQ(bridge.DocumentObject()->title, "客户资料");
    EXPECT_EQ(bridge.DocumentObject()->url, "http://127.0.0.1/dev/form");
    EXPECT_EQ(bridge.GetTextValue(1, "q"), "合同");
    EXPECT_EQ(bridge.GetTextValue(0, "Company"), "") << "names compare exactly";
    EXPECT_EQ(bridge.GetTextValue(0, "q"), "") << "only the form asked for";

    bridge.SetTextValue(0, "company", "新名称");
    EXPECT_EQ(*field(0, 0).value, "新名称");
    EXPECT_EQ(*field(0, 1).value, "second") << "the second of the name is untouched";
    bridge.SetTextValue(0, "nobody", "x"); // changes nothing, no failure

    EXPECT_TRUE(bridge.GetChecked(0, "vip"));
    EXPECT_FALSE(bridge.GetChecked(0, "mailing"));
    EXPECT_FALSE(bridge.GetChecked(0, "nobody"));
    bridge.SetChecked(0, "mailing", true);
    EXPECT_TRUE(*field(0, 3).checked);
}

TEST_F(PageFields, ListsReadTheLastMatchAndSetEveryOne) {
    EXPECT_EQ(bridge.GetComboValue(0, "city"), "hz") << "the later list overwrites the earlier";
    EXPECT_EQ(bridge.GetComboText(0, "city"), "杭州");
    EXPECT_EQ(bridge.GetComboValue(0, "level"), "") << "nothing selected reads as empty";
    EXPECT_EQ(bridge.GetComboText(0, "level"), "");

    bridge.SetComboByValue(0, "city", "bj");
    EXPECT_EQ(field(0, 4).selectedIndex, 2);
    EXPECT_EQ(field(0, 5).selectedIndex, 2) << "every list of the name";
    bridge.SetComboByValue(0, "city", "gz");
    EXPECT_EQ(field(0, 4).selectedIndex, 2) << "a value no option has leaves the list";
    bridge.SetComboByText(0, "city", "上海");
    EXPECT_EQ(field(0, 4).selectedIndex, 1);
    EXPECT_EQ(field(0, 5).selectedIndex, 1);
}

TEST_F(PageFields, RadioButtonsMatchGroupAndValue) {
    EXPECT_FALSE(bridge.GetRadioState(0, "sex", "m"));
    EXPECT_TRUE(bridge.GetRadioState(0, "sex", "f"));
    EXPECT_FALSE(bridge.GetRadioState(0, "plan", "f")) << "the value of another group";
    EXPECT_FALSE(bridge.GetRadioState(1, "sex", "f")) << "another form";
    EXPECT_EQ(bridge.GetCheckedRadioFromGroup(0, "sex"), "f");
    EXPECT_EQ(bridge.GetCheckedRadioFromGroup(0, "plan"), "") << "nothing checked";

    bridge.SetRadioState(0, "plan", "pro", true);
    EXPECT_TRUE(*field(0, 10).checked);
    EXPECT_FALSE(*field(0, 9).checked);
    EXPECT_EQ(bridge.GetCheckedRadioFromGroup(0, "plan"), "pro");
}

TEST_F(PageFields, LinksImagesSourceAndTitle) {
    EXPECT_EQ(bridge.GetLink(0), "http://127.0.0.1/desktop/site/index");
    EXPECT_EQ(bridge.GetImage(0), "http://127.0.0.1/static/avatar/demo.png");
    EXPECT_EQ(bridge.GetSource(), "<html><body>x</body></html>");
    EXPECT_EQ(bridge.GetTitle(), "客户资料");

    bridge.LoadHTML("<b>x</b>");
    EXPECT_EQ(browser.calls.last(), "markup <b>x</b>");
    EXPECT_EQ(bridge.DocumentObject()->title, "客户资料") << "LoadHTML fetches no document";
    EXPECT_EQ(bridge.GetSource(), "<html><head></head><body><b>x</b></body></html>");
    EXPECT_EQ(bridge.DocumentObject()->url, "about:blank");
}

TEST_F(PageFields, FailuresReachTheCallerWithADescription) {
    auto failure = [](auto call) {
        try {
            call();
        } catch (const BridgeError& e) {
            return std::string(e.what());
        }
        return std::string("no failure");
    };
    EXPECT_EQ(failure([&] { bridge.GetTextValue(5, "q"); }), "no form at index 5");
    EXPECT_EQ(failure([&] { bridge.GetTextValue(-1, "q"); }), "no form at index -1");
    EXPECT_EQ(failure([&] { bridge.GetLink(3); }), "no link at index 3");
    EXPECT_EQ(failure([&] { bridge.GetImage(1); }), "no image at index 1");
    EXPECT_EQ(failure([&] { bridge.GetTextValue(0, "group"); }), "the element at position 11 has no value");
    EXPECT_EQ(failure([&] { bridge.GetComboValue(0, "company"); }), "the element at position 0 has no selectedIndex");

    browser.markupLimit = 10;
    EXPECT_EQ(failure([&] { bridge.LoadHTML("<p>longer than ten</p>"); }),
              "the markup is larger than the browser can show");

    browser.silent = true;
    bridge.setPageTimeout(std::chrono::milliseconds(50));
    EXPECT_EQ(failure([&] { bridge.GetTitle(); }), "the page did not answer within 50 ms");

    browser.silent = false;
    browser.document.reset();
    EXPECT_EQ(failure([&] { bridge.GetTitle(); }), "no document yet");
}

TEST_F(PageFields, APageCommandCannotWaitForThePage) {
    std::string seen;
    HACMD::SetCommandHandler([&](const HACMD::Arguments&) {
        try {
            bridge.GetTitle();
        } catch (const BridgeError& e) {
            seen = e.what();
        }
    });
    bridge.AddObject(u"MyCMD", std::make_shared<HACMD>());
    EXPECT_FALSE(browser.pageNavigates("happ://CMD(%22title%22)/"));
    HACMD::SetCommandHandler({});
    EXPECT_EQ(seen, "the page cannot be read while one of its commands runs");
    EXPECT_EQ(bridge.GetTitle(), "客户资料") << "after the command the page answers";
}

} // namespace
} // namespace kivo::bridge
