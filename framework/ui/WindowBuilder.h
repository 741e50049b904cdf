#pragma once

#include "framework/model/Events.h"
#include "framework/model/StartValues.h"
#include "framework/ui/RectControl.h"
#include "framework/ui/Window.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

// A window class gives its start values, its controls and its bindings as
// tables; these functions build a window from them in its set-up events:
//   Layout          ApplyWindowStartValues(window, backdrop, record)
//   CreateControls  BuildControls(window, controls, eventBindings)
//   AddMenuHandlers BindMenuHandlers(window, menuBindings)
// BindMenuHandlers binds the application object's commands the same way.
namespace fw {

class Picture;

// A picture as the tables name it: its accessor, which gives nothing when the
// picture cannot be read.
using PictureSource = std::shared_ptr<Picture> (*)();

// One control of a window: its start values and its picture (the icon of a
// bevel button, the backdrop of a canvas; none for other classes).
struct ControlDesign {
    ControlStartValues start;
    PictureSource picture = nullptr;
};

// The shapes of window methods that handle control events: plain, a mouse
// press, a context menu to fill, a paint.
template <class W>
using EventMethod =
    std::variant<void (W::*)(), bool (W::*)(int, int), bool (W::*)(MenuItem&, int, int), void (W::*)(Graphics&)>;

// Event `event` of control `control` runs `method` with the window as its object.
template <class W>
struct EventBinding {
    std::string_view control;
    std::string_view event;
    EventMethod<W> method;
};

// The menu command named `item` runs `method` of the window or application
// object; the method returns true when it handled the command.
template <class Target>
struct MenuBinding {
    std::string_view item;
    bool (Target::*method)();
};

// Sets the window's backdrop (none leaves it without one), then applies its record.
void ApplyWindowStartValues(Window& window, PictureSource backdrop, std::string_view record);

// Makes the control of its class, registers it under its name, sets its
// picture and applies its start values. The control, or nothing when the
// class made none.
RectControl* BuildControl(Window& window, const ControlDesign& control);

// Throws UnknownNameException when the binding names no control of the window.
void RequireBoundControl(const Window& window, std::string_view control, std::string_view event);

template <class W>
EventHandler BoundHandler(W& window, void (W::*method)()) {
    return PlainHandler([&window, method] { (window.*method)(); });
}
template <class W>
EventHandler BoundHandler(W& window, bool (W::*method)(int, int)) {
    return MouseHandler([&window, method](int x, int y) { return (window.*method)(x, y); });
}
template <class W>
EventHandler BoundHandler(W& window, bool (W::*method)(MenuItem&, int, int)) {
    return ContextMenuHandler([&window, method](MenuItem& base, int x, int y) { return (window.*method)(base, x, y); });
}
template <class W>
EventHandler BoundHandler(W& window, void (W::*method)(Graphics&)) {
    return PaintHandler([&window, method](Graphics& g) { (window.*method)(g); });
}

// Builds the controls in table order, each finished before the next begins.
// A control's events are bound only after its start values are applied, so
// that applying them runs none of the window's handlers. Throws
// UnknownNameException for a binding that names no control of the table or
// an event that the control's class does not have.
template <class W>
void BuildControls(W& window, std::span<const ControlDesign> controls,
                   std::type_identity_t<std::span<const EventBinding<W>>> bindings) {
    for (const auto& control : controls) {
        auto* made = BuildControl(window, control);
        if (!made) continue;
        for (const auto& binding : bindings)
            if (binding.control == control.start.name)
                made->InstallEventHandler(
                    binding.event,
                    std::visit([&window](auto method) { return BoundHandler(window, method); }, binding.method));
    }
    for (const auto& binding : bindings) RequireBoundControl(window, binding.control, binding.event);
}

// Binds each menu command of the table, in table order, to the target's method.
template <class Target>
void BindMenuHandlers(Target& target, std::type_identity_t<std::span<const MenuBinding<Target>>> bindings) {
    for (const auto& binding : bindings)
        target.AddMenuHandler(std::string(binding.item),
                              [&target, method = binding.method] { return (target.*method)(); });
}

}  // namespace fw
