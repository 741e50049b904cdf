#include "tests/support/ApplicationTest.h"
#include "find/FindWindow.h"
#include "framework/text/Strings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

namespace drive = fw::testing;

class FindTest : public ApplicationTest {
protected:
    static class FindWindow* Finder() {
        return dynamic_cast<class FindWindow*>(fw::GetImplicitWindow(FindWindow::kClassName));
    }

    static class Plumora* Document(const std::string& text) {
        auto* document = NewWindow();
        document->EditField1()->Text(text);
        document->TextHasChanged = false;
        return document;
    }

    // Chooses the command in the document window's menu bar, the document in front.
    static class FindWindow* Choose(class Plumora& document, const char* command) {
        document.Show();
        EXPECT_TRUE(drive::ChooseMenu(command)) << command;
        return Finder();
    }

    // Finds, or with a replacement replaces, as a user does: the command, the texts, Return.
    static void Search(class Plumora& document, const std::string& text, std::optional<std::string> replacement = {}) {
        auto* finder = Choose(document, replacement ? "editreplace" : "EditFind");
        ASSERT_NE(finder, nullptr);
        (replacement ? finder->SearchText() : finder->EditField1())->Text(text);
        if (replacement) finder->ReplaceText()->Text(*replacement);
        drive::PressKeys(*finder, "Return");
        EXPECT_EQ(Finder(), nullptr) << "the find window stays open";
    }

    std::vector<std::string> DialogCalls() const {
        std::vector<std::string> calls;
        for (const auto& call : dialogs->calls) calls.push_back(call.dialog + " " + call.text);
        return calls;
    }
};

std::string NotFound(const std::string& text) { return "msgbox Plumora could not find: \"" + text + "\"."; }

TEST_F(FindTest, FindSelectsAndReplaceReplacesTheFirstOccurrenceIgnoringCase) {
    struct Case {
        const char* text;
        const char* search;
        std::optional<std::string> replacement;
        int times;
        const char* after;
        long selStart, selLength;  // -1: the field's own after a replacement
    };
    const Case cases[]{
        {"alpha beta gamma beta", "BETA", {}, 2, "alpha beta gamma beta", 6, 4},
        {"Beta beta", "beta", {}, 1, "Beta beta", 0, 4},
        {"x beta", "BETA", {}, 1, "x beta", 2, 4},
        {"I \xF0\x9F\x98\x80 cafe\xCC\x81!", "\xF0\x9F\x98\x80 CAFE\xCC\x81", {}, 1, "I \xF0\x9F\x98\x80 cafe\xCC\x81!", 2, 7},
        {"one\rtwo\tthree", "E\rTWO\tT", {}, 1, "one\rtwo\tthree", 2, 7},
        {"alpha beta gamma beta", "beta", "delta", 2, "alpha delta gamma delta", -1, -1},
        {"a beta", "beta", "betabeta", 2, "a betabetabeta", -1, -1},
        {"a beta c", "BETA", "", 1, "a  c", -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + std::string(" / ") + c.search);
        auto* document = Document(c.text);
        document->EditField1()->SelStart(fw::Len(c.text));
        for (int i = 0; i < c.times; ++i) Search(*document, c.search, c.replacement);
        const auto& field = *document->EditField1();
        EXPECT_EQ(field.Text(), c.after);
        if (c.selStart >= 0) EXPECT_EQ(std::pair(field.SelStart(), field.SelLength()), std::pair(c.selStart, c.selLength));
        EXPECT_EQ(document->TextHasChanged, c.replacement.has_value());
        EXPECT_TRUE(DialogCalls().empty());
    }
}

TEST_F(FindTest, ALockedDocumentIsStillSearchedAndReplaced) {
    auto* document = Document("locked text");
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    ASSERT_FALSE(document->EditField1()->Enabled());
    Search(*document, "TEXT", "words");
    EXPECT_EQ(document->EditField1()->Text(), "locked words");
}

