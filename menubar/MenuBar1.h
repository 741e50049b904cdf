#pragma once

#include "framework/menus/MenuItem.h"

// The application's one menu bar: File, Edit, View, Insert and Format.
class MenuBar1 : public fw::MenuBar {
public:
    // Builds the five menus, in this order, and nothing else.
    void Constructor();

    void Untitled0();  // File
    void Untitled1();  // Edit
    void Untitled2();  // View
    void Untitled3();  // Insert
    void Untitled4();  // Format
};

// The one instance, made and built at its first use.
std::shared_ptr<class MenuBar1> MenuBar1();
// Forgets the instance at shut-down.
void ReleaseMenuBar1();
