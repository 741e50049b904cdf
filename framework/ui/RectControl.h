#pragma once

#include "framework/model/Events.h"
#include "framework/model/Object.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

class Window;

// The base of every control: a rectangle of a window, placed in window
// coordinates, with edge locks that keep distances to the window's edges
// when the window is resized, and events bound by name.
class RectControl : public Object {
public:
    struct Widget;
    ~RectControl() override;

    const PropertyTable& Properties() const override;

    Window& OwnerWindow() const { return window_; }

    const std::string& Name() const { return name_; }
    void Name(const std::string& name) { name_ = name; }
    int Index() const { return index_; }
    void Index(int index) { index_ = index; }

    int Left() const { return left_; }
    void Left(int left);
    int Top() const { return top_; }
    void Top(int top);
    int Width() const { return width_; }
    void Width(int width);
    int Height() const { return height_; }
    void Height(int height);

    bool LockLeft() const { return lockLeft_; }
    void LockLeft(bool on) { lockLeft_ = on; }
    bool LockTop() const { return lockTop_; }
    void LockTop(bool on) { lockTop_ = on; }
    bool LockRight() const { return lockRight_; }
    void LockRight(bool on) { lockRight_ = on; }
    bool LockBottom() const { return lockBottom_; }
    void LockBottom(bool on) { lockBottom_ = on; }

    // The place in the keyboard order among the controls of the same window,
    // container or tab page; each container's controls follow the container.
    int TabIndex() const { return tabIndex_; }
    void TabIndex(int index) { tabIndex_ = index; }
    // The tab page of a tab panel that holds the control: 0 the window itself, 1 the first tab.
    int TabPanelIndex() const { return tabPanelIndex_; }
    void TabPanelIndex(int index);
    bool TabStop() const { return tabStop_; }
    void TabStop(bool on);

    // A control inside a container is shown only while the container is.
    bool Visible() const { return visible_; }
    void Visible(bool on);
    bool Enabled() const { return enabled_; }
    void Enabled(bool on);
    std::string HelpTag() const;
    void HelpTag(const std::string& text);

    // The name of the container control (a rectangle or a tab panel) whose
    // visibility this control follows.
    const std::string& InitialParent() const { return initialParent_; }
    void InitialParent(const std::string& name);

    // Binds a handler to an event of this control by the event's name. Throws
    // UnknownNameException for an event the class does not have or a handler
    // of the wrong shape.
    void InstallEventHandler(std::string_view event, EventHandler handler);
    bool HasEventHandler(std::string_view event) const;

    // Raised once, after every control of the window exists and before the
    // window's own Open.
    void RaiseOpen();

    Widget& View() const { return *widget_; }
    // Recomputes the geometry after the window's content area changed by dx, dy.
    void FollowWindowResize(int dx, int dy);
    // Shows or hides the widget from its own flag and its container's.
    void UpdateShown();

protected:
    RectControl(Window& window, std::unique_ptr<Widget> widget);

    // The events of the class and the handler shape each takes.
    virtual bool Accepts(std::string_view event, const EventHandler& handler) const;
    // The bound handler of the event, or nothing.
    const EventHandler* HandlerFor(std::string_view event) const;
    void RaisePlain(std::string_view event);
    // False when no handler is bound.
    bool RaiseMouse(std::string_view event, int x, int y);

    static const PropertyTable& BaseProperties();

private:
    void Place();
    RectControl* Container() const;

    Window& window_;
    std::unique_ptr<Widget> widget_;
    std::map<std::string, EventHandler, std::less<>> handlers_;
    std::string name_;
    std::string initialParent_;
    int index_ = -2147483647 - 1;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool lockLeft_ = false, lockTop_ = false, lockRight_ = false, lockBottom_ = false;
    int tabIndex_ = 0;
    int tabPanelIndex_ = 0;
    bool tabStop_ = true;
    bool visible_ = true;
    bool enabled_ = true;
    bool updatingInside_ = false;
};

}  // namespace fw
