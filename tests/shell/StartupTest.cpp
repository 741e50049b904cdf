#include "shell/Startup.h"

#include "editor/Plumora.h"
#include "shell/App.h"
#include "shell/MenuBar1.h"
#include "framework/Exceptions.h"
#include "framework/FolderItem.h"
#include "framework/Runtime.h"
#include "framework/Window.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kAppItems{"newwindow", "FileOpen", "EditMakeWebsite", "FileQuit", "ChangeCaseUPPERCASE"};

// Long enough for any step of these tests; reached only when a quit under test fails.
constexpr int kWatchdogMilliseconds = 20000;

// What a run of the program left behind; shared with tasks that the event
// loop runs, which may outlive the test's own frame when something fails.
struct ProgramRun {
    std::vector<std::string> steps;
    bool loopRan = false;
    bool finished = false;
    bool stuck = false;
};

std::ptrdiff_t Position(const std::vector<std::string>& steps, const std::string& step) {
    return std::find(steps.begin(), steps.end(), step) - steps.begin();
}

long Occurrences(const std::vector<std::string>& steps, const std::string& step) {
    return std::count(steps.begin(), steps.end(), step);
}

bool AppHandles(const std::string& item) {
    auto* app = App();
    return app && app->Handlers().Has(item);
}

void CloseEveryWindow() {
    while (auto* window = fw::WindowAt(0)) window->Close();
    fw::testing::ProcessEvents();
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs = &fw::testing::InstallScriptedDialogs();
        fw::testing::ReleaseAllWindows();
        fw::RuntimeRegisterAppObject(nullptr);
        ReleaseMenuBar1();
        folder = fs::temp_directory_path() / ("plumora-startup-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }

    void TearDown() override {
        if (run) run->finished = true;
        fw::SetTraceSink(nullptr);
        fw::testing::ReleaseAllWindows();
        fw::RuntimeRegisterAppObject(nullptr);
        ReleaseMenuBar1();
        std::error_code error;
        fs::remove_all(folder, error);
    }

    // Runs the start-up through Main with the trace recorded; when the event
    // loop starts, the task runs from inside it. A watchdog ends a loop that
    // the task failed to end.
    void RunMain(std::function<void(ProgramRun&)> inLoop) {
        run = std::make_shared<ProgramRun>();
        fw::SetTraceSink([state = run, inLoop](std::string_view step) {
            state->steps.emplace_back(step);
            if (step != "RuntimeRun") return;
            fw::testing::RunInEventLoop([state, inLoop] {
                state->loopRan = true;
                inLoop(*state);
            });
            fw::testing::RunInEventLoop(
                [state] {
                    if (state->finished) return;
                    state->stuck = true;
                    fw::testing::StopEventLoop();
                },
                kWatchdogMilliseconds);
        });
        Main();
        run->finished = true;
        fw::SetTraceSink(nullptr);
    }

    fs::path WriteFile(const std::string& name, const std::string& content) {
        std::ofstream(folder / name, std::ios::binary) << content;
        return folder / name;
    }

    fw::testing::ScriptedDialogs* dialogs = nullptr;
    std::shared_ptr<ProgramRun> run;
    fs::path folder;
};

TEST_F(StartupTest, StartUpRunsItsStepsInOrderAndOpensTheSharedDefaultWindow) {
    const bool classesAlreadySetUp = fw::RuntimeClassIsSetUp("App");
    struct Seen {
        int windowsAtRegistration = -1;
        const fw::MenuBar* barAtRegistration = nullptr;
        int menusAtRegistration = -1;
        bool handlersAtRegistration = false;
        int windowsInLoop = -1;
        fw::Window* front = nullptr;
        fw::Window* shared = nullptr;
        bool frontIsDocument = false;
        bool frontVisible = false;
        std::vector<bool> handlersInLoop;
    };
    auto seen = std::make_shared<Seen>();
    std::vector<std::string> classSteps;
    fw::SetTraceSink([&classSteps](std::string_view step) { classSteps.emplace_back(step); });
    SetUpClasses();
    fw::SetTraceSink(nullptr);

    run = std::make_shared<ProgramRun>();
    fw::SetTraceSink([state = run, seen](std::string_view step) {
        state->steps.emplace_back(step);
        if (step == "RuntimeRegisterAppObject") {
            seen->windowsAtRegistration = fw::WindowCount();
            if (auto* app = fw::GetAppObject(); app && app->MenuBar()) {
                seen->barAtRegistration = app->MenuBar().get();
                seen->menusAtRegistration = app->MenuBar()->Count();
            }
            seen->handlersAtRegistration = AppHandles("newwindow");
        }
        if (step == "RuntimeRun")
            fw::testing::RunInEventLoop([state, seen] {
                state->loopRan = true;
                seen->windowsInLoop = fw::WindowCount();
                seen->front = fw::WindowAt(0);
                seen->shared = fw::GetImplicitWindow(Plumora::kClassName);
                seen->frontIsDocument = dynamic_cast<class Plumora*>(seen->front) != nullptr;
                seen->frontVisible = seen->front && seen->front->Visible();
                for (const auto& item : kAppItems) seen->handlersInLoop.push_back(AppHandles(item));
                fw::Quit();
            });
    });
    Main();
    fw::SetTraceSink(nullptr);
    const auto& steps = run->steps;

    // Classes are set up once per process, App first, before anything of Main.
    if (classesAlreadySetUp) {
        EXPECT_TRUE(classSteps.empty());
    } else {
        EXPECT_EQ(classSteps,
                  (std::vector<std::string>{"SetUpClass App", "SetUpClass Plumora.Plumora", "SetUpClass MenuBar1"}));
    }
    for (const char* name : {"App", "Plumora.Plumora", "MenuBar1"}) EXPECT_TRUE(fw::RuntimeClassIsSetUp(name)) << name;

    for (const char* step : {"RuntimeInitExternalClasses", "InitPluginEntrypoints", "RuntimeRegisterAppObject",
                             "RuntimeRun", "RuntimeRun ended"})
        EXPECT_EQ(Occurrences(steps, step), 1) << step;
    EXPECT_LT(Position(steps, "RuntimeInitExternalClasses"), Position(steps, "InitPluginEntrypoints"));
    EXPECT_LT(Position(steps, "InitPluginEntrypoints"), Position(steps, "RuntimeRegisterAppObject"));
    EXPECT_LT(Position(steps, "RuntimeRegisterAppObject"), Position(steps, "RuntimeRun"));
    EXPECT_LT(Position(steps, "RuntimeRun"), Position(steps, "RuntimeRun ended"));
    EXPECT_EQ(Occurrences(steps, "UnhandledException"), 0);

    // The bar is installed before the application object is registered, and
    // no window and no handler exist yet at that moment.
    EXPECT_EQ(seen->windowsAtRegistration, 0);
    ASSERT_NE(seen->barAtRegistration, nullptr);
    EXPECT_EQ(seen->barAtRegistration, MenuBar1().get());
    EXPECT_EQ(seen->menusAtRegistration, 5);
    EXPECT_FALSE(seen->handlersAtRegistration);

    // When the loop starts, exactly one document window is open: the shared default instance.
    ASSERT_TRUE(run->loopRan);
    EXPECT_EQ(seen->windowsInLoop, 1);
    ASSERT_NE(seen->front, nullptr);
    EXPECT_EQ(seen->front, seen->shared);
    EXPECT_TRUE(seen->frontIsDocument);
    EXPECT_TRUE(seen->frontVisible);
    EXPECT_EQ(seen->handlersInLoop, std::vector<bool>(kAppItems.size(), true));
    EXPECT_EQ(App()->MenuBar(), MenuBar1());
}

TEST_F(StartupTest, AppBindsItsFiveHandlersWithTheirResults) {
    std::vector<std::string> bound;
    for (const auto& binding : kAppMenuBindings) bound.emplace_back(binding.item);
    EXPECT_EQ(bound, kAppItems);

    NewAppInstance();
    for (const auto& item : kAppItems) EXPECT_FALSE(AppHandles(item)) << item;
    ApplicationAddMenuHandlers();
    for (const auto& item : kAppItems) EXPECT_TRUE(AppHandles(item)) << item;
    const auto& handlers = App()->Handlers();

    // New Window: a new, shown document window that is not the shared default instance.
    EXPECT_EQ(handlers.Run("newwindow"), true);
    ASSERT_EQ(fw::WindowCount(), 1);
    auto* made = dynamic_cast<class Plumora*>(fw::WindowAt(0));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(fw::GetImplicitWindow(Plumora::kClassName), nullptr);
    EXPECT_TRUE(made->Visible());
    EXPECT_EQ(made->Document, nullptr);
    EXPECT_FALSE(made->TextHasChanged);

    // Open, cancelled: taken, with the open dialog asked once with an empty filter.
    EXPECT_EQ(handlers.Run("FileOpen"), true);
    ASSERT_EQ(dialogs->CallsOf("open").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("open")[0].filter, "");
    EXPECT_EQ(fw::WindowCount(), 1);

    EXPECT_EQ(handlers.Run("EditMakeWebsite"), true);
    EXPECT_EQ(handlers.Run("FileQuit"), false);
    EXPECT_EQ(handlers.Run("ChangeCaseUPPERCASE"), false);
    // None of the last three made or closed a window; declining Quit does not quit by itself.
    EXPECT_EQ(fw::WindowCount(), 1);
    EXPECT_EQ(fw::WindowAt(0), made);
    EXPECT_EQ(dialogs->calls.size(), 1u);
}

TEST_F(StartupTest, BindingWithoutAnApplicationObjectThrows) {
    EXPECT_THROW(ApplicationAddMenuHandlers(), fw::NilObjectException);
}

TEST_F(StartupTest, TheDefaultViewIsTheSharedInstanceUntilItCloses) {
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
    ASSERT_EQ(fw::WindowCount(), 1);
    auto* shared = fw::GetImplicitWindow(Plumora::kClassName);
    EXPECT_EQ(shared, fw::WindowAt(0));
    EXPECT_EQ(Plumora(), shared);
    EXPECT_EQ(fw::WindowCount(), 1);

    shared->Close();
    fw::testing::ProcessEvents();
    EXPECT_EQ(fw::GetImplicitWindow(Plumora::kClassName), nullptr);
    EXPECT_EQ(fw::WindowCount(), 0);
}

TEST_F(StartupTest, WithEveryWindowClosedNewWindowAndOpenStillWork) {
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
    CloseEveryWindow();
    ASSERT_EQ(fw::WindowCount(), 0);

    EXPECT_TRUE(fw::testing::ChooseMenu("newwindow"));
    ASSERT_EQ(fw::WindowCount(), 1);
    auto* fresh = dynamic_cast<class Plumora*>(fw::WindowAt(0));
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->Visible());
    EXPECT_EQ(fw::GetImplicitWindow(Plumora::kClassName), nullptr);
    CloseEveryWindow();

    const auto file = WriteFile("letter.txt", "Dear reader");
    dialogs->openAnswers.push_back(std::make_shared<fw::FolderItem>(file));
    EXPECT_TRUE(fw::testing::ChooseMenu("FileOpen"));
    ASSERT_EQ(fw::WindowCount(), 1);
    auto* opened = dynamic_cast<class Plumora*>(fw::WindowAt(0));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Title(), "letter.txt");
    ASSERT_NE(opened->EditField1(), nullptr);
    EXPECT_EQ(opened->EditField1()->Text(), "Dear reader");
    EXPECT_EQ(fw::testing::TakeEscapedException(), "");
}

