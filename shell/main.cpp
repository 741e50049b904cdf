#include "Startup.h"

#include "framework/ui/Runtime.h"

int main(int argc, char** argv) {
    fw::RuntimeInit(argc, argv);
    SetUpClasses();
    Main();
    ModuleCleanup();
    return fw::RuntimeShutdown();
}
