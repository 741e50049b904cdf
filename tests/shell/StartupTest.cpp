#include "shell/Startup.h"

#include "editor/Plumora.h"
#include "framework/model/Exceptions.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/ui/Runtime.h"
#include "shell/App.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The whole program as its entry runs it, in a process of its own, since
// shutting the runtime down ends what a test process needs.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        dialogs = &fw::testing::InstallScriptedDialogs();
    }

    // Runs the program with a task for its event loop, writing each step of
    // its trace, and exits with its status. A watchdog ends a loop that the
    // task failed to end, and says so.
    [[noreturn]] static void RunProgram(std::function<void()> inLoop) {
        fw::SetTraceSink([inLoop](std::string_view step) {
            std::fprintf(stderr, "step: %.*s\n", static_cast<int>(step.size()), step.data());
            if (step != "RuntimeRun") return;
            fw::testing::RunInEventLoop(inLoop);
            fw::testing::RunInEventLoop([] { std::fprintf(stderr, "stuck\n"), fw::testing::StopEventLoop(); }, 20000);
        });
        SetUpClasses();
        Main();
        std::fprintf(stderr, "windows left: %d, dialogs shown: %zu\n", fw::WindowCount(), dialogs->calls.size());
        ModuleCleanup();
        std::exit(fw::RuntimeShutdown());
    }

    static inline fw::testing::ScriptedDialogs* dialogs = nullptr;
};

// Quit, chosen with two windows open (closing the last window would end the
// loop by itself), asks once, about the document with unsaved changes; the
// scripted user's Cancel keeps everything, and a second Quit, answered so,
// closes both windows and ends the loop.
TEST_F(StartupTest, QuitAsksAboutUnsavedDocumentsThenEndsTheLoopAndClosesEveryWindow) {
    EXPECT_EXIT(RunProgram([] {
                    auto* window = dynamic_cast<class Plumora*>(fw::WindowAt(0));
                    if (!window) return;
                    fw::testing::TypeText(*window->EditField1(), "unsaved words");
                    fw::testing::ChooseMenu("newwindow");
                    fw::testing::ChooseMenu("FileQuit");
                    std::fprintf(stderr, "%d windows, %s, asked: %s\n", fw::WindowCount(),
                                 window->EditField1()->Text().c_str(), dialogs->CallsOf("confirm").at(0).text.c_str());
                    dialogs->confirmAnswers.push_back(true);
                    fw::testing::PressKeys(*fw::WindowAt(0), "Ctrl+Q");
                }),
                ::testing::ExitedWithCode(0),
                "2 windows, unsaved words, asked: An untitled document has unsaved changes. Quit anyway and lose "
                "them\\?\nstep: RuntimeRun ended\nwindows left: 0, dialogs shown: 2\n");
}

TEST_F(StartupTest, AnExceptionThatEndsTheEventLoopIsReportedAndFailsTheExitStatus) {
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