TEST_F(StartupTest, WithNoDocumentWindowMakeWebsiteAndUpperCaseDoNothing) {
    NewAppInstance();
    ApplicationAddMenuHandlers();
    ASSERT_EQ(fw::WindowCount(), 0);
    // Make Website is taken by the application object; UPPER CASE is declined and falls to nobody.
    for (const char* item : {"EditMakeWebsite", "ChangeCaseUPPERCASE"}) {
        SCOPED_TRACE(item);
        EXPECT_TRUE(fw::testing::ChooseMenu(item));
        EXPECT_EQ(fw::WindowCount(), 0);
        EXPECT_EQ(fw::testing::TakeEscapedException(), "");
        EXPECT_TRUE(dialogs->calls.empty());
    }
}

TEST_F(StartupTest, WithEveryWindowClosedQuitEndsTheEventLoop) {
    RunMain([](ProgramRun& state) {
        CloseEveryWindow();
        if (fw::WindowCount() != 0) return;
        state.steps.emplace_back(fw::testing::ChooseMenu("FileQuit") ? "chose Quit" : "Quit not chosen");
    });
    ASSERT_TRUE(run->loopRan);
    EXPECT_FALSE(run->stuck) << "Quit did not end the event loop";
    EXPECT_EQ(Occurrences(run->steps, "chose Quit"), 1);
    EXPECT_LT(Position(run->steps, "chose Quit"), Position(run->steps, "RuntimeRun ended"));
    EXPECT_EQ(Occurrences(run->steps, "UnhandledException"), 0);
}

