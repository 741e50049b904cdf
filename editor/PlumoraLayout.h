#pragma once

#include "shell/Pictures.h"
#include "shell/StartValues.h"

#include <span>
#include <string>

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
