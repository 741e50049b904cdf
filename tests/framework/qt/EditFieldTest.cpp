#include "ScriptedWindow.h"

#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/text/StyledText.h"
#include "framework/ui/EditField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using widgettests::ScriptedWindow;
namespace drive = fw::testing;

// A window with a styled multi-line field, whose text at every TextChange is kept.
class EditFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        window = ScriptedWindow::Make({.layout = [](ScriptedWindow& w) { w.Visible(true); },
                                       .createControls = [this](ScriptedWindow& w) {
                                           auto& f = w.Add<fw::EditField>("EditField", "Field", 10, 10, 300, 150);
                                           f.Multiline(true);
                                           f.Styled(true);
                                           f.InstallEventHandler("TextChange", fw::PlainHandler([this] {
                                                                     changes.push_back(field->Text());
                                                                 }));
                                       }});
        field = window->Control<fw::EditField>("Field");
    }
    void TearDown() override { drive::ReleaseAllWindows(); }

    void Select(long start, long length) {
        field->SelStart(start);
        field->SelLength(length);
    }

    ScriptedWindow* window = nullptr;
    fw::EditField* field = nullptr;
    std::vector<std::string> changes;
};

// Whatever changes the text raises TextChange once, with the new text in
// place, before it returns; line breaks read as CR whatever was written.
TEST_F(EditFieldTest, EveryChangeRaisesTextChangeOnceBeforeReturning) {
    field->Text("one\r\ntwo\nthree");
    EXPECT_EQ(changes, std::vector<std::string>{"one\rtwo\rthree"}) << "TextChange did not run before Text returned";
    Select(4, 3);
    field->SelText("a\nb");
    field->SetStyledText({{{fw::Alignment::Default, {{"first ", {}}, {"bold", {"", 0, true, false, false, {}}}}}}});
    field->Text("");
    drive::TypeText(*field, "ab");
    drive::PressKeys(*window, "Left");
    drive::PressKeys(*window, "Backspace");
    drive::ProcessEvents();
    EXPECT_EQ(changes, (std::vector<std::string>{"one\rtwo\rthree", "one\ra\rb\rthree", "first bold", "", "a", "ab", "b"}));
}

TEST_F(EditFieldTest, SelectionAndChangesCountCodePointsAndKeepSurrogatePairsWhole) {
    const std::string text = "a😀e\u0301b";
    field->Text(text);
    Select(1, 1);
    EXPECT_EQ(field->SelText(), "😀");
    Select(2, 2);
    EXPECT_EQ(field->SelText(), "e\u0301");
    Select(0, 100);
    EXPECT_EQ(field->SelLength(), 5);
    Select(2, 0);
    field->SelText("👍");
    EXPECT_EQ(field->Text(), "a😀👍e\u0301b");
    EXPECT_EQ(field->SelStart(), 3);
    field->Text("x\U0001F600y");
    field->Text("x\U0001F601y");  // differs only in the low half
    EXPECT_EQ(field->Text(), "x\U0001F601y");
}

// Words as runs of characters other than blanks and line breaks: enough to
// tell a whole-text count from a sum over stale paragraphs.
long CountAsciiWords(std::string_view text) {
    long words = 0;
    bool inWord = false;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\r';
        words += !blank && !inWord;
        inWord = !blank;
    }
    return words;
}

// The field keeps each paragraph's text between changes; whatever edits come,
// what it measures paragraph by paragraph must be what it holds now.
TEST_F(EditFieldTest, KeptParagraphTextFollowsEveryKindOfEdit) {
    const auto check = [&](const std::string& expected) {
        EXPECT_EQ(field->Text(), expected);
        EXPECT_EQ(field->SumOverParagraphs(CountAsciiWords), CountAsciiWords(expected)) << expected;
    };
    field->Text("alpha beta\rgamma\r\rdelta");
    field->SelStart(6);
    drive::TypeText(*field, "big ");
    check("alpha big beta\rgamma\r\rdelta");
    field->SelStart(16);
    drive::PressKeys(*window, "Return");
    check("alpha big beta\rg\ramma\r\rdelta");
    Select(15, 3);
    field->SelText("x y");
    check("alpha big beta\rx ymma\r\rdelta");
    field->SelStart(14);
    drive::PressKeys(*window, "Delete");
    check("alpha big betax ymma\r\rdelta");
    field->SelectAll();
    field->Clear();
    check("");
}

}  // namespace
