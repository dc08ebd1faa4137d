#pragma once

#include "chrome/clicklabel.h"
#include "chrome/controlarray.h"
#include "chrome/imagecontrol.h"
#include "chrome/lineshape.h"
#include "chrome/picturebox.h"
#include "mainwin/menumodel.h"

#include <QLabel>
#include <QObject>

#include <functional>
#include <map>
#include <string>

namespace kivo::mainwin {

/// The top bar and the left menu of the main window as controls: it draws a MenuModel and
/// reports the clicks and mouse moves that the model must hear of.
class MenuBars : public QObject {
    Q_OBJECT
public:
    /// Icons come from `fetchIcon` (an icon path to a local file, or empty).
    using IconFetcher = std::function<std::string(const std::string& iconPath)>;

    MenuBars(QWidget* window, IconFetcher fetchIcon);

    /// Brings every control in line with the model: creates the top bar once, makes the left
    /// menu anew after each build, then places, colours and shows.
    void Draw(const MenuModel& model);
    /// Keeps the left menu above the browser it may widen over.
    void Raise();

    chrome::PictureBox* leftMenuBox() const { return leftMenuBox_; }

    /// The bars' controls in reading order: the top bar, the left menu, the fold strip.
    QList<QWidget*> focusOrder() const;
    /// Where the keyboard enters a bar: its selected item, or its first; null when none shows.
    QWidget* topEntry() const;
    QWidget* leftEntry() const;
    bool inTopBar(const QWidget* control) const;
    bool inLeftMenu(const QWidget* control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void TopItemClicked(int index);
    void LeftItemClicked(int index);
    void LeftMenuHovered();
    void FoldClicked();

private:
    void buildTopBar(const MenuModel& model);
    void buildLeftMenu(const MenuModel& model);
    void clearLeftMenu();
    // The bar's item `step` places from `control`, round; null when none.
    QWidget* neighbour(const chrome::ControlArray<chrome::ImageControl>& bar, QWidget* control, int step) const;
    void showIcon(chrome::ImageControl* image, const std::string& iconPath, std::string& shown);

    QWidget* window_;
    IconFetcher fetchIcon_;
    bool topDrawn_ = false;
    int leftDrawn_ = 0;
    std::map<int, std::string> leftIcons_; // the icon path each left item shows

    chrome::PictureBox* leftMenuBox_ = nullptr;
    chrome::PictureBox* unfold_ = nullptr;
    chrome::ClickLabel* ico_ = nullptr;
    chrome::ControlArray<chrome::ImageControl> topMenuBtn_, topMenu_img_;
    chrome::ControlArray<QLabel> topMenu_;
    chrome::ControlArray<chrome::PictureBox> topMenu_bg_, menuTab_;
    chrome::ControlArray<chrome::LineShape> tabRightLine_, leftMenuLine_;
    chrome::ControlArray<chrome::ImageControl> leftMenuBtn_, leftMenu_img_;
    chrome::ControlArray<QLabel> leftMenu_;
};

} // namespace kivo::mainwin
