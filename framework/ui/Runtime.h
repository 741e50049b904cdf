#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

class Application;
class FolderItem;
class RectControl;
class Window;

// Process start: the toolkit and the framework's own classes.
void RuntimeInit(int& argc, char** argv);
// The classes the framework raises for its own errors, and its built-in controls.
void RuntimeInitExternalClasses();
// The plug-in controls (the bevel button), found by name from then on.
void InitPluginEntrypoints();
// A program class, set up once; later calls do nothing. A window class may
// give the factory of its windows, unbuilt, so that code which knows the
// class by its name only can have its shared default instance (SharedWindow).
using WindowFactory = std::function<std::unique_ptr<Window>()>;
void RuntimeSetUpClass(std::string_view className, WindowFactory makeWindow = {});
bool RuntimeClassIsSetUp(std::string_view className);

void RuntimeRegisterAppObject(std::shared_ptr<Application> app);
Application* GetAppObject();

// Runs the event loop until the application quits. An exception that a
// handler let out ends the loop and is thrown again from here.
void RuntimeRun();
// Closes every window, without asking, and ends the event loop.
void Quit();
// The report for an exception that nothing caught: its class and message on
// standard error and, when there is a display, in a message box.
void UnhandledException(const std::exception& error);
// Closes and releases every window and forgets the shared instances.
void RuntimeReleaseWindows();
// Releases the application object and the toolkit; the result is the process's exit
// status: 0, or 1 after an unhandled exception was reported.
int RuntimeShutdown();

// The open windows from the front (0) backwards.
int WindowCount();
Window* WindowAt(int index);
// The open shared default instance of a window class, or nothing.
Window* GetImplicitWindow(std::string_view className);
// The open shared default instance of a window class or, when none is open, a
// new one made by the class's factory, built and shared; nothing for a class
// set up without a factory.
Window* SharedWindow(std::string_view className);

// The control registered under the name in the window, or nothing.
RectControl* RuntimeWindowControlByName(Window& window, std::string_view name);

// The application's resources folder: the folder beside the one that holds
// the executable, named "Resources"; nothing when it cannot be had.
std::shared_ptr<FolderItem> GetApplicationBundleResources();

// Every step of the runtime (start-up, class set-up, registration, the loop)
// is told to this sink when one is installed.
void SetTraceSink(std::function<void(std::string_view step)> sink);
void Trace(std::string_view step);

}  // namespace fw
