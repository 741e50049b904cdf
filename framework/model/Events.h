#pragma once

#include <functional>
#include <variant>

namespace fw {

class Graphics;
class MenuItem;

// The shapes of control-event handlers: plain events, a mouse press (the
// position; true when the handler took the press), a paint (the graphics to
// draw into), and a context menu to fill (the menu and the click position).
using PlainHandler = std::function<void()>;
using MouseHandler = std::function<bool(int x, int y)>;
using PaintHandler = std::function<void(Graphics&)>;
using ContextMenuHandler = std::function<bool(MenuItem& base, int x, int y)>;
using EventHandler = std::variant<PlainHandler, MouseHandler, PaintHandler, ContextMenuHandler>;

}  // namespace fw
