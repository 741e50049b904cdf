#pragma once

// The available area of a screen; private to the framework.

#include <QRect>

#include <optional>

namespace fw {

// The available area of the screen with the index, or an empty rectangle.
QRect AvailableArea(int index);

// Stands in for the main screen's available area while set, so that tests
// can place a window on a screen of a given shape.
std::optional<QRect>& MainAvailableAreaOverride();

}  // namespace fw
