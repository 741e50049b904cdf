#include "tests/support/ApplicationTest.h"
#include "tests/support/Transcription.h"

#include "framework/text/RtfReader.h"

#include <chrono>
#include <map>
#include <tuple>

namespace {

namespace fs = std::filesystem;
namespace drive = fw::testing;

// Every file below the folder with its content and the time it was written,
// that time first set well into the past so that any later write shows.
std::map<std::string, std::pair<std::string, fs::file_time_type>> Aged(const fs::path& folder, bool age = true) {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        if (age) fs::last_write_time(entry.path(), fs::file_time_type::clock::now() - std::chrono::hours(48));
        files[entry.path().lexically_relative(folder).string()] = {FileBytes(entry.path()),
                                                                   fs::last_write_time(entry.path())};
    }
    return files;
}

class PlumoraSavingTest : public ApplicationTest {
protected:
    void AnswerSave(const fs::path& path) { dialogs->saveAnswers.push_back(std::make_shared<fw::FolderItem>(path)); }
};

// Save asks, proposing the title in the documents folder; Save As asks,
// proposing the file, and moves the window to the file chosen.
TEST_F(PlumoraSavingTest, SaveAsksForAFileWhileSaveAsMovesToANewOne) {
    auto* window = NewWindow();
    auto& field = *window->EditField1();
    drive::TypeText(field, "Hello bold world");
    Select(field, 6, 4);
    field.SelBold(true);
    AnswerSave(folder / "letter.rtf");
    Choose(*window, "FileSave");
    ASSERT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("save")[0].text, (fw::DocumentsFolder()->Path() / "Plumora").string()) << "trimmed";
    const auto letter = fw::ReadRtf(FileBytes(folder / "letter.rtf"));
    EXPECT_EQ(letter, field.GetStyledText());
    // The field's own font is saved as the family the toolbar names.
    EXPECT_EQ(letter.paragraphs.at(0).runs.at(0).style.font, field.SelTextFont());

    const auto saved = Aged(folder);
    TypeAtEnd(field, " again");
    AnswerSave(folder / "copy.rtf");
    Choose(*window, "FileSaveas");
    ASSERT_EQ(dialogs->CallsOf("save").size(), 2u);
    EXPECT_EQ(dialogs->CallsOf("save")[1].text, (folder / "letter.rtf").string());
    EXPECT_EQ(window->Title(), "copy.rtf");
    EXPECT_EQ(Aged(folder, false).at("letter.rtf"), saved.at("letter.rtf")) << "Save As touched the old file";
    EXPECT_EQ(fw::ReadRtf(FileBytes(folder / "copy.rtf")), field.GetStyledText());
}

// A cancelled dialog or a failed save changes neither the window nor any
// file; a failure is told, naming the file and the reason.
TEST_F(PlumoraSavingTest, ACancelledOrFailedSaveLeavesTheWindowAndTheFilesAsTheyWere) {
    // Whether the window has a file, the item chosen (none: the save-changes bar's Yes) and the failure told
    // (none: the dialog is cancelled; the folder is read-only otherwise).
    // clang-format off
    const std::tuple<bool, const char*, const char*> roads[]{
        {false, "FileSave", nullptr}, {false, nullptr, nullptr},
        {true, "FileSaveas", nullptr}, {true, nullptr, nullptr}, {true, "FileSave", "kept.rtf"}};
    // clang-format on
    int i = 0;
    for (const auto& [saved, item, message] : roads) {
        SCOPED_TRACE(++i);
        const auto dir = folder / std::to_string(i);
        fs::create_directories(dir);
        auto* window = NewWindow();
        if (saved) {
            drive::TypeText(*window->EditField1(), "saved text");
            AnswerSave(dir / "kept.rtf");
            Choose(*window, "FileSave");
            ASSERT_EQ(window->Title(), "kept.rtf");
        }
        TypeAtEnd(*window->EditField1(), " and unsaved text");
        if (message) fs::permissions(dir, fs::perms(0555));
        const auto files = Aged(dir);
        if (!item) drive::Click(*window->Canvas8());
        const auto before = LooksOf(*window);
        dialogs->calls.clear();
        {
            AsOrdinaryUser user;
            if (item) Choose(*window, item);
            else drive::Click(*window->Canvas5());
        }
        if (message) {
            ASSERT_EQ(dialogs->CallsOf("msgbox").size(), 1u);
            for (const char* part : {message, "Permission denied"})
                EXPECT_NE(dialogs->CallsOf("msgbox")[0].text.find(part), std::string::npos) << part;
        } else {
            EXPECT_EQ(dialogs->CallsOf("save").size(), 1u);
            EXPECT_EQ(dialogs->calls.size(), 1u) << "something was told";
        }
        EXPECT_EQ(LooksOf(*window), before);
        EXPECT_EQ(Aged(dir, false), files);
    }
}

// A plain-text file opens as plain text in a document of no file, so that
// no save writes RTF over it: Save asks, proposing the name with ".rtf" beside it.
TEST_F(PlumoraSavingTest, APlainTextFileOpensAsTextAndSaveAsksForAnRtfFileBesideIt) {
    auto* window = Open(Write("notes.txt", "plain {\\b start}\nsecond\n"));
    ASSERT_NE(window, nullptr);
    TypeAtEnd(*window->EditField1(), " and more");
    AnswerSave(folder / "notes.rtf");
    drive::PressKeys(*window, "Ctrl+S");
    ASSERT_EQ(dialogs->CallsOf("save").size(), 1u);
    EXPECT_EQ(dialogs->CallsOf("save")[0].text, (folder / "notes.rtf").string());
    EXPECT_EQ(FileBytes(folder / "notes.txt"), "plain {\\b start}\nsecond\n");
    EXPECT_EQ(window->Title(), "notes.rtf");
}

// However many fonts a file names, every run keeps its own through a save;
// a lone surrogate opens as U+FFFD.
TEST_F(PlumoraSavingTest, EveryFontKeepsItsNameThroughASave) {
    std::string table, runs, expected, saved;
    for (int i = 0; i < 400; ++i) {
        const std::string n = std::to_string(i);
        table += "{\\f" + n + " Family " + n + ";}", runs += "{\\f" + n + " " + n + "\\u-10179?}";
        expected += n + "\xEF\xBF\xBD: Family " + n + "\n";
    }
    AnswerSave(folder / "saved.rtf");
    Choose(*Open(Write("fonts.rtf", "{\\rtf1{\\fonttbl" + table + "}" + runs + "}")), "FileSaveas");
    for (const auto& paragraph : fw::ReadRtf(FileBytes(folder / "saved.rtf")).paragraphs)
        for (const auto& run : paragraph.runs) saved += run.text + ": " + run.style.font + "\n";
    EXPECT_EQ(saved, expected);
}

// Justified paragraphs are shown justified and reported as 4.
TEST_F(PlumoraSavingTest, AJustifiedParagraphStaysJustified) {
    auto& field = *Open(Write("justified.rtf", "{\\rtf1\\ansi\\qj Both margins\\par}"))->EditField1();
    EXPECT_EQ((field.SelStart(0), field.SelAlignment()), 4);
}

}  // namespace
