#pragma once

// The order in which Tab moves through a window's controls, and where the
// keyboard focus goes when a window or a tab page is shown; private to the
// framework.

#include <vector>

namespace fw {

class RectControl;
class Window;

// The window's controls in keyboard order: those on the window itself by
// TabIndex, each followed by the controls it contains (a tab panel's by page,
// then TabIndex), and theirs in turn.
std::vector<RectControl*> KeyboardOrder(const Window& window);

// Makes Tab and Shift+Tab follow the keyboard order.
void ApplyKeyboardOrder(const Window& window);

// Gives the keyboard focus to the first shown, enabled text field in keyboard
// order among the controls that the container holds, or among all of the
// window's when it is null. False when there is none.
bool FocusFirstField(const Window& window, const RectControl* container = nullptr);

}  // namespace fw
