#pragma once

#include "mainwin/menuitem.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kivo::mainwin {

/// The menus of the main window without their widgets: the top bar, the paged left menu and
/// its fold, the selection by page commands, in twips. Each routine changes the state as the
/// window's routine of the same name does and queues what the window must do outside the
/// menus (navigate the browser, open an address, cover the browser, show the settings).
class MenuModel {
public:
    enum class EffectKind { Navigate, Open, Overlay, Settings };
    struct Effect {
        EffectKind kind;
        std::string url;
        bool operator==(const Effect&) const = default;
    };

    // Design geometry of the window (twips).
    static constexpr int kDesignWidth = 14250;
    static constexpr int kDesignHeight = 9000;
    static constexpr int kWebTop = 1940;
    static constexpr int kFoldedLeft = 1190; // the browser's left edge beside the folded menu
    static constexpr int kBoxLeft = 20;
    static constexpr int kPageWidth = 1170;
    static constexpr int kItemHeight = 1080;
    static constexpr int kTopBarLeft = 2040;
    static constexpr int kTopBarTop = 1440;
    static constexpr int kTopItemWidth = 1440;
    static constexpr const char* kStartPage = "/desktop/site/index";

    MenuModel() = default;
    MenuModel(std::vector<MenuItem> top, std::vector<MenuItem> left, std::string baseUrl, std::string forumUrl);

    /// The window's client size; LayoutWindow applies it.
    void setWindowSize(int width, int height);
    int windowWidth() const { return width_; }
    int windowHeight() const { return height_; }

    // The routines of the window.
    void LayoutWindow();
    /// The start of the window's load: the overlay, then the start page.
    void ShowStartPage();
    /// The top bar, and the left menu when the current top item carries it.
    void BuildMenus();
    void BuildTopMenu();
    void SelectTopItem(int index);
    void BuildLeftMenu(int index);
    void ClickLeftItem(int index);
    void ShowLeftPage(int index);
    void ToggleLeftMenu();
    /// The mouse over a left item or a tab page: the fold strip appears.
    void HoverLeftMenu();
    /// A page command: Action and its argument A (Part of the window's CMD besides "loading").
    void CMD(const std::string& action, const std::string& argument);
    /// The commands that open the user's browser do so at most once a second; the others are
    /// dropped and counted here.
    int DroppedOpens() const { return droppedOpens_; }
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    void setClock(Clock clock) { clock_ = std::move(clock); }

    /// What the window must do, in order, since the last call.
    std::vector<Effect> TakeEffects();

    // Window fields.
    int leftMenuShown = 0;
    int currentTopIndex = 0;
    int currentLeftIndex = 0;
    bool leftMenuUnfolded = false;
    int pendingLeftIndex = 0;
    std::string pendingPath;

    // What the window draws. Indexes are 1-based, as the controls' array indexes.
    const std::vector<MenuItem>& topItems() const { return top_; }
    const std::vector<MenuItem>& leftItems() const { return left_; }
    bool topBuilt() const { return topBuilt_; }
    bool topSelected(int index) const;
    bool leftSelected(int index) const;
    /// Tab pages of the last build of the left menu, and where they lie.
    int pageCount() const { return static_cast<int>(pageLeft_.size()); }
    int pageLeft(int page) const { return pageLeft_.at(page - 1); }
    /// The page an item was built on, and its top within the page.
    int itemPage(int index) const;
    int itemTop(int index) const;
    /// Raised by every build of the left menu: the window then makes its controls anew.
    int leftBuilds() const { return leftBuilds_; }
    /// Items per page for the current height of the left box (at least 1).
    int itemsPerPage() const;
    /// The page at Left 0, or 0 when there is none.
    int frontPage() const;

    struct Rect {
        int left = 0, top = 0, width = 0, height = 0;
        bool operator==(const Rect&) const = default;
    };
    const Rect& web() const { return web_; }
    const Rect& leftMenuBox() const { return box_; }
    bool leftMenuBoxVisible() const { return boxVisible_; }
    int unfoldLeft() const { return unfoldLeft_; }
    bool unfoldVisible() const { return unfoldVisible_; }
    const std::string& icoCaption() const { return ico_; }
    int icoTop() const { return icoTop_; }

    /// Top-left corners of a top item's controls.
    static int TopItemLeft(int index) { return kTopBarLeft + (index - 1) * kTopItemWidth; }

    /// One line that says where everything stands (kivoctl prints it).
    std::string StateLine() const;

    /// BaseUrl + a page path from a page command, or empty when the result would leave the
    /// service (the path must begin with "/" and keep BaseUrl's scheme, host and port).
    std::string PagePathAddress(const std::string& path) const;

private:
    bool hasLeftMenu(const MenuItem& top) const { return top.leftMenu && !left_.empty(); }
    void navigate(const std::string& url) { effects_.push_back({EffectKind::Navigate, baseUrl_ + url}); }
    void fold();
    void showLeftBox();
    void repage();
    /// Tab pages for the items at the current height, all in their first places.
    void makePages();
    void drawLeft(int index, bool selected);

    std::vector<MenuItem> top_;
    std::vector<MenuItem> left_;
    std::string baseUrl_;
    std::string forumUrl_;
    int width_ = kDesignWidth;
    int height_ = kDesignHeight;

    bool topBuilt_ = false;
    std::vector<bool> topSelected_;
    std::vector<bool> leftSelected_;
    std::vector<int> pageLeft_;
    int builtPerPage_ = 1;
    int leftBuilds_ = 0;

    Rect web_{kFoldedLeft, kWebTop, 7335, 5295};
    Rect box_{kBoxLeft, kWebTop, 2040, 7050};
    bool boxVisible_ = false;
    int unfoldLeft_ = 2060;
    bool unfoldVisible_ = false;
    std::string ico_ = ">";
    int icoTop_ = 0;

    std::vector<Effect> effects_;
    Clock clock_ = [] { return std::chrono::steady_clock::now(); };
    std::optional<std::chrono::steady_clock::time_point> lastOpen_;
    int droppedOpens_ = 0;
};

} // namespace kivo::mainwin
