#pragma once

#include "platform/desktop/layeredwindow.h"
#include "platform/desktop/windowmessage.h"
#include "platform/desktop/windowprocedure.h"

#include <QImage>
#include <QObject>
#include <QPointer>

#include <array>
#include <cstdint>
#include <map>
#include <memory>

namespace kivo::chrome {

/// A soft drop shadow around a borderless window: four click-through layered strips along its
/// right, bottom, left and top edges whose alpha fades outwards. The strips follow the window
/// through the messages of a subclassed window procedure (the subclassing facility below).
class aShadow : public QObject {
    Q_OBJECT
public:
    static constexpr int MSG_ENTRIES = 32;
    static constexpr int ALL_MESSAGES = -1;

    enum class Strip { Right = 0, Bottom = 1, Left = 2, Top = 3 };

    /// A message table: count 0 means none, ALL_MESSAGES every message, otherwise entries
    /// 1..count hold message numbers (0 = a free slot).
    struct MessageTable {
        int count = 0;
        std::array<unsigned, MSG_ENTRIES + 1> entries{};
        bool contains(unsigned message) const;
    };

    /// What a subclassed window carries: its tables, the in-use counter and the shutdown flag.
    struct SubclassRecord {
        int inUse = 0;
        bool shutdown = false;
        platform::WindowHandle hwnd = 0;
        aShadow* owner = nullptr;
        std::int32_t userValue = 0;
        MessageTable before;
        MessageTable after;
        QPointer<platform::WindowProcedure> procedure;
    };

    aShadow();
    ~aShadow() override;

    std::uint32_t Color() const { return color_; }
    /// A negative value names a system colour (its top bit removed), whose colour is stored.
    void setColor(std::int32_t color);
    int Depth() const { return depth_; }
    void setDepth(int depth);
    int Transparency() const { return transparency_; }
    void setTransparency(int transparency); // keeps the low 8 bits

    /// Attaches the shadow to `form`. False when shadows are unsupported, subclassing failed, or
    /// this object already has a window (reported as an error).
    bool Shadow(QWidget* form);
    /// The windows' own shadow: attached to `form` and, when that worked, depth 6, black,
    /// transparency 40. The object is kept either way, as the windows hold it.
    static std::unique_ptr<aShadow> ForWindow(QWidget* form);

    // The subclassing facility.
    bool sc_Subclass(platform::WindowHandle hwnd, std::int32_t userValue = 0);
    void sc_UnSubclass(platform::WindowHandle hwnd);
    SubclassRecord* zMap_hWnd(platform::WindowHandle hwnd);
    void zAddMsg(unsigned message, MessageTable& table);
    void zDelMsg(unsigned message, MessageTable& table);
    /// Adds a message for a subclassed window; bit 1 of `when` is the before table, bit 2 the after.
    void AddMsg(platform::WindowHandle hwnd, unsigned message, int when);

    /// The alpha of pixel (c, r) of a strip W x H with depth D; r counts rows from the bottom.
    static int StripAlpha(Strip strip, int depth, int width, int height, int c, int r);
    /// The premultiplied strip picture (blue, green, red, alpha bytes) in the colour 0x00BBGGRR.
    static QImage StripImage(Strip strip, int depth, int width, int height, std::uint32_t color);
    /// The strip's rectangle in screen pixels for the owner at x, y of size cx x cy.
    static QRect StripRect(Strip strip, int depth, int x, int y, int cx, int cy);

    bool supported() const { return supported_; }
    bool shown() const { return shown_; }
    platform::LayeredWindow* strip(Strip s) const { return strips_[static_cast<size_t>(s)].data(); }

protected:
    /// Called for the messages in the tables, before (and after) the window's own procedure.
    virtual void messageHandler(bool before, bool& handled, std::intptr_t& result, platform::WindowHandle hwnd,
                                unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::int32_t& userValue);

private:
    static std::intptr_t dispatch(const std::shared_ptr<SubclassRecord>& record, const platform::WindowMessage& m,
                                  const platform::WindowProcedure::CallPrevious& previous);
    static void report(const QString& routine, const QString& message);

    void checkSupport();
    void createStrips();
    void destroyStrips();
    void followOwner();
    void redrawAll();
    void rebuild(Strip strip);
    void setShown(bool show, bool forced);
    bool ownerVisible() const;
    bool ownerFillsScreen() const;

    std::uint32_t color_ = 0;
    int depth_ = 7;
    int transparency_ = 140;
    bool supported_ = false;
    bool themeMessages_ = false;
    bool shown_ = false;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
    platform::WindowHandle ownerHandle_ = 0;
    QPointer<QWidget> owner_;
    platform::WindowPos placement_;
    std::array<QPointer<platform::LayeredWindow>, 4> strips_;
    std::map<platform::WindowHandle, std::shared_ptr<SubclassRecord>> registry_;
    std::vector<platform::WindowHandle> registryOrder_;
};

} // namespace kivo::chrome
