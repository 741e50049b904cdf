#include "tests/support/ApplicationTest.h"
#include "editor/Plumora.h"

#include "framework/text/Strings.h"
#include "framework/ui/Date.h"
#include "framework/ui/EditField.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

namespace drive = fw::testing;

// Reaches the window's own Reverse.
class ReversingPlumora : public Plumora {
public:
    using Plumora::Reverse;
};

class PlumoraTextCommandsTest : public ApplicationTest {
protected:
    void TearDown() override {
        fw::Date::SetClock({});
        ApplicationTest::TearDown();
    }

    // A window in front whose document holds text, with the characters from
    // start (0-based) on selected.
    class Plumora* WindowWith(const std::string& text, long start = 0, long length = 0) {
        auto* window = NewWindow();
        window->Show();
        auto& field = *window->EditField1();
        field.Text(text);
        field.SelStart(start);
        field.SelLength(length);
        drive::ProcessEvents();
        return window;
    }
};

TEST_F(PlumoraTextCommandsTest, ReverseKeepsEveryCharacterWhole) {
    const std::string eAcute = "e\u0301";
    const std::string flag = "\U0001F1EB\U0001F1F7";
    const std::string coder = "\U0001F469\u200D\U0001F4BB";
    const struct {
        std::string in, out;
    } cases[]{
        {"", ""},
        {"a", "a"},
        {"ab", "ba"},
        {"abc", "cba"},
        {"one\rtwo", "owt\reno"},
        {"x" + eAcute + "y", "y" + eAcute + "x"},
        {flag + "!", "!" + flag},
        {coder + "ab" + flag, flag + "ba" + coder},
    };
    ReversingPlumora window;
    for (const auto& c : cases) EXPECT_EQ(window.Reverse(c.in), c.out) << c.in;
}

TEST_F(PlumoraTextCommandsTest, CaseCommandsRewriteTheSelectionOnlyAndLeaveTheCaretAfterIt) {
    const struct {
        const char* item;
        const char* text;
        long start, length;
        const char* after;
        long caret;
    } cases[]{
        {"ChangeCaseUPPERCASE", "say stra\u00DFe now", 4, 6, "say STRASSE now", 11},
        {"ChangeCaselowercase", "OD\u039F\u03A3 OK", 0, 4, "od\u03BF\u03C2 OK", 4},
        {"ChangeCaseTitleCase", "don't stop o'neill", 0, 18, "Don't Stop O'neill", 18},
        {"ChangeCasesreveRReverse", "ab\rcd|", 0, 5, "dc\rba|", 5},
        // No selection: nothing to change.
        {"ChangeCaseUPPERCASE", "same", 2, 0, "same", 2},
        {"ChangeCaselowercase", "SAME", 2, 0, "SAME", 2},
        {"ChangeCaseTitleCase", "same", 2, 0, "same", 2},
        {"ChangeCasesreveRReverse", "same", 2, 0, "same", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " on " + c.text);
        auto* window = WindowWith(c.text, c.start, c.length);
        ASSERT_TRUE(drive::ChooseMenu(c.item));
        EXPECT_EQ(window->EditField1()->Text(), c.after);
        EXPECT_EQ(window->EditField1()->SelStart(), c.caret);
        EXPECT_EQ(window->EditField1()->SelLength(), 0);
    }
}

// One mark per character: B bold, - plain.
std::string BoldMarks(fw::EditField& field) {
    std::string marks;
    for (long i = 0; i < fw::Len(field.Text()); ++i) {
        field.SelStart(i);
        field.SelLength(1);
        marks += field.SelBold() ? 'B' : '-';
    }
    return marks;
}

