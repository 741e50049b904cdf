#pragma once

#include "resources/Pictures.h"
#include "framework/model/StartValues.h"

#include "framework/model/Events.h"

#include <span>
#include <string>
#include <string_view>
#include <variant>

// The start-value record of every document window.
const std::string& PlumoraWindowRecord();

// One control of the document window: its start values and its picture (the
// icon of a bevel button, the backdrop of a canvas).
struct PlumoraControl {
    ControlStartValues start;
    PictureAccessor picture;
};

// The window's controls in creation order.
std::span<const PlumoraControl> PlumoraControls();

class Plumora;

// A control event bound to the window method that handles it.
struct PlumoraEventBinding {
    using Method = std::variant<void (Plumora::*)(), bool (Plumora::*)(int, int),
                                bool (Plumora::*)(fw::MenuItem&, int, int), void (Plumora::*)(fw::Graphics&)>;
    std::string_view control;
    std::string_view event;
    Method method;
};

// The control events the window handles, in the order they are bound.
std::span<const PlumoraEventBinding> PlumoraEventBindings();

// A menu command bound to the window method that handles it.
struct PlumoraMenuBinding {
    std::string_view item;
    bool (Plumora::*method)();
};

// The menu commands the window handles, in the order they are bound.
std::span<const PlumoraMenuBinding> PlumoraMenuBindings();
