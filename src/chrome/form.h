#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>

namespace kivo::chrome {

/// A borderless top-level window of the program. It has a name ("login", "home", ...), geometry
/// in twips, the drag convention and always-on-top on load. Load() puts it in the list of
/// loaded windows; Unload() runs its own unload steps, takes it off the list and destroys it.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& name, Qt::WindowFlags extraFlags = {});
    ~Form() override;

    const QString& name() const { return name_; }

    /// Loads the window once: lists it and runs onLoad(). Showing is separate, as with Show().
    void Load();
    /// Runs onUnload(), takes the window off the list, hides it and destroys it later. When it
    /// was the last loaded window, the program ends.
    void Unload();
    bool isLoaded() const { return loaded_; }

    /// A window that waits until the user has signed in again (the service's session ended): the
    /// windows that bring others back bring the sign-in window instead.
    bool waitsForSignIn() const { return waitsForSignIn_; }
    void setWaitsForSignIn(bool waits) { waitsForSignIn_ = waits; }

    /// Client-area geometry in twips.
    void Move(int left, int top, int width = -1, int height = -1);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void CentreOnScreen();

    /// Lets the system move the window with the mouse, as a press on a caption would.
    void StartDrag();
    /// Makes the window topmost when `stick` is "1".
    void ApplyStick(const std::string& stick);
    /// Keeps the window in front of `owner` without making it its child, so that each window
    /// still unloads by its own steps. Nothing when `owner` is null.
    void SetOwner(QWidget* owner);
    /// Shows the window normal, in front, with the focus.
    void BringUp();

protected:
    virtual void onLoad() {}
    virtual void onUnload() {}
    /// The desktop asked the window to close (Alt+F4, the taskbar): by default it unloads;
    /// windows with a close button of their own do what that button does.
    virtual void onCloseRequested() { Unload(); }
    void closeEvent(QCloseEvent* event) override;

private:
    QString name_;
    bool waitsForSignIn_ = false;
    bool loaded_ = false;
    bool unloading_ = false;
};

/// The one window kept in `one`: made by `make`, owned by `owner`, loaded and centred the first
/// time; brought up every time.
template <typename T, typename Make> T* ShowSingle(QPointer<T>& one, QWidget* owner, Make make) {
    if (!one) {
        one = make();
        one->SetOwner(owner);
        one->Load();
        one->CentreOnScreen();
    }
    one->BringUp();
    return one;
}

} // namespace kivo::chrome