TEST_F(PlumoraTextCommandsTest, ReplacedCharactersKeepTheirFormatWhenTheCountStaysTheSame) {
    const struct {
        const char* item;
        const char* marks;
    } cases[]{
        {"ChangeCaseUPPERCASE", "--BBBB--"},      // "a BOLD b"
        {"ChangeCasesreveRReverse", "--BBBB--"},  // formats stay where they were
        {"ChangeCaseTitleCase", "--BBBB--"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        auto* window = WindowWith("a bold b", 2, 4);
        auto& field = *window->EditField1();
        field.SelBold(true);
        field.SelStart(0);
        field.SelLength(8);
        ASSERT_TRUE(drive::ChooseMenu(c.item));
        EXPECT_EQ(BoldMarks(field), c.marks);
    }
    // "ß" becomes two letters: the new text takes the first character's format.
    auto* window = WindowWith("x\u00DF y", 0, 2);
    auto& field = *window->EditField1();
    field.SelStart(1);
    field.SelLength(1);
    field.SelBold(true);
    field.SelStart(0);
    field.SelLength(4);
    ASSERT_TRUE(drive::ChooseMenu("ChangeCaseUPPERCASE"));
    EXPECT_EQ(field.Text(), "XSS Y");
    EXPECT_EQ(BoldMarks(field), "-----");
}

TEST_F(PlumoraTextCommandsTest, AlignmentCommandsAlignTheSelectedParagraphsEvenWhenLocked) {
    auto* window = WindowWith("one\rtwo\rthree", 2, 3);  // "e\rt"
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    auto& field = *window->EditField1();
    for (const auto& [item, code] : {std::pair{"AlignTextCenter", 2}, {"AlignTextRight", 3}, {"AlignTextLeft", 1}}) {
        field.SelStart(2);
        field.SelLength(3);
        ASSERT_TRUE(drive::ChooseMenu(item));
        for (long at : {0L, 5L}) {
            field.SelStart(at);
            EXPECT_EQ(field.SelAlignment(), code) << item << " at " << at;
        }
        field.SelStart(9);
        EXPECT_EQ(field.SelAlignment(), 0) << item << " reached the third paragraph";
    }
    // Case commands pass the lock too.
    field.SelStart(0);
    field.SelLength(3);
    ASSERT_TRUE(drive::ChooseMenu("ChangeCaseUPPERCASE"));
    EXPECT_EQ(field.Text(), "ONE\rtwo\rthree");
}

// 7 December 2026, 15:04:05 UTC.
constexpr std::chrono::system_clock::time_point kMoment{std::chrono::seconds(1796655845)};

class StampTest : public PlumoraTextCommandsTest {
protected:
    void SetUp() override {
        PlumoraTextCommandsTest::SetUp();
        fw::Date::SetClock([] { return kMoment; });
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        ::unsetenv("LC_ALL");
        ::setenv("LC_TIME", "en_US.UTF-8", 1);
    }
    void TearDown() override {
        ::unsetenv("LC_TIME");
        PlumoraTextCommandsTest::TearDown();
    }
};

TEST_F(StampTest, StampsGoAfterOneBlankAtTheVeryEndInTheLongFormatsOfTheLocale) {
    const struct {
        const char* locale;
        const char* item;
        const char* text;
        const char* after;
    } cases[]{
        {"en_US.UTF-8", "InsertDate", "head\rtail", "head\rtail Monday, December 7, 2026"},
        {"en_US.UTF-8", "InsertTime", "", " 3:04:05 PM UTC"},
        {"en_US.UTF-8", "InsertDateandTime", "x", "x 3:04:05 PM UTC Monday, December 7, 2026"},
        {"de_DE.UTF-8", "InsertDate", "", " Montag, 7. Dezember 2026"},
        {"de_DE.UTF-8", "InsertDateandTime", "x", "x 15:04:05 UTC Montag, 7. Dezember 2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.item);
        ::setenv("LC_TIME", c.locale, 1);
        // The caret in the middle: the stamp still goes to the end.
        auto* window = WindowWith(c.text, fw::Len(c.text) / 2);
        ASSERT_TRUE(drive::ChooseMenu(c.item));
        EXPECT_EQ(window->EditField1()->Text(), c.after);
        EXPECT_TRUE(window->TextHasChanged);
    }
}

TEST_F(PlumoraTextCommandsTest, EachNewWindowCommandOpensOneWindowInFront) {
    const struct {
        const char* item;
        fw::EditField* (Plumora::*source)() const;  // the template field, none for an empty window
    } cases[]{
        {"newwindow", nullptr},
        {"EditMakeWebsite", &Plumora::EditField2},
        {"EditWriteletter", &Plumora::EditField3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        auto* first = WindowWith("");
        TypeAtEnd(*first->EditField1(), "edited");
        const auto before = LooksOf(*first);
        const int windows = fw::WindowCount();
        ASSERT_TRUE(drive::ChooseMenu(c.item));
        drive::ProcessEvents();
        EXPECT_EQ(fw::WindowCount(), windows + 1);
        auto* made = Front();
        ASSERT_NE(made, first);
        EXPECT_TRUE(drive::IsShown(*made));
        // The template's own text, line breaks and all, and so a change to save.
        EXPECT_EQ(made->EditField1()->Text(), c.source ? (first->*c.source)()->Text() : "");
        EXPECT_EQ(made->TextHasChanged, c.source != nullptr);
        EXPECT_EQ(LooksOf(*first), before);
    }
}

}  // namespace
