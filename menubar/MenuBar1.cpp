#include "menubar/MenuBar1.h"

#include "menubar/MenuTable.h"
#include "framework/model/Exceptions.h"

#include <string>

namespace {

std::shared_ptr<class MenuBar1> instance;

// Builds one menu's rows in order. Each entry's parent is looked up afresh
// from the bar: its menu for an item, the item above it for a sub-item.
void BuildRows(fw::MenuBar& bar, std::span<const MenuRow> rows) {
    std::string menu, item;
    for (const auto& row : rows) {
        std::shared_ptr<fw::MenuItem> entry =
            row.quitItem ? std::make_shared<fw::QuitMenuItem>() : std::make_shared<fw::MenuItem>();
        entry->Name(std::string(row.name));
        entry->AutoEnable(row.autoEnable);
        entry->Text(std::string(row.caption));
        if (row.shortcut) entry->KeyboardShortcut(std::string(*row.shortcut));
        if (row.level == 0) {
            bar.Append(entry);
            menu = row.name;
            continue;
        }
        auto parent = bar.Child(menu);
        if (parent && row.level == 2) parent = parent->Child(item);
        if (!parent) throw fw::NilObjectException("the menu for \"" + std::string(row.name) + "\" is missing");
        parent->Append(entry);
        if (row.level == 1) item = row.name;
    }
}

}  // namespace

void MenuBar1::Constructor() {
    Untitled0();
    Untitled1();
    Untitled2();
    Untitled3();
    Untitled4();
}

void MenuBar1::Untitled0() { BuildRows(*this, FileMenuRows()); }
void MenuBar1::Untitled1() { BuildRows(*this, EditMenuRows()); }
void MenuBar1::Untitled2() { BuildRows(*this, ViewMenuRows()); }
void MenuBar1::Untitled3() { BuildRows(*this, InsertMenuRows()); }
void MenuBar1::Untitled4() { BuildRows(*this, FormatMenuRows()); }

std::shared_ptr<class MenuBar1> MenuBar1() {
    if (!instance) {
        auto bar = std::make_shared<class MenuBar1>();
        bar->Constructor();
        instance = std::move(bar);
    }
    return instance;
}

void ReleaseMenuBar1() { instance.reset(); }
