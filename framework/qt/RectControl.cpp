#include "framework/ui/RectControl.h"

#include "framework/model/Exceptions.h"
#include "framework/qt/KeyboardOrder.h"
#include "framework/qt/RuntimeState.h"
#include "framework/ui/Window.h"
#include "framework/qt/WindowFrame.h"
#include "framework/qt/QtConvert.h"

#include <QTextEdit>

namespace fw {

RectControl::RectControl(Window& window, std::unique_ptr<Widget> widget) : window_(window), widget_(std::move(widget)) {
    widget_->view->setParent(ContentOf(window));
    widget_->view->show();
}

RectControl::~RectControl() = default;

const PropertyTable& RectControl::BaseProperties() {
    static const PropertyTable table{
        Prop("Name", &RectControl::Name, &RectControl::Name),
        Prop("Index", &RectControl::Index, &RectControl::Index),
        Prop("Left", &RectControl::Left, &RectControl::Left),
        Prop("Top", &RectControl::Top, &RectControl::Top),
        Prop("Width", &RectControl::Width, &RectControl::Width),
        Prop("Height", &RectControl::Height, &RectControl::Height),
        Prop("LockLeft", &RectControl::LockLeft, &RectControl::LockLeft),
        Prop("LockTop", &RectControl::LockTop, &RectControl::LockTop),
        Prop("LockRight", &RectControl::LockRight, &RectControl::LockRight),
        Prop("LockBottom", &RectControl::LockBottom, &RectControl::LockBottom),
        Prop("TabPanelIndex", &RectControl::TabPanelIndex, &RectControl::TabPanelIndex),
        Prop("TabIndex", &RectControl::TabIndex, &RectControl::TabIndex),
        Prop("TabStop", &RectControl::TabStop, &RectControl::TabStop),
        Prop("Visible", &RectControl::Visible, &RectControl::Visible),
        Prop("Enabled", &RectControl::Enabled, &RectControl::Enabled),
        Prop("HelpTag", &RectControl::HelpTag, &RectControl::HelpTag),
        StoredProp("AutoDeactivate", true),
        Prop("InitialParent", &RectControl::InitialParent, &RectControl::InitialParent),
    };
    return table;
}

const PropertyTable& RectControl::Properties() const { return BaseProperties(); }

void RectControl::Place() {
    widget_->view->setGeometry(left_, top_, std::max(width_, 0), std::max(height_, 0));
    widget_->LiesOutside(left_ + width_ <= 0 || top_ + height_ <= 0 || left_ >= window_.Width() ||
                         top_ >= window_.Height());
}
void RectControl::Left(int left) {
    left_ = left;
    Place();
}
void RectControl::Top(int top) {
    top_ = top;
    Place();
}
void RectControl::Width(int width) {
    width_ = width;
    Place();
}
void RectControl::Height(int height) {
    height_ = height;
    Place();
}

void RectControl::FollowWindowResize(int dx, int dy) {
    if (lockRight_ && lockLeft_) width_ += dx;
    else if (lockRight_) left_ += dx;
    if (lockBottom_ && lockTop_) height_ += dy;
    else if (lockBottom_) top_ += dy;
    Place();
}

void RectControl::TabPanelIndex(int index) {
    tabPanelIndex_ = index;
    UpdateShown();
}

void RectControl::TabStop(bool on) {
    tabStop_ = on;
    if (!on) widget_->TakesFocus(Qt::NoFocus);
}

void RectControl::Visible(bool on) {
    visible_ = on;
    UpdateShown();
}

// A field disabled while it holds the keyboard leaves its window with no
// control focused, or, once the window is activated again, with the first
// control that Tab reaches. When a control is enabled again while no text
// field has the keyboard, the window's first one takes it back, so that
// typing goes into the text again.
void RectControl::Enabled(bool on) {
    const bool enabling = on && !enabled_;
    enabled_ = on;
    widget_->view->setEnabled(on);
    if (enabling && !qobject_cast<QTextEdit*>(ContentOf(window_)->window()->focusWidget())) FocusFirstField(window_);
}

std::string RectControl::HelpTag() const { return widget_->view->toolTip().toStdString(); }
void RectControl::HelpTag(const std::string& text) { widget_->view->setToolTip(ToQt(text)); }

void RectControl::InitialParent(const std::string& name) {
    initialParent_ = name;
    UpdateShown();
}

RectControl* RectControl::Container() const {
    if (initialParent_.empty()) return nullptr;
    return window_.ControlByName(initialParent_);
}

void RectControl::UpdateShown() {
    bool shown = visible_;
    if (auto* container = Container()) {
        shown = shown && container->Visible() && container->View().view->isVisibleTo(ContentOf(window_));
        // Page 0 is the window itself; page n is the panel's n-th tab, shown while Value is n - 1.
        if (container->Properties().Find("TabDefinition") && tabPanelIndex_ > 0)
            shown = shown && std::get<std::int32_t>(container->Property("Value")) + 1 == tabPanelIndex_;
    }
    widget_->view->setVisible(shown);
    // A container takes the controls inside it along, and they take theirs;
    // the guard stops a circle of containers naming each other.
    if (name_.empty() || updatingInside_) return;
    updatingInside_ = true;
    for (int i = 0; i < window_.ControlCount(); ++i)
        if (auto& child = window_.ControlAt(i); &child != this && child.InitialParent() == name_) child.UpdateShown();
    updatingInside_ = false;
}

bool RectControl::Accepts(std::string_view event, const EventHandler& handler) const {
    return event == "Open" && std::holds_alternative<PlainHandler>(handler);
}

void RectControl::InstallEventHandler(std::string_view event, EventHandler handler) {
    if (!Accepts(event, handler))
        throw UnknownNameException("control \"" + name_ + "\" has no event \"" + std::string(event) +
                                   "\" of that shape");
    handlers_[std::string(event)] = std::move(handler);
}

bool RectControl::HasEventHandler(std::string_view event) const { return handlers_.find(event) != handlers_.end(); }

const EventHandler* RectControl::HandlerFor(std::string_view event) const {
    const auto found = handlers_.find(event);
    return found == handlers_.end() ? nullptr : &found->second;
}

void RectControl::RaiseOpen() { RaisePlain("Open"); }

void RectControl::RaisePlain(std::string_view event) {
    if (const auto* handler = HandlerFor(event)) std::get<PlainHandler> (*handler)();
}

bool RectControl::RaiseMouse(std::string_view event, int x, int y) {
    const auto* handler = HandlerFor(event);
    return handler && std::get<MouseHandler>(*handler)(x, y);
}

}  // namespace fw
