#pragma once

#include "framework/menus/MenuItem.h"

#include <memory>

// The menu bar's own items, found by name in the installed bar at every call.
std::shared_ptr<fw::MenuItem> FormatLocked();
std::shared_ptr<fw::MenuItem> editreplace();
std::shared_ptr<fw::MenuItem> EditFind();
std::shared_ptr<fw::MenuItem> EditSelectAll();
std::shared_ptr<fw::MenuItem> EditClear();
std::shared_ptr<fw::MenuItem> EditCut();
std::shared_ptr<fw::MenuItem> EditPaste();
std::shared_ptr<fw::MenuItem> EditCopy();
std::shared_ptr<fw::MenuItem> EditRedo();
std::shared_ptr<fw::MenuItem> EditUndo();
std::shared_ptr<fw::MenuItem> FilePrint();
std::shared_ptr<fw::MenuItem> FilePageSetup();
std::shared_ptr<fw::MenuItem> FileSave();
