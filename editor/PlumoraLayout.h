#pragma once

#include "framework/ui/WindowBuilder.h"

#include <span>
#include <string>

// The start-value record of every document window.
const std::string& PlumoraWindowRecord();

class Plumora;

// The window's controls in creation order.
std::span<const fw::ControlDesign> PlumoraControls();

// The control events the window handles, in the order they are bound.
std::span<const fw::EventBinding<class Plumora>> PlumoraEventBindings();

// The menu commands the window handles, in the order they are bound.
std::span<const fw::MenuBinding<class Plumora>> PlumoraMenuBindings();
