#include "tests/support/ApplicationTest.h"
#include "find/FindWindow.h"

#include <gtest/gtest.h>

#include <functional>
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
        document->EditField1()->SelStart(1);
        document->TextHasChanged = false;
        return document;
    }

    // Chooses the command from the document window's menu bar, the document in front.
    static class FindWindow* Choose(class Plumora& document, const char* command) {
        document.Show();
        EXPECT_TRUE(drive::ChooseMenu(command)) << command;
        return Finder();
    }

    // Finds, or with a replacement replaces, as a user does: the command, the texts, Return.
    static void Search(class Plumora& document, const std::string& text, std::optional<std::string> replacement = {}) {
        auto* finder = Choose(document, replacement ? "editreplace" : "EditFind");
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

TEST_F(FindTest, FindSelectsAndReplaceReplacesTheFirstOccurrenceIgnoringCase) {
    struct Case {
        const char* text;
        const char* search;
        std::optional<std::string> replacement;
        int times;
        const char* after;
        std::pair<long, long> selection;  // start and length, after a find
    };
    const Case cases[]{
        {"alpha beta gamma beta", "BETA", {}, 2, "alpha beta gamma beta", {6, 4}},
        {"Beta beta", "beta", {}, 1, "Beta beta", {0, 4}},
        {"I \xF0\x9F\x98\x80 cafe\xCC\x81!", "\xF0\x9F\x98\x80 CAFE\xCC\x81", {}, 1, "I \xF0\x9F\x98\x80 cafe\xCC\x81!",
         {2, 7}},
        {"one\rtwo\tthree", "E\rTWO\tT", {}, 1, "one\rtwo\tthree", {2, 7}},
        {"alpha beta gamma beta", "beta", "delta", 2, "alpha delta gamma delta", {}},
        {"a beta", "beta", "betabeta", 2, "a betabetabeta", {}},
        {"a beta c", "BETA", "", 1, "a  c", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + std::string(" / ") + c.search);
        auto* document = Document(c.text);
        for (int i = 0; i < c.times; ++i) Search(*document, c.search, c.replacement);
        const auto& field = *document->EditField1();
        EXPECT_EQ(field.Text(), c.after);
        if (!c.replacement) EXPECT_EQ(std::pair(field.SelStart(), field.SelLength()), c.selection);
        EXPECT_EQ(document->TextHasChanged, c.replacement.has_value());
    }
    // A locked document is searched and replaced all the same.
    auto* locked = Document("locked text");
    ASSERT_TRUE(drive::ChooseMenu("FormatLocked"));
    Search(*locked, "TEXT", "words");
    EXPECT_EQ(locked->EditField1()->Text(), "locked words");
    EXPECT_TRUE(DialogCalls().empty());
}

// Not found: one beep, then the message, with the text and selection as they were.
TEST_F(FindTest, ATextThatDoesNotOccurBeepsAndShowsItUnchanged) {
    const std::pair<const char*, std::string> cases[]{
        {"", "zzz"}, {"abc", "abcd"}, {"abc", "say \"hi\""}, {"abc", "a\tb\rc"}, {"abc", std::string(100000, 'q')},
    };
    for (const auto& [text, search] : cases) {
        SCOPED_TRACE(search.substr(0, 20));
        dialogs->calls.clear();
        auto* document = Document(text);
        // Texts a single-line field cannot take are given to the routine itself.
        if (search.find('\r') == std::string::npos) Search(*document, search);
        else document->Find(search, "x");
        const std::vector<std::string> told{"beep ", "msgbox Plumora could not find: \"" + search + "\"."};
        EXPECT_EQ(DialogCalls(), told);
        EXPECT_EQ(document->EditField1()->Text(), text);
        EXPECT_EQ(document->EditField1()->SelStart(), *text ? 1 : 0);
        EXPECT_FALSE(document->TextHasChanged);
    }
}

TEST_F(FindTest, TheWindowOpensOnTheFindTabAndEachSearchFieldEnablesItsButtonAndFollowsTheTab) {
    auto* document = Document("");
    auto* finder = Choose(*document, "EditFind");
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(fw::WindowAt(0), finder);
    EXPECT_EQ(fw::WindowAt(1), document);
    EXPECT_FALSE(drive::ShowsMenuBar(*finder));
    const auto size = drive::ShownContentSize(*finder);
    EXPECT_EQ(std::pair(size.width, size.height), std::pair(357, 164));
    EXPECT_TRUE(drive::IsShown(*finder->FindButton()) && !drive::IsShown(*finder->ReplaceButton()));
    EXPECT_TRUE(drive::HasFocus(*finder->EditField1()));
    // Find, Cancel, Replace, Cancel on Replace, the close picture.
    const auto enabled = [&] {
        std::string marks;
        for (const char* name : {"FindButton", "CancelButton", "ReplaceButton", "CancelReplace", "Canvas1"})
            marks += finder->ControlByName(name)->Enabled() ? '1' : '0';
        return marks;
    };
    EXPECT_EQ(enabled(), "01011");
    drive::TypeText(*finder->EditField1(), "b");
    EXPECT_EQ(enabled(), "11011");
    drive::PressKeys(*finder, "Backspace");
    EXPECT_EQ(enabled(), "01011");

    finder->TabPanel1()->Value(1);  // both search fields empty: nothing is copied
    EXPECT_TRUE(drive::HasFocus(*finder->SearchText()));
    drive::TypeText(*finder->ReplaceText(), "kept");
    EXPECT_EQ(enabled(), "01011") << "the replacement changes no button";
    finder->TabPanel1()->Value(0);
    drive::TypeText(*finder->EditField1(), "abc");
    finder->TabPanel1()->Value(1);
    EXPECT_EQ(finder->SearchText()->Text() + "/" + finder->ReplaceText()->Text(), "abc/kept");
    EXPECT_EQ(enabled(), "11111");
    drive::PressKeys(*finder, "Tab");
    EXPECT_TRUE(drive::HasFocus(*finder->ReplaceText()));
    finder->SearchText()->Text("");
    EXPECT_EQ(enabled(), "11011");
    finder->TabPanel1()->Value(0);
    EXPECT_EQ(finder->EditField1()->Text(), "abc") << "an empty field overwrites nothing";

    // Replace switches the open window to its tab; Find keeps the tab.
    EXPECT_EQ(Choose(*document, "editreplace"), finder);
    EXPECT_EQ(fw::WindowAt(0), finder);
    EXPECT_EQ(finder->TabPanel1()->Value(), 1);
    EXPECT_EQ(Choose(*document, "EditFind"), finder);
    EXPECT_EQ(finder->TabPanel1()->Value(), 1);
    // While it is in front, the shortcuts reach the application's commands only.
    EXPECT_FALSE(drive::ShownMenuItem("EditFind").enabled);
    drive::PressKeys(*finder, "Ctrl+W");
    EXPECT_EQ(fw::WindowCount(), 3);
    EXPECT_NE(dynamic_cast<class Plumora*>(fw::WindowAt(0)), nullptr);
}

// Return and Escape press the buttons of the page shown, never those of the hidden one.
TEST_F(FindTest, EveryWayOfClosingLeavesNoWindowAndTheNextCommandOpensAFreshOne) {
    using Close = std::function<void(class FindWindow&)>;
    const std::pair<const char*, Close> closers[]{
        {"Escape", [](auto& f) { drive::PressKeys(f, "Escape"); }},
        {"Escape on Replace", [](auto& f) { f.TabPanel1()->Value(1); drive::PressKeys(f, "Escape"); }},
        {"Cancel", [](auto& f) { drive::Click(*f.CancelButton()); }},
        {"Cancel on Replace", [](auto& f) { f.TabPanel1()->Value(1); drive::Click(*f.CancelReplace()); }},
        {"the close picture", [](auto& f) { drive::Click(*f.Canvas1()); }},
        {"Return",
         [](auto& f) {
             f.EditField1()->Text("Beta");
             f.SearchText()->Text("gamma");
             drive::PressKeys(f, "Return");
         }},
    };
    auto* document = Document("beta gamma");
    for (const auto& [how, close] : closers) {
        SCOPED_TRACE(how);
        auto* finder = Choose(*document, "EditFind");
        EXPECT_EQ(finder->EditField1()->Text() + finder->ReplaceText()->Text(), "") << "not a fresh window";
        finder->ReplaceText()->Text("left over");
        close(*finder);
        EXPECT_EQ(Finder(), nullptr);
        EXPECT_EQ(fw::WindowCount(), 1);
        EXPECT_EQ(fw::WindowAt(0), document);
    }
    EXPECT_EQ(document->EditField1()->Text(), "beta gamma");
    EXPECT_EQ(std::pair(document->EditField1()->SelStart(), document->EditField1()->SelLength()), std::pair(0L, 4L));
    EXPECT_TRUE(DialogCalls().empty());
}

TEST_F(FindTest, WithNoDocumentBehindNothingHappensAndTheWindowCloses) {
    auto* document = Document("alpha");
    auto* other = fw::MakeWindow<fw::Window>();
    for (const bool anyBehind : {true, false}) {
        SCOPED_TRACE(anyBehind ? "a window of another class behind" : "no window behind");
        if (!anyBehind) {
            EXPECT_EQ(document->EditField1()->SelStart(), 1);
            other->Close();
            document->Close();
        }
        auto* finder = FindWindow();
        EXPECT_EQ(fw::WindowAt(1), anyBehind ? other : nullptr);
        finder->EditField1()->Text("alpha");
        drive::PressKeys(*finder, "Return");
        EXPECT_EQ(Finder(), nullptr);
    }
    EXPECT_TRUE(DialogCalls().empty());
}

}  // namespace
