// The menu model: the cases of tests/data/menus/steps.cases through `kivoctl menu`, and what the
// state line does not show (page places, pending fields, the "is 1" test).
#include "mainwin/menuitem.h"
#include "mainwin/menumodel.h"
#include "menucommands.h"
#include "service/json/jsonparser.h"
#include "service/json/textcodec.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace kivo::mainwin {
namespace {

struct MenuCase {
    std::string name;
    std::string config;
    std::vector<std::string> arguments;
    std::string expected;
};

std::map<std::string, std::string>& configs() {
    static std::map<std::string, std::string> all;
    return all;
}

std::vector<MenuCase> readCases() {
    std::ifstream in(KIVO_TEST_DATA_DIR "/menus/steps.cases");
    std::vector<MenuCase> cases;
    std::string line;
    MenuCase* open = nullptr;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (line.empty()) {
            open = nullptr;
        } else if (open == nullptr && first == "#") {
            continue;
        } else if (open == nullptr && first == "config") {
            std::string name;
            words >> name;
            std::getline(words, configs()[name]);
        } else if (first == "case") {
            cases.push_back({line.substr(5), {}, {}, {}});
            open = &cases.back();
        } else if (open != nullptr && first == "config" && open->config.empty()) {
            words >> open->config;
        } else if (open != nullptr && first == "size" && open->arguments.empty()) {
            open->arguments = {"--size", line.substr(5)};
        } else if (open != nullptr && first == "steps") {
            for (std::string step; words >> step;) {
                open->arguments.push_back(step);
            }
        } else if (open != nullptr) {
            open->expected += line + "\n";
        }
    }
    return cases;
}

class MenuCases : public ::testing::TestWithParam<MenuCase> {};