// Not found: one beep, then the message, with the text and selection as they were.
TEST_F(FindTest, ATextThatDoesNotOccurBeepsAndShowsItUnchanged) {
    struct Case {
        const char* text;
        std::string search;
        bool typed;  // through the window; otherwise given to the routine itself
    };
    const Case cases[]{
        {"", "zzz", true},
        {"abc", "abcd", true},
        {"abc", "say \"hi\"", true},
        {"abc", "a\tb\rc", false},
        {"abc", "\xF0\x9F\x98\x80" "e\xCC\x81", false},
        {"abc", std::string(100000, 'q'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search.substr(0, 20));
        dialogs->calls.clear();
        auto* document = Document(c.text);
        document->EditField1()->SelStart(1);
        document->EditField1()->SelLength(1);
        if (c.typed) Search(*document, c.search);
        else document->Find(c.search, "x");
        EXPECT_EQ(DialogCalls(), (std::vector<std::string>{"beep ", NotFound(c.search)}));
        EXPECT_EQ(document->EditField1()->Text(), c.text);
        EXPECT_EQ(document->EditField1()->SelStart(), std::string(c.text).empty() ? 0 : 1);
        EXPECT_FALSE(document->TextHasChanged);
    }
}

TEST_F(FindTest, ANewWindowShowsTheFindTabAndEachSearchFieldEnablesItsButton) {
    auto* document = Document("");
    auto* finder = Choose(*document, "EditFind");
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(fw::WindowAt(0), finder);
    EXPECT_EQ(fw::WindowAt(1), document);
    EXPECT_FALSE(drive::ShowsMenuBar(*finder));
    EXPECT_EQ(drive::ShownContentSize(*finder).width, 357);
    EXPECT_EQ(drive::ShownContentSize(*finder).height, 164);
    EXPECT_EQ(finder->TabPanel1()->Value(), 0);
    EXPECT_TRUE(drive::IsShown(*finder->FindButton()));
    EXPECT_FALSE(drive::IsShown(*finder->ReplaceButton()));
    EXPECT_TRUE(drive::HasFocus(*finder->EditField1()));
    const auto buttons = [&] {
        std::string enabled;
        for (auto* control : std::initializer_list<fw::RectControl*>{
                 finder->FindButton(), finder->CancelButton(), finder->ReplaceButton(), finder->CancelReplace(),
                 finder->Canvas1()})
            enabled += control->Enabled() ? '1' : '0';
        return enabled;
    };
    EXPECT_EQ(buttons(), "01011");
    drive::TypeText(*finder->EditField1(), "b");
    EXPECT_EQ(buttons(), "11011");
    drive::PressKeys(*finder, "Backspace");
    EXPECT_EQ(buttons(), "01011");

    finder->TabPanel1()->Value(1);
    EXPECT_TRUE(drive::HasFocus(*finder->SearchText()));
    drive::TypeText(*finder->ReplaceText(), "r");
    EXPECT_EQ(buttons(), "01011") << "the replacement changes no button";
    drive::TypeText(*finder->SearchText(), "s");
    EXPECT_EQ(buttons(), "01111");
    drive::PressKeys(*finder, "Tab");
    EXPECT_TRUE(drive::HasFocus(*finder->ReplaceText()));
    for (const char* field : {"EditField1", "SearchText", "ReplaceText"}) EXPECT_NE(finder->ControlByName(field), nullptr);
}

TEST_F(FindTest, TheSearchTextFollowsTheTabShownAndAnEmptyFieldOverwritesNothing) {
    auto* finder = Choose(*Document(""), "EditFind");
    ASSERT_NE(finder, nullptr);
    finder->TabPanel1()->Value(1);
    finder->TabPanel1()->Value(0);
    EXPECT_EQ(finder->EditField1()->Text() + finder->SearchText()->Text(), "");
    finder->ReplaceText()->Text("kept");
    drive::TypeText(*finder->EditField1(), "abc");
    finder->TabPanel1()->Value(1);
    EXPECT_EQ(finder->SearchText()->Text(), "abc");
    EXPECT_TRUE(finder->ReplaceButton()->Enabled());
    EXPECT_EQ(finder->ReplaceText()->Text(), "kept");
    finder->SearchText()->Text("");
    finder->TabPanel1()->Value(0);
    EXPECT_EQ(finder->EditField1()->Text(), "abc");
}

TEST_F(FindTest, ReplaceSwitchesAnOpenWindowToItsTabAndFindKeepsTheTab) {
    auto* document = Document("");
    auto* finder = Choose(*document, "EditFind");
    EXPECT_EQ(Choose(*document, "editreplace"), finder);
    EXPECT_EQ(fw::WindowAt(0), finder);
    EXPECT_EQ(finder->TabPanel1()->Value(), 1);
    EXPECT_EQ(Choose(*document, "EditFind"), finder);
    EXPECT_EQ(finder->TabPanel1()->Value(), 1);
    // While the find window is in front, neither command is to be had.
    EXPECT_FALSE(drive::ShownMenuItem("EditFind").enabled);
}

// Return and Escape press the buttons of the page shown, never those of the hidden page.
TEST_F(FindTest, EveryWayOfClosingLeavesNoWindowAndTheNextCommandOpensAFreshOne) {
    const std::vector<std::pair<const char*, std::function<void(class FindWindow&)>>> closers{
        {"Escape on Find", [](auto& f) { drive::PressKeys(f, "Escape"); }},
        {"Escape on Replace", [](auto& f) { f.TabPanel1()->Value(1); drive::PressKeys(f, "Escape"); }},
        {"Cancel", [](auto& f) { drive::Click(*f.CancelButton()); }},
        {"Cancel on Replace", [](auto& f) { f.TabPanel1()->Value(1); drive::Click(*f.CancelReplace()); }},
        {"the close picture", [](auto& f) { drive::Click(*f.Canvas1()); }},
        {"Return on Find", [](auto& f) { f.EditField1()->Text("Beta"); f.SearchText()->Text("gamma"); drive::PressKeys(f, "Return"); }},
    };
    auto* document = Document("beta gamma");
    for (const auto& [how, close] : closers) {
        SCOPED_TRACE(how);
        auto* finder = Choose(*document, "EditFind");
        ASSERT_NE(finder, nullptr);
        finder->EditField1()->Text("left over");
        finder->ReplaceText()->Text("left over");
        finder->EditField1()->Text("");
        close(*finder);
        drive::ProcessEvents();
        EXPECT_EQ(Finder(), nullptr);
        EXPECT_EQ(fw::WindowCount(), 1);
        EXPECT_EQ(fw::WindowAt(0), document);
    }
    EXPECT_EQ(document->EditField1()->Text(), "beta gamma");
    EXPECT_EQ(document->EditField1()->SelStart(), 0);
    EXPECT_EQ(document->EditField1()->SelLength(), 4);
    auto* fresh = Choose(*document, "EditFind");
    EXPECT_EQ(fresh->EditField1()->Text() + fresh->ReplaceText()->Text(), "");
    EXPECT_TRUE(DialogCalls().empty());
}

// With no document window behind it, the find window searches nothing and closes.
TEST_F(FindTest, WithNoDocumentBehindNothingHappensAndTheWindowCloses) {
    auto* document = Document("alpha");
    document->EditField1()->SelStart(5);
    auto* other = fw::MakeWindow<fw::Window>();
    for (const bool anyBehind : {true, false}) {
        SCOPED_TRACE(anyBehind ? "a window of another class behind" : "no window behind");
        if (!anyBehind) {
            EXPECT_EQ(document->EditField1()->SelStart(), 5);
            other->Close();
            document->Close();
        }
        auto* finder = FindWindow();
        ASSERT_EQ(fw::WindowAt(0), finder);
        EXPECT_EQ(fw::WindowAt(1), anyBehind ? other : nullptr);
        finder->EditField1()->Text("alpha");
        drive::PressKeys(*finder, "Return");
        EXPECT_EQ(Finder(), nullptr);
    }
    EXPECT_TRUE(DialogCalls().empty());
}

}  // namespace
