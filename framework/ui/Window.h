#pragma once

#include "framework/text/Color.h"
#include "framework/menus/MenuHandlers.h"
#include "framework/model/Object.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class Picture;
class RectControl;

// A top-level window. Its size and position are those of its content area:
// the menu bar, when shown, sits above it. Windows are made by MakeWindow and
// belong to the framework until they close.
class Window : public Object {
public:
    struct Frame;
    Window();
    ~Window() override;

    const PropertyTable& Properties() const override;

    // The registered name of the window's class ("Module.Class"), by which the
    // framework keeps shared default instances.
    virtual std::string ClassName() const { return "Window"; }

    // Builds the window: raises Layout, CreateControls, AddMenuHandlers and
    // Open once each, in this order, with every control's Open just before the
    // window's; then a window whose Visible is true is on screen.
    void Constructor();

    std::string Title() const;
    void Title(const std::string& title);
    int Left() const;
    void Left(int left);
    int Top() const;
    void Top(int top);
    int Width() const;
    void Width(int width);
    int Height() const;
    void Height(int height);
    int MinWidth() const { return minWidth_; }
    void MinWidth(int width);
    int MinHeight() const { return minHeight_; }
    void MinHeight(int height);
    int MaxWidth() const { return maxWidth_; }
    void MaxWidth(int width);
    int MaxHeight() const { return maxHeight_; }
    void MaxHeight(int height);
    // 3 centres a new window on the main screen; others leave it to the desktop.
    int Placement() const { return placement_; }
    void Placement(int code) { placement_ = code; }

    bool Visible() const { return visible_; }
    void Visible(bool on);
    bool FullScreen() const { return fullScreen_; }
    void FullScreen(bool on);
    // A window without a menu bar still takes the menus' shortcuts while it
    // is in front: its own handlers, then the application's.
    bool MenuBarVisible() const { return menuBarVisible_; }
    void MenuBarVisible(bool on);
    bool Resizeable() const { return resizeable_; }
    void Resizeable(bool on);
    // Without a close button the window asks the desktop for no close box,
    // and the desktop's close request goes to Event_CloseRequest.
    bool CloseButton() const { return closeButton_; }
    void CloseButton(bool on);
    bool MaximizeButton() const { return maximizeButton_; }
    void MaximizeButton(bool on);
    bool MinimizeButton() const { return minimizeButton_; }
    void MinimizeButton(bool on);

    // Whether the window paints BackColor rather than the desktop's colour.
    bool HasBackColor() const { return hasBackColor_; }
    void HasBackColor(bool on);
    Color BackColor() const { return backColor_; }
    void BackColor(Color color);
    // Drawn at the top left of the content area, over the background colour.
    const std::shared_ptr<Picture>& Backdrop() const { return backdrop_; }
    void Backdrop(std::shared_ptr<Picture> picture);

    // Shows the window in front; when it appears, the keyboard focus goes to
    // its first text field in keyboard order (TabIndex).
    void Show();
    // Closes the window for good: it leaves the window lists and is destroyed
    // once the event being handled has finished. The window behind a closed
    // front window comes to the front.
    void Close();
    bool IsOpen() const { return open_; }
    void Maximize();
    void Minimize();

    // A new control of the named class for this window, not yet registered.
    std::unique_ptr<RectControl> New(std::string_view className);
    // Registers the control under its name; from then on ControlByName finds it.
    RectControl& AddControl(const std::string& name, std::unique_ptr<RectControl> control);
    RectControl* ControlByName(std::string_view name) const;
    template <class T>
    T* Control(std::string_view name) const {
        return dynamic_cast<T*>(ControlByName(name));
    }
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    RectControl& ControlAt(int index) const { return *controls_.at(static_cast<std::size_t>(index)); }

    // Binds a menu command of this window by item name.
    void AddMenuHandler(std::string name, MenuHandlers::Handler handler) {
        handlers_.Add(std::move(name), std::move(handler));
    }
    const MenuHandlers& Handlers() const { return handlers_; }

    // The set-up events, in the order Constructor raises them.
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void AddMenuHandlers(Window&) {}
    virtual void Event_Open() {}
    // Before a menu is shown while this window is in front.
    virtual void Event_EnableMenuItems() {}
    // While the user resizes the window.
    virtual void Event_Resizing() {}
    // The desktop asks to close the window (a close box it draws anyway,
    // Alt+F4). A window with a close button closes; one without stays open
    // unless it closes itself here.
    virtual void Event_CloseRequest();

    Frame& Widgets() const { return *frame_; }
    // Moves and sizes the controls by their edge locks after the content area changed.
    void ContentResized(int width, int height, bool byUser);

private:
    void ApplyFlags();

    std::unique_ptr<Frame> frame_;
    std::vector<std::unique_ptr<RectControl>> controls_;
    MenuHandlers handlers_;
    std::shared_ptr<Picture> backdrop_;
    Color backColor_ = Color::FromRGB(0xFFFFFF);
    int minWidth_ = 64, minHeight_ = 64, maxWidth_ = 32000, maxHeight_ = 32000;
    int placement_ = 0;
    int laidOutWidth_ = 0, laidOutHeight_ = 0;
    bool visible_ = false;
    bool fullScreen_ = false;
    bool menuBarVisible_ = true;
    bool resizeable_ = true;
    bool closeButton_ = true;
    bool maximizeButton_ = true;
    bool minimizeButton_ = true;
    bool hasBackColor_ = false;
    bool constructed_ = false;
    bool open_ = true;
};

namespace detail {
Window* Adopt(std::unique_ptr<Window> window, bool implicitInstance);
}

// Makes a window of class T, hands it to the framework, which keeps it until
// it closes, and builds it. The caller may drop the pointer. The shared
// default instance of a class is made with implicitInstance true; the
// framework forgets it when it closes.
template <class T>
T* MakeWindow(bool implicitInstance = false) {
    auto* window = static_cast<T*>(detail::Adopt(std::make_unique<T>(), implicitInstance));
    window->Constructor();
    return window;
}

}  // namespace fw