TEST_F(StartupTest, QuitWithUnsavedChangesSavesNothingAndAsksNothing) {
    const auto file = WriteFile("kept.txt", "as saved");
    RunMain([file](ProgramRun& state) {
        auto* window = dynamic_cast<class Plumora*>(fw::WindowAt(0));
        if (!window || !window->EditField1()) return;
        window->Document = std::make_shared<fw::FolderItem>(file);
        fw::testing::TypeText(*window->EditField1(), "unsaved words");
        window->TextHasChanged = true;
        state.steps.emplace_back(fw::testing::ChooseMenu("FileQuit") ? "chose Quit" : "Quit not chosen");
    });
    ASSERT_TRUE(run->loopRan);
    EXPECT_FALSE(run->stuck) << "Quit did not end the event loop";
    EXPECT_EQ(Occurrences(run->steps, "chose Quit"), 1);
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_TRUE(dialogs->calls.empty());
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "as saved");
}

TEST_F(StartupTest, AnExceptionInAStartUpStepSkipsTheRestAndIsReported) {
    run = std::make_shared<ProgramRun>();
    fw::SetTraceSink([state = run](std::string_view step) {
        state->steps.emplace_back(step);
        // Stands for the plug-in controls not being found.
        if (step == "InitPluginEntrypoints") throw fw::UnknownNameException("no plug-in entry points");
    });
    Main();
    fw::SetTraceSink(nullptr);
    const auto& steps = run->steps;
    EXPECT_EQ(Occurrences(steps, "UnhandledException"), 1);
    EXPECT_EQ(Occurrences(steps, "RuntimeRegisterAppObject"), 0);
    EXPECT_EQ(Occurrences(steps, "RuntimeRun"), 0);
    EXPECT_EQ(fw::GetAppObject(), nullptr);
    EXPECT_EQ(fw::WindowCount(), 0);
}

