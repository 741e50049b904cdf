#pragma once

#include "framework/ui/Application.h"

// The application object: its commands keep the program usable when no
// document window is in front.
class App : public fw::Application {
public:
    // Each returns true when it handled the command.
    bool newwindow_Action();
    bool FileOpen_Action();
    bool EditMakeWebsite_Action();
    bool FileQuit_Action();
    bool ChangeCaseUPPERCASE_Action();
};

// The registered application object, or nothing before start-up registers it.
class App* App();

// The names of the menu items bound to the application object, in binding order.
struct AppMenuBinding {
    const char* item;
    bool (App::*handler)();
};
extern const AppMenuBinding kAppMenuBindings[5];
