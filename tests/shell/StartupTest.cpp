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

// Long enough for any step of these tests; reached only when a quit under test fails.
constexpr int kWatchdogMilliseconds = 20000;

// What a run of the program left behind; shared with tasks that the event
// loop runs, which may outlive the test's own frame when something fails.
struct ProgramRun {
    std::vector<std::string> steps;
    bool finished = false;
    bool stuck = false;
};

long Occurrences(const std::vector<std::string>& steps, const std::string& step) {
    return std::count(steps.begin(), steps.end(), step);
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

    // Runs the start-up through Main with the trace recorded; when the event
    // loop starts, the task runs from inside it. A watchdog ends a loop that
    // the task failed to end.
    void RunMain(std::function<void(ProgramRun&)> inLoop) {
        run = std::make_shared<ProgramRun>();
        fw::SetTraceSink([state = run, inLoop](std::string_view step) {
            state->steps.emplace_back(step);
            if (step != "RuntimeRun") return;
            fw::testing::RunInEventLoop([state, inLoop] { inLoop(*state); });
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

}  // namespace