// The whole program as its entry runs it, in a process of its own, since
// shutting the runtime down ends what a test process needs.
class StartupDeathTest : public StartupTest {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        StartupTest::SetUp();
    }

    // Runs the program with a task for its event loop and exits with its status.
    [[noreturn]] static void RunProgram(std::function<void()> inLoop) {
        fw::SetTraceSink([inLoop](std::string_view step) {
            std::fprintf(stderr, "step: %.*s\n", static_cast<int>(step.size()), step.data());
            if (step != "RuntimeRun") return;
            fw::testing::RunInEventLoop(inLoop);
            fw::testing::RunInEventLoop([] { fw::testing::StopEventLoop(); }, kWatchdogMilliseconds);
        });
        SetUpClasses();
        Main();
        ModuleCleanup();
        std::exit(fw::RuntimeShutdown());
    }
};

TEST_F(StartupDeathTest, AnExceptionThatEndsTheEventLoopIsReportedAndFailsTheExitStatus) {
    EXPECT_EXIT(RunProgram([] {
                    // A command of the application object that fails, chosen as a user would.
                    App()->AddMenuHandler("FileOpen", []() -> bool { throw fw::IOException("the disk is on fire"); });
                    if (!fw::testing::ChooseMenu("FileOpen")) std::fprintf(stderr, "Open could not be chosen\n");
                }),
                ::testing::ExitedWithCode(1),
                "step: RuntimeRun\n.*step: RuntimeRun ended\n.*"
                "An exception of class IOException was not handled: the disk is on fire.*"
                "step: UnhandledException\n.*step: RuntimeShutdown");
}

TEST_F(StartupDeathTest, AQuitProgramExitsWithSuccess) {
    EXPECT_EXIT(RunProgram([] { fw::testing::ChooseMenu("FileQuit"); }), ::testing::ExitedWithCode(0),
                "step: RuntimeRun ended\n.*step: RuntimeShutdown");
}

}  // namespace
