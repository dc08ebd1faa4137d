#include "mainwin/menubars.h"

#include "chrome/fonts.h"
#include "chrome/keyboardaccess.h"
#include "platform/desktop/twips.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>

namespace kivo::mainwin {

using chrome::ImageControl;
using chrome::LineShape;
using chrome::PictureBox;
using platform::MoveTwips;
using platform::TwipsToPixels;

namespace {

using chrome::kYaHei;
const QColor kMist(0xED, 0xED, 0xED);
const QColor kRule(0xE0, 0xE0, 0xE0);
const char* kNormalCaption = "color: #666666; background: transparent;";
const char* kSelectedCaption = "color: #1B9BEA; background: transparent;";

template <typename T> T* named(T* control, const char* name, int l, int t, int w, int h) {
    control->setObjectName(name);
    MoveTwips(control, l, t, w, h);
    return control;
}

ImageControl* image(QWidget* parent, const char* name, int l, int t, int w, int h, bool hitArea) {
    auto* control = named(new ImageControl(parent), name, l, t, w, h);
    control->setFit(true);
    if (!hitArea) {
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
        control->setCursor(Qt::ArrowCursor);
    }
    return control;
}

QLabel* caption(QWidget* parent, const char* name, int l, int t, int w, int h, double points, const char* style) {
    auto* label = named(new QLabel(parent), name, l, t, w, h);
    label->setFont(chrome::WindowFont(kYaHei, points));
    label->setStyleSheet(style);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

PictureBox* box(QWidget* parent, const char* name, int l, int t, int w, int h, const QColor& colour) {
    auto* control = named(new PictureBox(parent), name, l, t, w, h);
    control->setBackColor(colour);
    return control;
}

LineShape* line(QWidget* parent, const char* name, int x1, int y1, int x2, int y2, const QColor& colour) {
    auto* control = new LineShape(parent);
    control->setObjectName(name);
    control->setLine(x1, y1, x2, y2);
    control->setColor(colour);
    return control;
}

// Captions and icons lie over their hit area and let the mouse through to it.
template <typename T> void passMouse(T* element, int) {
    element->setAttribute(Qt::WA_TransparentForMouseEvents);
}

} // namespace

MenuBars::MenuBars(QWidget* window, IconFetcher fetchIcon)
    : QObject(window), window_(window), fetchIcon_(std::move(fetchIcon)),
      leftMenuBox_(box(window, "leftMenuBox", 20, MenuModel::kWebTop, 2040, 7050, kMist)),
      unfold_(box(window, "unfold", 2060, MenuModel::kWebTop, 150, 7050, kMist)),
      ico_(new chrome::ClickLabel(">", unfold_)),
      topMenuBtn_(image(window, "topMenuBtn", 2040, 1440, 1440, 495, true),
                  [this](ImageControl* b, int) { connect(b, &ImageControl::Click, this, &MenuBars::TopItemClicked); }),
      topMenu_img_(image(window, "topMenu_img", 2280, 1560, 225, 225, false), passMouse<ImageControl>),
      topMenu_(caption(window, "topMenu", 2520, 1560, 855, 255, 9, "color: white; background: transparent;"),
               passMouse<QLabel>),
      topMenu_bg_(box(window, "topMenu_bg", 2040, 1440, 1455, 495, QColor(0x12, 0x7F, 0xC2)), passMouse<PictureBox>),
      menuTab_(
          box(leftMenuBox_, "menuTab", 0, 0, 1170, 7050, Qt::white),
          [this](PictureBox* page, int) { connect(page, &PictureBox::MouseMove, this, &MenuBars::LeftMenuHovered); }),
      tabRightLine_(line(menuTab_(0), "tabRightLine", 1160, 0, 1160, 6980, kRule)),
      leftMenuLine_(line(menuTab_(0), "leftMenuLine", 120, 1080, 1080, 1080, kMist)),
      leftMenuBtn_(image(menuTab_(0), "leftMenuBtn", 0, 0, 1170, 1080, true),
                   [this](ImageControl* b, int) {
                       connect(b, &ImageControl::Click, this, &MenuBars::LeftItemClicked);
                       connect(b, &ImageControl::MouseMove, this, &MenuBars::LeftMenuHovered);
                   }),
      leftMenu_img_(image(menuTab_(0), "leftMenu_img", 0, 240, 1170, 330, false), passMouse<ImageControl>),
      leftMenu_(caption(menuTab_(0), "leftMenu", 0, 640, 1170, 300, 10.5, kNormalCaption), passMouse<QLabel>) {
    leftMenuBox_->hide();
    unfold_->hide();
    unfold_->setCursor(Qt::PointingHandCursor);
    ico_->setObjectName("ico");
    MoveTwips(ico_, 0, 0, 150, 180);
    ico_->setFont(chrome::WindowFont("宋体", 9, true));
    ico_->setStyleSheet("color: #808080; background: transparent;");
    ico_->setAlignment(Qt::AlignCenter);
    connect(ico_, &chrome::ClickLabel::Click, this, &MenuBars::FoldClicked);
    connect(unfold_, &PictureBox::Click, this, &MenuBars::FoldClicked);
    chrome::MakeActionable(unfold_, "展开菜单");
}

QList<QWidget*> MenuBars::focusOrder() const {
    QList<QWidget*> order;
    for (const int i : topMenuBtn_.indexes()) {
        order << topMenuBtn_(i);
    }
    for (const int j : leftMenuBtn_.indexes()) {
        order << leftMenuBtn_(j);
    }
    order << unfold_;
    return order;
}

namespace {

// A bar's selected shown item, or its first shown one.
QWidget* entryOf(const chrome::ControlArray<ImageControl>& bar) {
    QWidget* first = nullptr;
    for (const int i : bar.indexes()) {
        QWidget* item = bar(i);
        if (item->isVisible() && chrome::IsSelected(item)) {
            return item;
        }
        first = first != nullptr || !item->isVisible() ? first : item;
    }
    return first;
}

} // namespace

QWidget* MenuBars::topEntry() const {
    return entryOf(topMenuBtn_);
}

QWidget* MenuBars::leftEntry() const {
    return leftMenuBox_->isVisible() ? entryOf(leftMenuBtn_) : nullptr;
}

bool MenuBars::inTopBar(const QWidget* control) const {
    return control != nullptr && control->objectName().startsWith("topMenuBtn(");
}

bool MenuBars::inLeftMenu(const QWidget* control) const {
    return control != nullptr && (control->objectName().startsWith("leftMenuBtn(") || control == unfold_);
}

QWidget* MenuBars::neighbour(const chrome::ControlArray<ImageControl>& bar, QWidget* control, int step) const {
    const std::vector<int> indexes = bar.indexes();
    const auto at = std::find_if(indexes.begin(), indexes.end(), [&](int i) { return bar(i) == control; });
    if (at == indexes.end()) {
        return nullptr;
    }
    const int n = static_cast<int>(indexes.size());
    const int from = static_cast<int>(at - indexes.begin());
    for (int k = 1; k < n; ++k) {
        QWidget* item = bar(indexes[((from + step * k) % n + n) % n]);
        if (item->isVisible()) {
            return item;
        }
    }
    return nullptr;
}

bool MenuBars::eventFilter(QObject* watched, QEvent* event) {
    auto* control = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool top = inTopBar(control);
        const int step = (top && key == Qt::Key_Right) || (!top && key == Qt::Key_Down) ? 1
                         : (top && key == Qt::Key_Left) || (!top && key == Qt::Key_Up)  ? -1
                                                                                        : 0;
        if (step != 0) {
            if (QWidget* next = neighbour(top ? topMenuBtn_ : leftMenuBtn_, control, step)) {
                chrome::FocusByKeyboard(next);
            }
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && inLeftMenu(control) &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) {
        emit LeftMenuHovered(); // the keyboard in the menu opens it wide, as the mouse over it does
    }
    return QObject::eventFilter(watched, event);
}

void MenuBars::showIcon(ImageControl* picture, const std::string& iconPath, std::string& shown) {
    if (iconPath == shown && !shown.empty()) {
        return;
    }
    shown = iconPath;
    const std::string file = fetchIcon_ ? fetchIcon_(iconPath) : std::string();
    picture->LoadFile(QString::fromStdString(file));
}

void MenuBars::buildTopBar(const MenuModel& model) {
    const auto& items = model.topItems();
    for (int i = 1; i <= static_cast<int>(items.size()); ++i) {
        const int x = MenuModel::TopItemLeft(i);
        auto* button = topMenuBtn_.Load(i);
        button->move(TwipsToPixels(x), TwipsToPixels(1440));
        auto* icon = topMenu_img_.Load(i);
        icon->move(TwipsToPixels(x + 240), TwipsToPixels(1560));
        std::string shown;
        showIcon(icon, items[i - 1].pic, shown);
        auto* name = topMenu_.Load(i);
        name->setText(QString::fromStdString(items[i - 1].name));
        name->move(TwipsToPixels(x + 480), TwipsToPixels(1560));
        auto* background = topMenu_bg_.Load(i);
        background->move(TwipsToPixels(x), TwipsToPixels(1440));
        background->lower(); // under the icon and caption, which the hit area lets through
        icon->show();
        name->show();
        button->show();
        button->raise();
        chrome::MakeActionable(button, name->text(), QAccessible::PageTab);
        button->installEventFilter(this);
    }
    topDrawn_ = true;
}

void MenuBars::clearLeftMenu() {
    for (const int i : leftMenuBtn_.indexes()) {
        leftMenuBtn_.Unload(i);
        leftMenu_.Unload(i);
        leftMenu_img_.Unload(i);
        leftMenuLine_.Unload(i);
    }
    for (const int i : menuTab_.indexes()) {
        tabRightLine_.Unload(i);
        menuTab_.Unload(i);
    }
    leftIcons_.clear();
}

void MenuBars::buildLeftMenu(const MenuModel& model) {
    clearLeftMenu();
    for (int page = 1; page <= model.pageCount(); ++page) {
        PictureBox* tab = menuTab_.Load(page);
        tab->setParent(leftMenuBox_);
        LineShape* rule = tabRightLine_.Load(page);
        rule->setParent(tab);
        rule->show();
        tab->show();
    }
    const auto& items = model.leftItems();
    for (int j = 1; j <= static_cast<int>(items.size()); ++j) {
        PictureBox* tab = menuTab_(model.itemPage(j));
        const int y = model.itemTop(j);
        auto place = [tab](QWidget* control, int top) {
            control->setParent(tab);
            control->move(0, TwipsToPixels(top));
            control->show();
        };
        place(leftMenuBtn_.Load(j), y);
        QLabel* name = leftMenu_.Load(j);
        name->setText(QString::fromStdString(items[j - 1].name));
        chrome::MakeActionable(leftMenuBtn_(j), name->text(), QAccessible::MenuItem);
        leftMenuBtn_(j)->installEventFilter(this);
        place(name, y + 640);
        place(leftMenu_img_.Load(j), y + 240);
        LineShape* rule = leftMenuLine_.Load(j);
        rule->setParent(tab);
        rule->setLine(120, y, 1080, y);
        rule->show();
        leftMenuBtn_(j)->raise();
    }
    leftDrawn_ = model.leftBuilds();
}

void MenuBars::Draw(const MenuModel& model) {
    if (model.topBuilt() && !topDrawn_) {
        buildTopBar(model);
    }
    for (const int i : topMenu_bg_.indexes()) {
        topMenu_bg_(i)->setVisible(model.topSelected(i));
        chrome::SetSelected(topMenuBtn_(i), model.topSelected(i));
    }
    if (model.leftBuilds() != leftDrawn_) {
        buildLeftMenu(model);
    }

    const MenuModel::Rect& area = model.leftMenuBox();
    MoveTwips(leftMenuBox_, area.left, area.top, area.width, area.height);
    leftMenuBox_->setVisible(model.leftMenuBoxVisible());
    for (const int page : menuTab_.indexes()) {
        PictureBox* tab = menuTab_(page);
        MoveTwips(tab, model.pageLeft(page), 0, MenuModel::kPageWidth, area.height);
        tabRightLine_(page)->setLine(1160, 0, 1160, area.height);
    }
    const auto& items = model.leftItems();
    for (const int j : leftMenuBtn_.indexes()) {
        const bool selected = model.leftSelected(j);
        leftMenu_(j)->setStyleSheet(selected ? kSelectedCaption : kNormalCaption);
        chrome::SetSelected(leftMenuBtn_(j), selected);
        showIcon(leftMenu_img_(j), selected ? items[j - 1].pic_blue : items[j - 1].pic_grey, leftIcons_[j]);
    }

    MoveTwips(unfold_, model.unfoldLeft(), area.top, 150, area.height);
    unfold_->setVisible(model.unfoldVisible() && model.leftMenuBoxVisible());
    ico_->setText(QString::fromStdString(model.icoCaption()));
    unfold_->setAccessibleName(model.icoCaption() == ">" ? "展开菜单" : "收起菜单");
    ico_->move(0, TwipsToPixels(model.icoTop()));
    Raise();
}

void MenuBars::Raise() {
    leftMenuBox_->raise();
    unfold_->raise();
}

} // namespace kivo::mainwin
