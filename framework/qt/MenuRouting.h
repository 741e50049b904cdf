#pragma once

// How menu commands reach their handlers; private to the framework.

#include "framework/menus/MenuItem.h"

#include <QMetaType>

#include <memory>
#include <string_view>

class QMenuBar;
class QPoint;
class QWidget;

namespace fw {

class EditField;
class MenuItem;
class Window;

// Takes the keyboard's shortcuts for the menus, before any widget sees them.
void InstallMenuRouting();

// Before a menu is shown or a shortcut is carried out: every item starts
// disabled; the front window's EnableMenuItems and its focused field's run;
// then each item with AutoEnable whose name has a handler in the front window
// or the application is enabled, and so are the editing items that the
// focused field can carry out.
void RunEnablingPass();

// Offers the item's command to the front window's handler, then to the
// application's, then runs the item's default. The focused field carries out
// Cut, Copy, Paste, Delete and Select All whatever the handlers returned.
void Dispatch(const std::shared_ptr<MenuItem>& item);

// Offers the named command to the window's handler, then to the
// application's; true when one of them handled it.
bool RunMenuHandlers(const Window* window, std::string_view name);

// The window's own view of the application's menu bar.
QMenuBar* BuildMenuBar(QWidget* parent);

// Shows base's items as a context menu at the global position.
void ShowContextMenu(const MenuItem& base, const QPoint& globalPosition);

// The focused text field of the front window, or nothing.
EditField* FocusedField();

}  // namespace fw

// Menu actions carry their item.
Q_DECLARE_METATYPE(std::shared_ptr<fw::MenuItem>)
