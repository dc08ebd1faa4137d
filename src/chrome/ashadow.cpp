#include "chrome/ashadow.h"

#include "platform/process/errorreport.h"
#include "platform/desktop/screencapabilities.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include <cfenv>
#include <cmath>

namespace kivo::chrome {

using namespace platform::msg;
using platform::WindowHandle;
using platform::WindowProcedure;

bool aShadow::MessageTable::contains(unsigned message) const {
    if (count == ALL_MESSAGES) {
        return true;
    }
    for (int i = 1; i <= count && i <= MSG_ENTRIES; ++i) {
        if (entries[static_cast<size_t>(i)] == message) {
            return true;
        }
    }
    return false;
}

aShadow::aShadow() {
    checkSupport();
}

aShadow::~aShadow() {
    for (auto it = registryOrder_.rbegin(); it != registryOrder_.rend(); ++it) {
        if (registry_.count(*it) != 0) {
            sc_UnSubclass(*it);
        }
    }
    registry_.clear();
    registryOrder_.clear();
    destroyStrips();
}

void aShadow::report(const QString& routine, const QString& message) {
    platform::ErrorReport::report("aShadow." + routine, message);
}

void aShadow::checkSupport() {
    // Theme changes are always delivered; a shallow screen or one that cannot blend windows by
    // their alpha rules the shadow out.
    themeMessages_ = true;
    supported_ = platform::ScreenDepth() > 15 && platform::PerPixelAlphaWindows();
}

void aShadow::setColor(std::int32_t color) {
    std::uint32_t value = static_cast<std::uint32_t>(color);
    if (color < 0) {
        // A system colour reference: take the palette's colour for it.
        const QColor c = QApplication::palette().color(QPalette::Shadow);
        value = static_cast<std::uint32_t>(c.red() | (c.green() << 8) | (c.blue() << 16));
    }
    if (value != color_) {
        color_ = value;
        redrawAll();
    }
}

void aShadow::setDepth(int depth) {
    if (depth != depth_) {
        depth_ = depth;
        redrawAll();
    }
}

void aShadow::setTransparency(int transparency) {
    const int value = transparency & 0xFF;
    if (value != transparency_) {
        transparency_ = value;
        redrawAll();
    }
}

std::unique_ptr<aShadow> aShadow::ForWindow(QWidget* form) {
    auto shadow = std::make_unique<aShadow>();
    if (shadow->Shadow(form)) {
        shadow->setDepth(6);
        shadow->setColor(0);
        shadow->setTransparency(40);
    }
    return shadow;
}

bool aShadow::Shadow(QWidget* form) {
    if (ownerHandle_ != 0) {
        report("Shadow", "Only a single form per cShadow instance is allowed");
        return false;
    }
    if (!supported_) {
        return false;
    }
    ownerHandle_ = WindowProcedure::handleOf(form);
    owner_ = form;
    if (!sc_Subclass(ownerHandle_, 0)) {
        return false;
    }
    AddMsg(ownerHandle_, WM_WINDOWPOSCHANGED, 1);
    AddMsg(ownerHandle_, WM_SIZE, 1);
    AddMsg(ownerHandle_, WM_DISPLAYCHANGE, 1);
    if (themeMessages_) {
        AddMsg(ownerHandle_, WM_THEMECHANGED, 1);
    }
    createStrips();
    if (ownerVisible()) { // the window is on screen already: the shadow takes its place now
        const QRect at = form->geometry();
        placement_ = {ownerHandle_, 0, at.x(), at.y(), at.width(), at.height(), SWP_SHOWWINDOW};
        followOwner();
    }
    return true;
}

// ---- subclassing facility ----

bool aShadow::sc_Subclass(WindowHandle hwnd, std::int32_t userValue) {
    QWidget* window = WindowProcedure::windowOf(hwnd);
    if (window == nullptr) {
        report("sc_Subclass", "Invalid window handle");
        return false;
    }
    if (registry_.count(hwnd) != 0) {
        report("sc_Subclass", "Window handle is already subclassed");
        return false;
    }
    auto record = std::make_shared<SubclassRecord>();
    record->hwnd = hwnd;
    record->owner = this;
    record->userValue = userValue;
    record->procedure = new WindowProcedure(
        window, [record](const platform::WindowMessage& m, const WindowProcedure::CallPrevious& previous) {
            return dispatch(record, m, previous);
        });
    registry_[hwnd] = record;
    registryOrder_.push_back(hwnd);
    return true;
}

std::intptr_t aShadow::dispatch(const std::shared_ptr<SubclassRecord>& record, const platform::WindowMessage& m,
                                const WindowProcedure::CallPrevious& previous) {
    if (record->before.contains(m.message)) {
        bool handled = false;
        std::intptr_t result = 0;
        record->owner->messageHandler(true, handled, result, m.hwnd, m.message, m.wParam, m.lParam, record->userValue);
        if (handled) {
            return result;
        }
    }
    ++record->inUse;
    std::intptr_t result = previous();
    --record->inUse;
    if (record->inUse == 0 && record->shutdown) {
        // Released while nothing runs inside it any more: the window goes back to its own
        // procedure.
        if (record->procedure) {
            record->procedure->detach();
        }
        return result;
    }
    if (record->after.contains(m.message)) {
        bool handled = false;
        record->owner->messageHandler(false, handled, result, m.hwnd, m.message, m.wParam, m.lParam, record->userValue);
    }
    return result;
}

aShadow::SubclassRecord* aShadow::zMap_hWnd(WindowHandle hwnd) {
    if (registry_.empty()) {
        report("zMap_hWnd", "Subclassing hasn't been started");
        return nullptr;
    }
    const auto it = registry_.find(hwnd);
    if (it == registry_.end()) {
        report("zMap_hWnd", "Window handle isn't subclassed");
        return nullptr;
    }
    return it->second.get();
}

void aShadow::sc_UnSubclass(WindowHandle hwnd) {
    if (registry_.empty()) {
        report("sc_UnSubclass", "Window handle isn't subclassed");
        return;
    }
    SubclassRecord* record = zMap_hWnd(hwnd);
    if (record == nullptr) {
        return;
    }
    record->shutdown = true;
    record->before = {};
    record->after = {};
    if (record->inUse == 0 && record->procedure) {
        // Nothing runs inside it: release at once rather than on the next message.
        record->procedure->detach();
    }
    registry_.erase(hwnd);
    std::erase(registryOrder_, hwnd);
}

void aShadow::zAddMsg(unsigned message, MessageTable& table) {
    if (static_cast<int>(message) == ALL_MESSAGES) {
        table.count = ALL_MESSAGES;
        return;
    }
    if (table.count >= MSG_ENTRIES) {
        report("zAddMsg", "Message table overflow. Either increase the value of Const MSG_ENTRIES or use "
                          "ALL_MESSAGES instead of specific message values");
        return;
    }
    for (int i = 1; i <= table.count; ++i) {
        auto& entry = table.entries[static_cast<size_t>(i)];
        if (entry == 0) {
            entry = message;
            return;
        }
        if (entry == message) {
            return;
        }
    }
    const int slot = (table.count <= 0 ? 0 : table.count) + 1;
    table.entries[static_cast<size_t>(slot)] = message;
    table.count = slot;
}

void aShadow::zDelMsg(unsigned message, MessageTable& table) {
    if (static_cast<int>(message) == ALL_MESSAGES) {
        table.count = 0;
        return;
    }
    for (int i = 1; i <= table.count; ++i) {
        auto& entry = table.entries[static_cast<size_t>(i)];
        if (entry == message) {
            entry = 0;
            return;
        }
    }
    report("zDelMsg", "Message &H" + QString::number(message, 16).toUpper() + " not found in table");
}

void aShadow::AddMsg(WindowHandle hwnd, unsigned message, int when) {
    SubclassRecord* record = zMap_hWnd(hwnd);
    if (record == nullptr) {
        return;
    }
    if (when & 1) {
        zAddMsg(message, record->before);
    }
    if (when & 2) {
        zAddMsg(message, record->after);
    }
}

// ---- the shadow ----

void aShadow::messageHandler(bool, bool&, std::intptr_t&, WindowHandle, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam, std::int32_t&) {
    switch (message) {
    case WM_WINDOWPOSCHANGED:
        placement_ = *reinterpret_cast<const platform::WindowPos*>(lParam);
        followOwner();
        break;
    case WM_SIZE:
        if (wParam == SIZE_RESTORED && ownerVisible()) {
            setShown(true, false);
        } else if (wParam == SIZE_MAXIMIZED) {
            setShown(false, false); // a maximised window's edges are the screen's
        }
        break;
    case WM_DISPLAYCHANGE: {
        const bool was = supported_;
        checkSupport();
        if (was && !supported_) {
            destroyStrips();
        } else if (!was && supported_) {
            createStrips();
            redrawAll();
            if (ownerVisible()) {
                setShown(true, true);
            }
        }
        break;
    }
    case WM_THEMECHANGED:
        checkSupport();
        redrawAll();
        break;
    default:
        break;
    }
}

bool aShadow::ownerVisible() const {
    return owner_ && owner_->isVisible() && !ownerFillsScreen();
}

bool aShadow::ownerFillsScreen() const {
    return owner_ && (owner_->isMaximized() || owner_->isFullScreen());
}

void aShadow::createStrips() {
    for (auto& s : strips_) {
        if (!s && owner_) {
            s = new platform::LayeredWindow(owner_);
        }
    }
}

void aShadow::destroyStrips() {
    for (Strip s : {Strip::Right, Strip::Bottom, Strip::Top, Strip::Left}) {
        delete strips_[static_cast<size_t>(s)].data();
        strips_[static_cast<size_t>(s)] = nullptr;
    }
}

void aShadow::followOwner() {
    if (placement_.flags & SWP_HIDEWINDOW) {
        setShown(false, false);
        return;
    }
    if (placement_.cx != lastWidth_) {
        lastWidth_ = placement_.cx;
        rebuild(Strip::Bottom);
        rebuild(Strip::Top);
    }
    if (placement_.cy != lastHeight_) {
        lastHeight_ = placement_.cy;
        rebuild(Strip::Right);
        rebuild(Strip::Left);
    }
    for (Strip s : {Strip::Right, Strip::Bottom, Strip::Left, Strip::Top}) {
        if (auto* w = strip(s)) {
            w->setGeometry(StripRect(s, depth_, placement_.x, placement_.y, placement_.cx, placement_.cy));
        }
    }
    if (placement_.flags & SWP_SHOWWINDOW) {
        setShown(!ownerFillsScreen(), false);
    }
}

void aShadow::redrawAll() {
    if (!supported_ || !ownerVisible()) {
        return;
    }
    for (Strip s : {Strip::Right, Strip::Left, Strip::Bottom, Strip::Top}) {
        rebuild(s);
    }
}

void aShadow::rebuild(Strip s) {
    platform::LayeredWindow* w = strip(s);
    if (w == nullptr) {
        return;
    }
    const QRect r = StripRect(s, depth_, placement_.x, placement_.y, placement_.cx, placement_.cy);
    if (r.width() <= 0 || r.height() <= 0) {
        return;
    }
    w->updateLayered(StripImage(s, depth_, r.width(), r.height(), color_), r.topLeft(), transparency_);
}

void aShadow::setShown(bool show, bool forced) {
    if (!forced && show == shown_) {
        return;
    }
    shown_ = show;
    for (Strip s : {Strip::Right, Strip::Bottom, Strip::Left, Strip::Top}) {
        if (auto* w = strip(s)) {
            w->setVisible(show);
        }
    }
}

QRect aShadow::StripRect(Strip strip, int d, int x, int y, int cx, int cy) {
    switch (strip) {
    case Strip::Right:
        return {x + cx, y - d, d, cy + 2 * d};
    case Strip::Bottom:
        return {x - d, y + cy, cx + d, d};
    case Strip::Left:
        return {x - d, y, d, cy};
    case Strip::Top:
        return {x - d, y - d, cx + d, d};
    }
    return {};
}

int aShadow::StripAlpha(Strip strip, int d, int width, int height, int c, int r) {
    if (d <= 0) {
        return 0;
    }
    const auto g = [d](int col) { return col < d ? col * 255 / d : 255; };
    switch (strip) {
    case Strip::Right: {
        const int f = r < d ? r * 255 / d : (r >= height - d ? (height - r) * 255 / d : 255);
        return (d - c) * f / d;
    }
    case Strip::Left:
        return c * 255 / d;
    case Strip::Bottom:
        return r * g(c) / d;
    case Strip::Top:
        return (d - r) * g(c) / d;
    }
    (void)width;
    return 0;
}

QImage aShadow::StripImage(Strip strip, int d, int width, int height, std::uint32_t color) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST); // halves to even
    const double blue = (color >> 16) & 0xFF;
    const double green = (color >> 8) & 0xFF;
    const double red = color & 0xFF;
    for (int r = 0; r < height; ++r) {
        // Row r counts from the bottom of the strip; image rows count from the top.
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(height - 1 - r));
        for (int c = 0; c < width; ++c) {
            const int a = StripAlpha(strip, d, width, height, c, r);
            const double k = a / 255.0;
            const auto b = static_cast<std::uint32_t>(std::nearbyint(blue * k));
            const auto gr = static_cast<std::uint32_t>(std::nearbyint(green * k));
            const auto rd = static_cast<std::uint32_t>(std::nearbyint(red * k));
            line[c] = (static_cast<std::uint32_t>(a) << 24) | (rd << 16) | (gr << 8) | b;
        }
    }
    std::fesetround(previous);
    return image;
}

} // namespace kivo::chrome
