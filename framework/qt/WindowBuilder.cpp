#include "framework/ui/WindowBuilder.h"

#include "framework/model/Exceptions.h"
#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/Runtime.h"

namespace fw {

void ApplyWindowStartValues(Window& window, PictureSource backdrop, std::string_view record) {
    if (backdrop) window.Backdrop(backdrop());
    SetProperties(window, record);
}

RectControl* BuildControl(Window& window, const ControlDesign& control) {
    const std::string name(control.start.name);
    window.AddControl(name, window.New(control.start.className));
    // Each step finds the control afresh by its name, as any later use does.
    auto* made = RuntimeWindowControlByName(window, name);
    if (!made) return nullptr;
    if (control.picture) {
        if (auto* button = dynamic_cast<BevelButton*>(made)) button->Icon(control.picture());
        else if (auto* canvas = dynamic_cast<Canvas*>(made)) canvas->Backdrop(control.picture());
    }
    SetProperties(*made, ControlRecord(control.start));
    return made;
}

void RequireBoundControl(const Window& window, std::string_view control, std::string_view event) {
    if (!window.ControlByName(control))
        throw UnknownNameException("the event " + std::string(event) + " is bound to " + std::string(control) +
                                   ", which is no control of the window");
}

}  // namespace fw
