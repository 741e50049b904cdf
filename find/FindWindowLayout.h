#pragma once

#include "framework/ui/WindowBuilder.h"

#include <span>
#include <string>

class FindWindow;

// The window's start-value record.
const std::string& FindWindowRecord();

// The window's controls in creation order.
std::span<const fw::ControlDesign> FindWindowControls();

// The control events the window handles, in the order they are bound.
std::span<const fw::EventBinding<class FindWindow>> FindWindowEventBindings();
