#include "shell/Startup.h"

#include "editor/Plumora.h"
#include "shell/App.h"
#include "menubar/MenuBar1.h"
#include "framework/model/Exceptions.h"
#include "framework/ui/FolderItem.h"
#include "framework/ui/Runtime.h"
#include "framework/ui/Window.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"

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

    // Runs the start-up through Main with the trace recorded, each step also
    // shown to onStep; when the event loop starts, the task runs from inside
    // it. A watchdog ends a loop that the task failed to end.
    void RunMain(std::function<void(ProgramRun&)> inLoop, std::function<void(std::string_view)> onStep = {}) {
        run = std::make_shared<ProgramRun>();
        fw::SetTraceSink([state = run, inLoop, onStep](std::string_view step) {
            state->steps.emplace_back(step);
            if (onStep) onStep(step);
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
    std::vector<std::string> classSteps;
    fw::SetTraceSink([&classSteps](std::string_view step) { classSteps.emplace_back(step); });
    SetUpClasses();
    fw::SetTraceSink(nullptr);
    // Classes are set up once per process, App first, before anything of Main.
    const std::vector<std::string> expectedClassSteps{"SetUpClass App", "SetUpClass Plumora.Plumora", "SetUpClass MenuBar1"};
    EXPECT_EQ(classSteps, classesAlreadySetUp ? std::vector<std::string>{} : expectedClassSteps);

    struct Seen {
        int windowsAtRegistration = -1;
        const fw::MenuBar* barAtRegistration = nullptr;
        bool handlersAtRegistration = true;
        int windowsInLoop = -1;
        bool frontIsTheSharedDocumentWindow = false;
        bool frontVisible = false;
        std::vector<bool> handlersInLoop;
    };
    // Shared with the loop's task, which a failed start-up could leave for a later round of events.
    auto seen = std::make_shared<Seen>();
    RunMain(
        [seen](ProgramRun&) {
            auto* front = fw::WindowAt(0);
            seen->windowsInLoop = fw::WindowCount();
            seen->frontIsTheSharedDocumentWindow =
                dynamic_cast<class Plumora*>(front) && front == fw::GetImplicitWindow(Plumora::kClassName);
            seen->frontVisible = front && front->Visible();
            for (const auto& item : kAppItems) seen->handlersInLoop.push_back(AppHandles(item));
            fw::Quit();
        },
        [seen](std::string_view step) {
            if (step != "RuntimeRegisterAppObject") return;
            seen->windowsAtRegistration = fw::WindowCount();
            if (auto* app = fw::GetAppObject()) seen->barAtRegistration = app->MenuBar().get();
            seen->handlersAtRegistration = AppHandles("newwindow");
        });

    // The steps of Main, each once and in this order, with nothing escaping.
    const std::vector<std::string> order{"RuntimeInitExternalClasses", "InitPluginEntrypoints",
                                         "RuntimeRegisterAppObject", "RuntimeRun", "RuntimeRun ended"};
    std::vector<std::string> mainSteps;
    for (const auto& step : run->steps)
        if (std::find(order.begin(), order.end(), step) != order.end()) mainSteps.push_back(step);
    EXPECT_EQ(mainSteps, order);
    EXPECT_EQ(Occurrences(run->steps, "UnhandledException"), 0);
    EXPECT_FALSE(run->stuck);

    // The bar is installed before the application object is registered, and
    // no window and no handler exist yet at that moment.
    EXPECT_EQ(seen->windowsAtRegistration, 0);
    EXPECT_EQ(seen->barAtRegistration, MenuBar1().get());
    EXPECT_FALSE(seen->handlersAtRegistration);

    // When the loop starts, exactly one document window is open: the shared default instance.
    ASSERT_TRUE(run->loopRan);
    EXPECT_EQ(seen->windowsInLoop, 1);
    EXPECT_TRUE(seen->frontIsTheSharedDocumentWindow);
    EXPECT_TRUE(seen->frontVisible);
    EXPECT_EQ(seen->handlersInLoop, std::vector<bool>(kAppItems.size(), true));
}

TEST_F(StartupTest, WithEveryWindowClosedTheApplicationsCommandsStillWork) {
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
    CloseEveryWindow();
    ASSERT_EQ(fw::WindowCount(), 0);

    // Make Website is taken by the application object; UPPER CASE is declined and falls to nobody.
    for (const char* item : {"EditMakeWebsite", "ChangeCaseUPPERCASE"}) {
        EXPECT_TRUE(fw::testing::ChooseMenu(item)) << item;
        EXPECT_EQ(fw::WindowCount(), 0) << item;
    }
    EXPECT_TRUE(dialogs->calls.empty());

    EXPECT_TRUE(fw::testing::ChooseMenu("newwindow"));
    ASSERT_EQ(fw::WindowCount(), 1);
    auto* fresh = dynamic_cast<class Plumora*>(fw::WindowAt(0));
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->Visible());
    CloseEveryWindow();

    dialogs->openAnswers.push_back(std::make_shared<fw::FolderItem>(WriteFile("letter.txt", "Dear reader")));
    EXPECT_TRUE(fw::testing::ChooseMenu("FileOpen"));
    ASSERT_EQ(fw::WindowCount(), 1);
    auto* opened = dynamic_cast<class Plumora*>(fw::WindowAt(0));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Title(), "letter.txt");
    EXPECT_EQ(opened->EditField1()->Text(), "Dear reader");
    EXPECT_EQ(fw::testing::TakeEscapedException(), "");
}

// Closing the last window ends the loop by itself, so Quit is chosen with two
// windows open, one of them holding unsaved changes to a file.
TEST_F(StartupTest, QuitWithWindowsOpenEndsTheLoopClosesThemAllAndSavesNothing) {
    const auto file = WriteFile("kept.txt", "as saved");
    RunMain([file](ProgramRun& state) {
        fw::testing::ChooseMenu("newwindow");
        auto* window = dynamic_cast<class Plumora*>(fw::WindowAt(0));
        if (!window || fw::WindowCount() != 2) return;
        window->Document = std::make_shared<fw::FolderItem>(file);
        fw::testing::TypeText(*window->EditField1(), "unsaved words");
        state.steps.emplace_back(fw::testing::ChooseMenu("FileQuit") ? "chose Quit" : "");
    });
    EXPECT_EQ(Occurrences(run->steps, "chose Quit"), 1);
    EXPECT_FALSE(run->stuck) << "Quit did not end the event loop";
    EXPECT_EQ(fw::WindowCount(), 0);
    EXPECT_EQ(Occurrences(run->steps, "UnhandledException"), 0);
    EXPECT_TRUE(dialogs->calls.empty());
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "as saved");
}

TEST_F(StartupTest, AnExceptionInAStartUpStepSkipsTheRestAndIsReported) {
    std::vector<std::string> steps;
    fw::SetTraceSink([&steps](std::string_view step) {
        steps.emplace_back(step);
        // Stands for the plug-in controls not being found.
        if (step == "InitPluginEntrypoints") throw fw::UnknownNameException("no plug-in entry points");
    });
    Main();
    fw::SetTraceSink(nullptr);
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