TEST_P(MenuCases, StepsGiveTheirEffectsAndState) {
    const MenuCase& c = GetParam();
    ASSERT_TRUE(configs().count(c.config)) << "no config " << c.config;
    test::TempFolder folder("menucase");
    const auto file = folder.path() / "config.json";
    std::ofstream(file) << configs()[c.config];
    std::vector<std::string> arguments{"--config", file.string(), "--base-url", "http://svc.test:8080"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(tools::runMenuCommand(arguments, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Data, MenuCases, ::testing::ValuesIn(readCases()), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

std::vector<MenuItem> items(const std::string& json) {
    return ReadMenuItems(json::JsonParse(json::Utf8ToUtf16(json)));
}

MenuModel sevenTeenItems() {
    std::string left = "[";
    for (int i = 1; i <= 17; ++i) {
        left += (i > 1 ? "," : "") + std::string(R"({"url":"/l)") + std::to_string(i) + R"(","mark":"m)" +
                std::to_string(i) + "\"}";
    }
    return MenuModel(items(R"([{"url":"/a","current":1,"leftMenu":1},{"url":"/b","leftMenu":1}])"), items(left + "]"),
                     "http://svc", "http://forum");
}

TEST(MenuModel, TheSelectedPageComesFirstAndTheOthersFollowInOrder) {
    MenuModel model = sevenTeenItems();
    model.LayoutWindow();
    model.BuildMenus();
    ASSERT_EQ(model.pageCount(), 3);
    EXPECT_EQ(model.pageLeft(1), 0);
    EXPECT_EQ(model.pageLeft(3), 2340);
    model.ClickLeftItem(14);
    EXPECT_EQ(model.pageLeft(3), 0);
    EXPECT_EQ(model.pageLeft(1), 1170);
    EXPECT_EQ(model.pageLeft(2), 2340);
    EXPECT_EQ(model.itemPage(14), 3);
    EXPECT_EQ(model.itemTop(14), 1080);
    EXPECT_TRUE(model.leftSelected(14));
    EXPECT_FALSE(model.leftSelected(1)) << "the previous item is drawn normal again";
    model.ToggleLeftMenu();
    EXPECT_EQ(model.leftMenuBox().width, 3510);
    EXPECT_EQ(model.unfoldLeft(), 20 + 3510);
    EXPECT_EQ(model.pageLeft(3), 0) << "unfolding keeps the pages where they are";
}

TEST(MenuModel, AnItemAtAPagesEndIsOnThatPage) {
    MenuModel model = sevenTeenItems();
    model.LayoutWindow();
    model.BuildMenus();
    ASSERT_EQ(model.itemsPerPage(), 6);
    EXPECT_EQ(model.itemPage(6), 1);
    EXPECT_EQ(model.itemPage(7), 2);
    EXPECT_EQ(model.itemTop(6), 5 * 1080);
    EXPECT_EQ(model.itemTop(7), 0);
    model.ClickLeftItem(6);
    EXPECT_EQ(model.frontPage(), 1) << "item 6 closes page 1";
    model.ClickLeftItem(12);
    EXPECT_EQ(model.frontPage(), 2);
    model.ClickLeftItem(13);
    EXPECT_EQ(model.frontPage(), 3);
}

TEST(MenuModel, TheLeftMenuFollowsTheWindowHeight) {
    // Window heights in pixels, items a page (box = height - 1940 - 10 twips, 1080 an item).
    for (const auto& [pixels, perPage] : {std::pair{600, 6}, {768, 8}, {1080, 13}, {1440, 18}}) {
        MenuModel model = sevenTeenItems();
        model.LayoutWindow();
        model.BuildMenus();
        model.ClickLeftItem(17);
        const int builds = model.leftBuilds();
        model.TakeEffects();
        model.setWindowSize(14250 * 2, pixels * 15);
        model.LayoutWindow();
        SCOPED_TRACE(pixels);
        EXPECT_EQ(model.itemsPerPage(), perPage);
        EXPECT_EQ(model.pageCount(), (17 + perPage - 1) / perPage);
        EXPECT_EQ(model.leftMenuBox().height, pixels * 15 - 1940 - 10);
        EXPECT_EQ(model.web(), (MenuModel::Rect{1190, 1940, 28500 - 1210, pixels * 15 - 1940 - 20}));
        EXPECT_EQ(model.leftBuilds(), builds + (perPage == 6 ? 0 : 1)) << "the items are drawn anew";
        EXPECT_EQ(model.frontPage(), model.itemPage(17)) << "the selected item stays in sight";
        EXPECT_EQ(model.itemTop(17), ((17 - 1) % perPage) * 1080);
        EXPECT_TRUE(model.leftSelected(17));
        EXPECT_TRUE(model.TakeEffects().empty()) << "a resize opens nothing";
    }
}

TEST(MenuModel, APageCommandClearsWhatItLeftPending) {
    MenuModel model = sevenTeenItems();
    model.LayoutWindow();
    model.BuildMenus();
    model.TakeEffects();
    model.CMD("m8", "!orders!8");
    EXPECT_EQ(model.pendingLeftIndex, 0);
    EXPECT_EQ(model.pendingPath, "");
    EXPECT_EQ(model.currentLeftIndex, 8);
    const auto effects = model.TakeEffects();
    ASSERT_FALSE(effects.empty());
    EXPECT_EQ(effects.front(), (MenuModel::Effect{MenuModel::EffectKind::Navigate, "http://svc/orders/8"}));
    EXPECT_EQ(model.frontPage(), 2);
}

TEST(MenuModel, TopBackgroundsFollowTheSelection) {
    MenuModel model(items(R"([{"current":1},{"current":1},{}])"), {}, "http://svc", "");
    model.BuildTopMenu();
    EXPECT_TRUE(model.topSelected(1) && model.topSelected(2)) << "every item marked current shows its background";
    EXPECT_EQ(model.currentTopIndex, 2) << "the last marked item is the current one";
    model.SelectTopItem(3);
    EXPECT_TRUE(model.topSelected(1));
    EXPECT_FALSE(model.topSelected(2));
    EXPECT_TRUE(model.topSelected(3));
    model.SelectTopItem(4); // no such item
    EXPECT_EQ(model.currentTopIndex, 3);
}

TEST(MenuModel, TheUsersBrowserOpensAtMostOnceASecond) {
    MenuModel model({}, {}, "http://svc", "http://bbs/");
    std::chrono::steady_clock::time_point now{};
    model.setClock([&] { return now; });
    auto opened = [&] {
        int count = 0;
        for (const auto& effect : model.TakeEffects()) {
            count += effect.kind == MenuModel::EffectKind::Open ? 1 : 0;
        }
        return count;
    };
    model.CMD("bbsvelmora", "");
    EXPECT_EQ(opened(), 1);
    now += std::chrono::milliseconds(400);
    model.CMD("wwwvelmora", "");
    model.CMD("bbsvelmora", "");
    EXPECT_EQ(opened(), 0) << "both within the second: dropped";
    EXPECT_EQ(model.DroppedOpens(), 2);
    now += std::chrono::milliseconds(600);
    model.CMD("wwwvelmora", "");
    EXPECT_EQ(opened(), 1) << "a second after the last one opened";
}

TEST(MenuModel, PagePathsStayOnTheService) {
    const MenuModel model({}, {}, "https://svc.test:8443/app", "");
    EXPECT_EQ(model.PagePathAddress("/x/y?z=1"), "https://svc.test:8443/app/x/y?z=1");
    EXPECT_EQ(model.PagePathAddress("x"), "");
    EXPECT_EQ(model.PagePathAddress(""), "");
    EXPECT_EQ(MenuModel({}, {}, "https://svc.test", "").PagePathAddress(":9999/x"), "") << "another port";
    EXPECT_EQ(MenuModel({}, {}, "https://svc.test", "").PagePathAddress(".evil.test/x"), "") << "another host";
    EXPECT_EQ(MenuModel({}, {}, "no-scheme", "").PagePathAddress("/x"), "");
}

TEST(MenuItem, OnlyTheNumberOneOrTheTextOneIsOne) {
    const auto parsed = items(R"([{"current":1,"leftMenu":"1"},{"current":1.0,"leftMenu":"1.0"},{"current":true,
        "leftMenu":" 1"},{"current":2,"leftMenu":null},{"current":{},"leftMenu":[1]},{"current":-1}])");
    ASSERT_EQ(parsed.size(), 6u);
    EXPECT_TRUE(parsed[0].current && parsed[0].leftMenu);
    EXPECT_TRUE(parsed[1].current);
    EXPECT_FALSE(parsed[1].leftMenu);
    for (size_t i = 2; i < parsed.size(); ++i) {
        EXPECT_FALSE(parsed[i].current || parsed[i].leftMenu) << i;
    }
}

TEST(MenuItem, RecordsReadWhatIsThere) {
    const auto parsed = items(R"([{"name":"客户","url":"/c","mark":"c","pic_blue":"/b.png","current":"1"}, 7, "x"])");
    ASSERT_EQ(parsed.size(), 3u);
    EXPECT_EQ(parsed[0].name, "客户");
    EXPECT_EQ(parsed[0].pic_blue, "/b.png");
    EXPECT_EQ(parsed[0].pic_grey, "");
    EXPECT_TRUE(parsed[0].current);
    EXPECT_EQ(parsed[1].url, "") << "an element that is not an object is an empty record";
    EXPECT_TRUE(items(R"({"topMenu":[]})").empty());
    EXPECT_TRUE(items("not json").empty());
}

TEST(KivoctlMenu, RefusesWhatItCannotRun) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(tools::runMenuCommand({"build"}, out, err), 2) << "no --config";
    test::TempFolder folder("kivoctl-menu");
    std::ofstream(folder.path() / "c.json") << R"({"topMenu":[],"leftMenu":[]})";
    EXPECT_EQ(tools::runMenuCommand({"--config", (folder.path() / "c.json").string(), "jump"}, out, err), 2);
    EXPECT_NE(err.str().find("unknown step 'jump'"), std::string::npos);
    std::ofstream(folder.path() / "bad.json") << "[1]";
    EXPECT_EQ(tools::runMenuCommand({"--config", (folder.path() / "bad.json").string(), "build"}, out, err), 1);
}

} // namespace
} // namespace kivo::mainwin
