#pragma once

#include "framework/text/Color.h"

#include <functional>
#include <optional>

#include <string>
#include <string_view>
#include <vector>

namespace fw {
class RectControl;
class Window;
}  // namespace fw

// Drives the framework as a person would, headless, through the toolkit's own
// event handling.
namespace fw::testing {

// Starts the runtime once per process on the offscreen platform. Later calls do nothing.
void StartHeadlessRuntime();

// Shuts the runtime and the toolkit down. Call it after the last test, while
// the process's static objects still exist: the toolkit relies on some of them
// when it goes, and left to the end of the process it would outlive them.
void StopHeadlessRuntime();

// Runs the events that are waiting, deferred window closes among them.
void ProcessEvents();

// Closes and releases every window, so that the next test starts with none,
// and readies the event loop to run again after a Quit or an escaped exception.
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
// Drops the text on the control at its centre, as a drag from another program ends.
void DropText(RectControl& control, std::string_view text);
// Opens the control's context menu at its centre and chooses the entry with
// this caption; false when no menu or no such enabled entry appeared.
bool ChooseContextMenuEntry(RectControl& control, std::string_view caption);

// Chooses the menu item of this name in the front window's menu bar by the
// road of a click: its menu is about to be shown (the enabling pass runs), and
// the item is triggered when it is visible and enabled. False otherwise, and
// always with no window open.
bool ChooseMenu(std::string_view itemName);

// Runs the task from the event loop after the delay: inside a running
// RuntimeRun, or at the next ProcessEvents. An exception it lets out is
// treated as one from a handler of the program: it ends the loop.
void RunInEventLoop(std::function<void()> task, int delayMilliseconds = 0);
// Ends a running event loop directly, past the framework's Quit: the safety
// net of a test whose quit under test fails.
void StopEventLoop();
// The exception a handler let out since the last call, as "Class: message";
// empty when none escaped.
std::string TakeEscapedException();

// The item as the front window's menu bar would show it now.
struct MenuState {
    bool present = false;  // the item exists in the bar
    bool visible = false;
    bool enabled = false;
    bool checked = false;
    std::string caption;  // as shown, with the shortcut after a tab
};
MenuState ShownMenuItem(std::string_view itemName);

// Whether the control holds the keyboard focus.
bool HasFocus(RectControl& control);
// Moves the pointer to a point given in the control's coordinates, which may
// lie outside it; the controls under the old and the new point learn of it.
void MoveMouse(RectControl& control, int x, int y);
// Clicks the control and, in the pop-up menu that the click opens, chooses
// the entry with this caption; false when no menu or no such enabled entry
// appeared (the menu is then closed without a choice).
bool ClickAndChoose(RectControl& control, std::string_view caption);
// The pop-up menu that a click on the control opens, as it is shown: its
// entries ("-" for a separator) and the index of the checked one, -1 when
// none is. The menu is closed without a choice.
struct ShownMenu {
    std::vector<std::string> entries;
    int checked = -1;
};
ShownMenu ShownPopupMenu(RectControl& control);

// The colour that the window's content area shows at the point; nothing when
// the point lies outside it.
std::optional<Color> PixelOf(Window& window, int x, int y);

// Asks the window to close as the desktop's close box does; true when it closed.
bool CloseLikeUser(Window& window);

// Makes the main screen's available area the one given until ClearMainScreenArea.
void SetMainScreenArea(int left, int top, int width, int height);
void ClearMainScreenArea();

}  // namespace fw::testing
