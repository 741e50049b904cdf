#pragma once

#include "framework/ui/Application.h"
#include "framework/ui/WindowBuilder.h"

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

// The menu commands bound to the application object, in binding order.
extern const fw::MenuBinding<class App> kAppMenuBindings[5];
