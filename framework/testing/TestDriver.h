#pragma once

#include <string>
#include <string_view>

namespace fw {
class RectControl;
class Window;
}

// Drives the framework as a person would, headless, through the toolkit's own
// event handling.
namespace fw::testing {

// Starts the runtime once per process on the offscreen platform. Later calls do nothing.
void StartHeadlessRuntime();

// Runs the events that are waiting, deferred window closes among them.
void ProcessEvents();

// Closes and releases every window, so that the next test starts with none.
void ReleaseAllWindows();

// Gives the control the keyboard focus and types the text into it, key by key.
void TypeText(RectControl& control, std::string_view text);
// Presses a key sequence such as "Ctrl+V", "Ctrl+Shift+L" or "Return" on the
// focused control of the window (the window itself when none).
void PressKeys(Window& window, std::string_view sequence);
// Gives the control the keyboard focus.
void Focus(RectControl& control);

// Presses and releases the left mouse button over the control, at its centre
// unless a position inside it is given.
void Click(RectControl& control, int x = -1, int y = -1);
// Opens the control's context menu at its centre and chooses the entry with
// this caption; false when no menu or no such enabled entry appeared.
bool ChooseContextMenuEntry(RectControl& control, std::string_view caption);

// Chooses the menu item of this name in the front window's menu bar by the
// road of a click: its menu is about to be shown (the enabling pass runs), and
// the item is triggered when it is visible and enabled. False otherwise.
bool ChooseMenu(std::string_view itemName);

// The item as the front window's menu bar would show it now.
struct MenuState {
    bool present = false;  // the item exists in the bar
    bool visible = false;
    bool enabled = false;
    bool checked = false;
    std::string caption;  // as shown, with the shortcut after a tab
};
MenuState ShownMenuItem(std::string_view itemName);

// The text a label or a button shows on screen.
std::string ShownText(RectControl& control);
// Whether the control is on screen (its own and its containers' visibility).
bool IsShown(RectControl& control);

// Saves a picture of the window's content area as a PNG.
bool Grab(Window& window, const std::string& pngPath);

}  // namespace fw::testing
