#include "Startup.h"

#include "App.h"
#include "menubar/MenuBar1.h"
#include "editor/Plumora.h"
#include "find/FindWindow.h"
#include "framework/model/Exceptions.h"
#include "framework/ui/Runtime.h"

void SetUpClasses() {
    fw::RuntimeSetUpClass("App");
    fw::RuntimeSetUpClass(Plumora::kClassName);
    fw::RuntimeSetUpClass("MenuBar1");
    SetUpFindWindowClass();
}

void NewAppInstance() {
    auto app = std::make_shared<class App>();
    app->MenuBar(MenuBar1());
    fw::RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers() {
    auto* app = App();
    if (!app) throw fw::NilObjectException("there is no application object to bind menu handlers to");
    fw::BindMenuHandlers(*app, kAppMenuBindings);
}

void MakeDefaultView() { Plumora(); }

void Main() {
    try {
        fw::RuntimeInitExternalClasses();
        fw::InitPluginEntrypoints();
        NewAppInstance();
        ApplicationAddMenuHandlers();
        MakeDefaultView();
        fw::RuntimeRun();
    } catch (const std::exception& error) {
        fw::UnhandledException(error);
    } catch (...) {
        fw::UnhandledException(fw::RuntimeException("an exception that is no standard exception"));
    }
}

void ModuleCleanup() {
    fw::RuntimeReleaseWindows();
    ReleaseMenuBar1();
}
