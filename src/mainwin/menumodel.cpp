#include "mainwin/menumodel.h"

#include <algorithm>
#include <sstream>
#include <utility>

namespace kivo::mainwin {

namespace {

// "scheme://host:port" of an address, or empty when it has none.
std::string originOf(const std::string& url) {
    const auto scheme = url.find("://");
    if (scheme == std::string::npos) {
        return {};
    }
    const auto end = url.find_first_of("/?#\\", scheme + 3);
    return url.substr(0, end);
}

} // namespace

MenuModel::MenuModel(std::vector<MenuItem> top, std::vector<MenuItem> left, std::string baseUrl, std::string forumUrl)
    : top_(std::move(top)), left_(std::move(left)), baseUrl_(std::move(baseUrl)), forumUrl_(std::move(forumUrl)) {}

void MenuModel::setWindowSize(int width, int height) {
    width_ = width;
    height_ = height;
}

std::vector<MenuModel::Effect> MenuModel::TakeEffects() {
    return std::exchange(effects_, {});
}

bool MenuModel::topSelected(int index) const {
    return index >= 1 && index <= static_cast<int>(topSelected_.size()) && topSelected_[index - 1];
}

bool MenuModel::leftSelected(int index) const {
    return index >= 1 && index <= static_cast<int>(leftSelected_.size()) && leftSelected_[index - 1];
}

int MenuModel::itemsPerPage() const {
    // A box lower than one item still shows one item a page rather than dividing by zero.
    return std::max(1, box_.height / kItemHeight);
}

int MenuModel::itemPage(int index) const {
    return (index - 1) / builtPerPage_ + 1;
}

int MenuModel::itemTop(int index) const {
    return ((index - 1) % builtPerPage_) * kItemHeight;
}

int MenuModel::frontPage() const {
    for (int page = 1; page <= pageCount(); ++page) {
        if (pageLeft(page) == 0) {
            return page;
        }
    }
    return 0;
}

std::string MenuModel::PagePathAddress(const std::string& path) const {
    if (path.empty() || path.front() != '/') {
        return {};
    }
    const std::string address = baseUrl_ + path;
    const std::string origin = originOf(baseUrl_);
    return !origin.empty() && originOf(address) == origin ? address : std::string();
}

// ---- layout ----

void MenuModel::showLeftBox() {
    web_.left = kFoldedLeft;
    web_.width = width_ - 1210;
    box_.height = height_ - box_.top - 10;
    boxVisible_ = true;
    icoTop_ = box_.height / 2 - 90;
}

void MenuModel::LayoutWindow() {
    if (leftMenuShown == 1) {
        showLeftBox();
        if (pageCount() > 0 && itemsPerPage() != builtPerPage_) {
            repage();
        }
        // An unfolded menu stays unfolded, so the box and its arrow keep telling the same story.
        box_.width = leftMenuUnfolded ? pageCount() * kPageWidth : kPageWidth;
        unfoldLeft_ = box_.left + box_.width;
    } else {
        web_.left = 20;
        web_.width = width_ - 40;
        box_.height = height_ - box_.top - 10;
        boxVisible_ = false;
    }
    web_.height = height_ - web_.top - 20;
}

void MenuModel::makePages() {
    // The window makes the left menu's controls anew for every build.
    ++leftBuilds_;
    builtPerPage_ = itemsPerPage();
    const int count = static_cast<int>(left_.size());
    pageLeft_.clear();
    for (int page = 1; page <= (count + builtPerPage_ - 1) / builtPerPage_; ++page) {
        pageLeft_.push_back((page - 1) * kPageWidth);
    }
}

void MenuModel::repage() {
    // A resize changed how many items a page holds: the pages are made anew for the new height,
    // with the selection kept and its page in front; nothing is opened again.
    makePages();
    const bool unfolded = leftMenuUnfolded;
    const bool unfoldShown = unfoldVisible_;
    ShowLeftPage(currentLeftIndex);
    if (unfolded) {
        leftMenuUnfolded = true;
        ico_ = "<";
    }
    unfoldVisible_ = unfoldShown;
}

void MenuModel::ShowStartPage() {
    effects_.push_back({EffectKind::Overlay, {}});
    navigate(kStartPage);
}

// ---- top bar ----

void MenuModel::BuildMenus() {
    BuildTopMenu();
    if (leftMenuShown == 1) {
        BuildLeftMenu(0);
    }
}

void MenuModel::BuildTopMenu() {
    currentTopIndex = 1;
    topSelected_.assign(top_.size(), false);
    for (int i = 1; i <= static_cast<int>(top_.size()); ++i) {
        const MenuItem& item = top_[i - 1];
        if (item.current) {
            topSelected_[i - 1] = true;
            if (hasLeftMenu(item)) {
                leftMenuShown = 1;
            }
            currentTopIndex = i;
        }
    }
    topBuilt_ = true;
}

void MenuModel::SelectTopItem(int index) {
    if (index < 1 || index > static_cast<int>(top_.size())) {
        return;
    }
    const MenuItem& item = top_[index - 1];
    // A top item that carries the left menu while the menu has no items opens its own page.
    leftMenuShown = hasLeftMenu(item) ? 1 : 0;
    if (leftMenuShown == 1) {
        showLeftBox();
        box_.width = kPageWidth;
        BuildLeftMenu(pendingLeftIndex);
    } else {
        web_.left = 20;
        web_.width = width_ - 40;
        boxVisible_ = false;
        navigate(item.url);
    }
    effects_.push_back({EffectKind::Overlay, {}});
    if (currentTopIndex >= 1 && currentTopIndex <= static_cast<int>(topSelected_.size())) {
        topSelected_[currentTopIndex - 1] = false;
    }
    if (index <= static_cast<int>(topSelected_.size())) {
        topSelected_[index - 1] = true;
    }
    leftMenuUnfolded = false;
    currentTopIndex = index;
    ico_ = ">";
    unfoldVisible_ = false;
}

// ---- left menu ----

void MenuModel::drawLeft(int index, bool selected) {
    if (index >= 1 && index <= static_cast<int>(leftSelected_.size())) {
        leftSelected_[index - 1] = selected;
    }
}

void MenuModel::BuildLeftMenu(int index) {
    const int count = static_cast<int>(left_.size());
    if (index < 0 || index > count) {
        index = 0;
    }
    currentLeftIndex = index;
    makePages();
    leftSelected_.assign(left_.size(), false);
    for (int j = 1; j <= count; ++j) {
        const MenuItem& item = left_[j - 1];
        if (index == 0 && item.current) {
            drawLeft(j, true);
            navigate(item.url);
            currentLeftIndex = j;
        }
    }
    if (count > 0 && (index > 0 || currentLeftIndex == 0)) {
        if (currentLeftIndex == 0) {
            index = currentLeftIndex = 1;
        }
        drawLeft(index, true);
        const std::string pending = PagePathAddress(pendingPath);
        if (!pending.empty()) {
            effects_.push_back({EffectKind::Navigate, pending});
        } else {
            navigate(left_[index - 1].url);
        }
    }
    pendingLeftIndex = 0;
    pendingPath.clear();
}

void MenuModel::ClickLeftItem(int index) {
    if (index < 1 || index > static_cast<int>(leftSelected_.size())) {
        return;
    }
    effects_.push_back({EffectKind::Overlay, {}});
    drawLeft(currentLeftIndex, false);
    drawLeft(index, true);
    currentLeftIndex = index;
    navigate(left_[index - 1].url);
    ShowLeftPage(index);
}

void MenuModel::ShowLeftPage(int index) {
    if (index < 1) {
        return;
    }
    const int page = (index + itemsPerPage() - 1) / itemsPerPage();
    // No such page (no left menu built, or a resize changed the page count): nothing moves.
    if (page > pageCount()) {
        return;
    }
    pageLeft_[page - 1] = 0;
    int k = 1;
    for (int i = 1; i <= pageCount(); ++i) {
        if (i != page) {
            pageLeft_[i - 1] = k++ * kPageWidth;
        }
    }
    fold();
}

void MenuModel::fold() {
    box_.width = kPageWidth;
    ico_ = ">";
    unfoldVisible_ = false;
    leftMenuUnfolded = false;
}

void MenuModel::HoverLeftMenu() {
    if (leftMenuShown != 1) {
        return;
    }
    unfoldLeft_ = box_.left + box_.width;
    unfoldVisible_ = true;
}

void MenuModel::ToggleLeftMenu() {
    if (leftMenuShown != 1) {
        return;
    }
    if (leftMenuUnfolded) {
        fold();
    } else {
        leftMenuUnfolded = true;
        box_.width = pageCount() * kPageWidth;
        ico_ = "<";
    }
    unfoldLeft_ = box_.left + box_.width;
}

// ---- page commands ----

void MenuModel::CMD(const std::string& action, const std::string& argument) {
    if (action == "sys") {
        effects_.push_back({EffectKind::Settings, {}});
        return;
    }
    if (action == "loading") {
        return; // the window hides its overlay
    }
    if (action == "bbsvelmora" || action == "wwwvelmora") {
        // No page may flood the desktop with browser windows.
        const auto now = clock_();
        if (lastOpen_ && now - *lastOpen_ < std::chrono::seconds(1)) {
            ++droppedOpens_;
        } else {
            lastOpen_ = now;
            effects_.push_back({EffectKind::Open, action == "bbsvelmora" ? forumUrl_ : baseUrl_});
        }
    }
    // The selection always goes through the second top item; without one there is nothing to select.
    if (top_.size() < 2) {
        return;
    }
    const int count = static_cast<int>(left_.size());
    for (int i = 1; i <= count; ++i) {
        const std::string& mark = left_[i - 1].mark;
        if (mark.empty() || mark != action) {
            continue;
        }
        pendingLeftIndex = i;
        pendingPath = argument;
        std::replace(pendingPath.begin(), pendingPath.end(), '!', '/');
        SelectTopItem(2);
        ShowLeftPage(i);
    }
}

// ---- diagnostics ----

std::string MenuModel::StateLine() const {
    std::ostringstream line;
    line << "state top=" << currentTopIndex << " left=" << currentLeftIndex << " shown=" << (leftMenuShown == 1)
         << " unfolded=" << leftMenuUnfolded << " perpage=" << itemsPerPage() << " pages=" << pageCount()
         << " front=" << frontPage() << " box=";
    if (boxVisible_) {
        line << box_.width << 'x' << box_.height;
    } else {
        line << "hidden";
    }
    line << " web=" << web_.left << '+' << web_.width << " unfold=" << (unfoldVisible_ ? "shown" : "hidden")
         << " ico=" << ico_;
    return line.str();
}

} // namespace kivo::mainwin
