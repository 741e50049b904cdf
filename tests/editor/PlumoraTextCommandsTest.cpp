#include "tests/support/ApplicationTest.h"

#include "framework/text/Strings.h"
#include "framework/ui/Date.h"

#include <chrono>
#include <cstdlib>
#include <tuple>

namespace {

namespace drive = fw::testing;

class PlumoraTextCommandsTest : public ApplicationTest {
protected:
    void TearDown() override {
        fw::Date::SetClock({});
        ::unsetenv("LC_TIME");
        drive::ClearMainScreenArea();
        ApplicationTest::TearDown();
    }

    // A window in front whose text has the characters bold from boldFrom on
    // (none when negative) and the selection at start, length (0-based).
    static class Plumora* WindowWith(const std::string& text, long start, long length, long boldFrom = -1,
                                     long boldLength = 0) {
        auto* window = NewWindow();
        window->Show();
        auto& field = *window->EditField1();
        field.Text(text);
        if (boldFrom >= 0) Select(field, boldFrom, boldLength), field.SelBold(true);
        Select(field, start, length);
        return window;
    }
    // One mark per character: B bold, - plain.
    static std::string BoldMarks(fw::EditField& field) {
        std::string marks;
        for (long i = 0; i < fw::Len(field.Text()); ++i) Select(field, i, 1), marks += field.SelBold() ? 'B' : '-';
        return marks;
    }
};

TEST_F(PlumoraTextCommandsTest, CaseCommandsRewriteTheSelectionKeepingFormatsAndLeaveTheCaretAfterIt) {
    const struct {
        const char *item, *text;
        long start, length, boldFrom, boldLength;  // the selection, and the bold characters when boldFrom >= 0
        const char* after;
        long caret;
        const char* marks;  // after the command, as BoldMarks shows them
    } cases[]{
        {"ChangeCaseUPPERCASE", "a bold b", 0, 8, 2, 4, "A BOLD B", 8, "--BBBB--"},
        // Reverse moves each character's format with it.
        {"ChangeCasesreveRReverse", "ab\rcd|", 0, 5, 0, 1, "dc\rba|", 5, "----B-"},
        {"ChangeCasesreveRReverse", "BIG small", 0, 9, 0, 3, "llams GIB", 9, "------BBB"},
        {"ChangeCasesreveRReverse", "ae\u0301x", 0, 4, 1, 1, "xe\u0301a", 4, "-BB-"},  // the accent stays on its letter
        // Reverse keeps every character whole: combining marks, flags, joined emoji.
        {"ChangeCasesreveRReverse", "\U0001F469\u200D\U0001F4BBae\u0301\U0001F1EB\U0001F1F7", 0, 8, -1, 0,
         "\U0001F1EB\U0001F1F7e\u0301a\U0001F469\u200D\U0001F4BB", 8, nullptr},
        {"ChangeCaseTitleCase", "don't stop o'neill", 0, 18, -1, 0, "Don't Stop O'neill", 18, nullptr},
        {"ChangeCaselowercase", "OD\u039F\u03A3 OK", 0, 4, -1, 0, "od\u03BF\u03C2 OK", 4, nullptr},
        // Two letters for one: the new text takes the first character's format.
        {"ChangeCaseUPPERCASE", "x\u00DF y", 0, 4, 1, 1, "XSS Y", 5, "-----"},
        // No selection: nothing to change.
        {"ChangeCaseUPPERCASE", "same", 2, 0, -1, 0, "same", 2, nullptr},
        {"ChangeCasesreveRReverse", "same", 2, 0, -1, 0, "same", 2, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " on " + c.text);
        auto& field = *WindowWith(c.text, c.start, c.length, c.boldFrom, c.boldLength)->EditField1();
        ASSERT_TRUE(drive::ChooseMenu(c.item));
        EXPECT_EQ(field.Text(), c.after);
        EXPECT_EQ(std::pair(field.SelStart(), field.SelLength()), std::pair(c.caret, 0L));
        if (c.marks) {
            EXPECT_EQ(BoldMarks(field), c.marks);
        }
    }
}

TEST_F(PlumoraTextCommandsTest, AlignmentAndCaseCommandsPassTheLock) {
    auto& field = *WindowWith("one\rtwo\rthree", 2, 3)->EditField1();  // "e\rt"
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    for (const auto& [item, code] : {std::pair{"AlignTextCenter", 2}, {"AlignTextRight", 3}, {"AlignTextLeft", 1}}) {
        Select(field, 2, 3);
        ASSERT_TRUE(drive::ChooseMenu(item));
        for (const auto& [at, want] : {std::pair{0L, code}, {5L, code}, {9L, 0}})
            EXPECT_EQ((field.SelStart(at), field.SelAlignment()), want) << item << " at " << at;
    }
    Select(field, 0, 3);
    ASSERT_TRUE(drive::ChooseMenu("ChangeCaseUPPERCASE"));
    EXPECT_EQ(field.Text(), "ONE\rtwo\rthree");
    // Reversed over three paragraphs, the paragraphs keep their alignments in place.
    Select(field, 9, 0);
    ASSERT_TRUE(drive::ChooseMenu("AlignTextCenter"));
    Select(field, 2, 7);
    ASSERT_TRUE(drive::ChooseMenu("ChangeCasesreveRReverse"));
    EXPECT_EQ(field.Text(), "ONt\rowt\rEhree");
    for (const auto& [at, want] : {std::pair{0L, 1}, {5L, 1}, {9L, 2}})
        EXPECT_EQ((field.SelStart(at), field.SelAlignment()), want) << "reversed, at " << at;
}

TEST_F(PlumoraTextCommandsTest, StampsGoAfterOneBlankAtTheVeryEndInTheLongFormatsOfTheLocale) {
    // 7 December 2026, 15:04:05 UTC.
    fw::Date::SetClock([] { return std::chrono::system_clock::time_point{std::chrono::seconds(1796655845)}; });
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ::unsetenv("LC_ALL");
    const struct {
        const char *locale, *item, *text, *after;
    } cases[]{
        {"en_US.UTF-8", "InsertTime", "head\rtail", "head\rtail 3:04:05 PM UTC"},
        {"en_US.UTF-8", "InsertDateandTime", "x", "x 3:04:05 PM UTC Monday, December 7, 2026"},
        {"de_DE.UTF-8", "InsertDateandTime", "x", "x 15:04:05 UTC Montag, 7. Dezember 2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.item);
        ::setenv("LC_TIME", c.locale, 1);
        auto* window = WindowWith(c.text, fw::Len(c.text) / 2, 0);  // the caret in the middle
        ASSERT_TRUE(drive::ChooseMenu(c.item));
        EXPECT_EQ(window->EditField1()->Text(), c.after);
        EXPECT_TRUE(window->TextHasChanged);
    }
}

TEST_F(PlumoraTextCommandsTest, EachNewWindowCommandOpensOneWindowInFront) {
    const std::pair<const char*, fw::EditField* (Plumora::*)() const> cases[]{
        {"newwindow", nullptr}, {"EditMakeWebsite", &Plumora::EditField2}, {"EditWriteletter", &Plumora::EditField3}};
    for (const auto& [item, templateField] : cases) {
        SCOPED_TRACE(item);
        auto* first = WindowWith("edited", 0, 0);
        const int windows = fw::WindowCount();
        ASSERT_TRUE(drive::ChooseMenu(item));
        auto* made = Front();
        ASSERT_EQ(fw::WindowCount(), windows + 1);
        // The template's own text, line breaks and all, and so a change to save.
        EXPECT_EQ(made->EditField1()->Text(), templateField ? (first->*templateField)()->Text() : "");
        EXPECT_EQ(made->TextHasChanged, templateField != nullptr);
        EXPECT_EQ(first->EditField1()->Text(), "edited");
    }
}

// The centring picture lets the event go on (false).
TEST_F(PlumoraTextCommandsTest, CentringPlacesTheContentOnTheMainScreensWorkAreaWithoutResizing) {
    auto* window = WindowWith("", 0, 0);
    drive::ProcessEvents();
    const int cases[][6]{
        // work area left, top, width, height; the window's Left and Top
        {0, 22, 1280, 778, 304, 219},
        {0, 0, 1281, 1025, 305, 321},  // half pixels go away from zero
        {100, 100, 600, 300, 64, 58},  // smaller than the window: it hangs over the edges
    };
    for (const auto& c : cases) {
        drive::SetMainScreenArea(c[0], c[1], c[2], c[3]);
        EXPECT_FALSE(window->Canvas4_MouseDown(0, 0));
        drive::ProcessEvents();
        EXPECT_EQ(std::tuple(window->Left(), window->Top(), window->Width(), window->Height()),
                  std::tuple(c[4], c[5], 672, 384));
    }
}

TEST_F(PlumoraTextCommandsTest, FullScreenTwiceReturnsEveryPropertyAndOnlyTheViewCommandsAnswerTrue) {
    auto* window = WindowWith("", 0, 0);
    window->Left(100);
    window->Top(80);
    drive::ProcessEvents();
    const auto state = [&w = *window] {
        return std::tuple(w.FullScreen(), w.MenuBarVisible(), w.Resizeable(), w.Left(), w.Top(), w.Width(), w.Height());
    };
    const auto before = state();
    EXPECT_FALSE(window->BevelButton2_MouseDown(0, 0));
    EXPECT_EQ(std::tuple(window->FullScreen(), window->MenuBarVisible(), window->Resizeable()),
              std::tuple(true, false, false));
    drive::Click(*window->BevelButton2());
    EXPECT_EQ(state(), before);
    // Called directly, not through member pointers, which the undefined-behaviour checker misreads.
    auto& w = *window;
    for (const bool handled : {w.Canvas2_MouseDown(0, 0), w.Canvas2_MouseDown(0, 0), w.Canvas3_MouseDown(0, 0)})
        EXPECT_FALSE(handled);
    for (const bool handled : {w.ViewMaximize_Action(), w.ViewMaximize_Action(), w.ViewMinimize_Action()})
        EXPECT_TRUE(handled);
}

}  // namespace
