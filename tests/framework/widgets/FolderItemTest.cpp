#include "ScriptedWindow.h"

#include "framework/EditField.h"
#include "framework/Exceptions.h"
#include "framework/FolderItem.h"
#include "framework/Picture.h"
#include "framework/StyledText.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using widgettests::ScriptedWindow;
namespace drive = fw::testing;
namespace fs = std::filesystem;

// A fresh folder per test, and a window with a styled field to load into.
class FolderItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        folder = fs::path(::testing::TempDir()) /
                 ("folderitem-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        window = ScriptedWindow::Make({.layout = [](ScriptedWindow& w) {
                                           w.Width(400);
                                           w.Height(300);
                                       },
                                       .createControls = [this](ScriptedWindow& w) {
                                           auto& f = w.Add<fw::EditField>("EditField", "Field", 10, 10, 300, 200);
                                           f.Multiline(true);
                                           f.Styled(true);
                                           f.InstallEventHandler("TextChange", fw::PlainHandler([this] { ++textChanges; }));
                                       }});
        field = window->Control<fw::EditField>("Field");
    }
    void TearDown() override {
        drive::ReleaseAllWindows();
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, ignored);
        fs::remove_all(folder, ignored);
    }

    fs::path Write(const std::string& name, const std::string& bytes) {
        const auto path = folder / name;
        std::ofstream out(path, std::ios::binary);
        out << bytes;
        return path;
    }

    // Loads the file into the field; the message of the IOException, or "" when it loaded.
    std::string LoadFailure(const fs::path& path) {
        try {
            fw::FolderItem(path).OpenStyledEditField(*field);
        } catch (const fw::IOException& error) {
            return error.what();
        }
        return "";
    }

    fs::path folder;
    ScriptedWindow* window = nullptr;
    fw::EditField* field = nullptr;
    int textChanges = 0;
};

// ---- Paths -----------------------------------------------------------------

TEST_F(FolderItemTest, NameParentAndChild) {
    const fw::FolderItem item(folder / "notes.rtf");
    EXPECT_EQ(item.Name(), "notes.rtf");
    ASSERT_NE(item.Parent(), nullptr);
    EXPECT_EQ(item.Parent()->Path(), folder);
    EXPECT_EQ(item.Parent()->Child("other.txt")->Path(), folder / "other.txt");
    EXPECT_FALSE(item.Exists());
    EXPECT_TRUE(item.Parent()->Exists());
    EXPECT_TRUE(item.Parent()->Directory());

    Write("notes.rtf", "{\\rtf1 x}");
    EXPECT_TRUE(item.Exists());
    EXPECT_FALSE(item.Directory());

    EXPECT_EQ(fw::FolderItem("/").Parent(), nullptr);
    EXPECT_EQ(fw::FolderItem("/top").Parent()->Path(), fs::path("/"));
}

// ---- Pictures --------------------------------------------------------------

TEST_F(FolderItemTest, OpensBmpAndPngPictures) {
    for (const char* format : {"BMP", "PNG"}) {
        const auto path = folder / (std::string("picture.") + format);
        QImage image(7, 5, QImage::Format_RGB32);
        image.fill(QColor(0x20, 0x40, 0x60));
        image.setPixelColor(6, 4, QColor(0xFF, 0x00, 0x00));
        ASSERT_TRUE(image.save(QString::fromStdString(path.string()), format));

        const auto picture = fw::FolderItem(path).OpenAsPicture();
        ASSERT_NE(picture, nullptr) << format;
        EXPECT_EQ(picture->Width(), 7) << format;
        EXPECT_EQ(picture->Height(), 5) << format;
        // Shown as a backdrop, it has the pixels that were written.
        window->Backdrop(picture);
        EXPECT_EQ(widgettests::Hex(widgettests::PixelAt(*window, 0, 0)), "#204060") << format;
        EXPECT_EQ(widgettests::Hex(widgettests::PixelAt(*window, 6, 4)), "#FF0000") << format;
    }
}

TEST_F(FolderItemTest, NoPictureFromAMissingOrNonImageFile) {
    EXPECT_EQ(fw::FolderItem(folder / "missing.png").OpenAsPicture(), nullptr);
    EXPECT_EQ(fw::FolderItem(Write("text.png", "this is no image")).OpenAsPicture(), nullptr);
    EXPECT_EQ(fw::FolderItem(Write("empty.bmp", "")).OpenAsPicture(), nullptr);
    EXPECT_EQ(fw::FolderItem(folder).OpenAsPicture(), nullptr);
}

// ---- Loading text ----------------------------------------------------------

TEST_F(FolderItemTest, LoadsRtfWithItsStyles) {
    const auto path = Write("styled.rtf", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Helvetica;}}\n"
                                          "\\f0\\fs24 plain {\\b bold} {\\i italic}\\par\n"
                                          "\\qc centred\\par}");
    ASSERT_EQ(LoadFailure(path), "");
    EXPECT_EQ(field->Text(), "plain bold italic\rcentred");
    EXPECT_EQ(textChanges, 1);

    const auto styled = field->GetStyledText();
    ASSERT_EQ(styled.paragraphs.size(), 2u);
    bool sawBold = false, sawItalic = false;
    for (const auto& run : styled.paragraphs[0].runs) {
        if (run.text.find("bold") != std::string::npos) sawBold = run.style.bold && !run.style.italic;
        if (run.text.find("italic") != std::string::npos) sawItalic = run.style.italic && !run.style.bold;
        if (run.text.find("plain") != std::string::npos) {
            EXPECT_FALSE(run.style.bold);
        }
    }
    EXPECT_TRUE(sawBold);
    EXPECT_TRUE(sawItalic);
    EXPECT_EQ(styled.paragraphs[1].alignment, fw::Alignment::Center);
}

TEST_F(FolderItemTest, LoadsPlainTextAsUtf8WithAnyLineEnds) {
    ASSERT_EQ(LoadFailure(Write("lines.txt", "caf\xC3\xA9\r\nsecond\nthird\rfourth\n")), "");
    EXPECT_EQ(field->Text(), "caf\xC3\xA9\rsecond\rthird\rfourth");
    EXPECT_EQ(field->GetStyledText().paragraphs.size(), 4u);
    EXPECT_EQ(textChanges, 1);
}

TEST_F(FolderItemTest, PlainTextThatIsNotUtf8ReadsAsWindows1252) {
    ASSERT_EQ(LoadFailure(Write("ansi.txt", "caf\xE9 \x93quoted\x94 \x80")), "");
    EXPECT_EQ(field->Text(), "caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC");
}

TEST_F(FolderItemTest, LoadingReplacesTheFormerTextAndStyles) {
    field->Text("old text");
    field->SelStart(0);
    field->SelLength(3);
    field->SelBold(true);
    textChanges = 0;
    ASSERT_EQ(LoadFailure(Write("new.txt", "new")), "");
    EXPECT_EQ(field->Text(), "new");
    field->SelStart(0);
    field->SelLength(3);
    EXPECT_FALSE(field->SelBold());
    EXPECT_EQ(textChanges, 1);

    ASSERT_EQ(LoadFailure(Write("empty.txt", "")), "");
    EXPECT_EQ(field->Text(), "");
}

// ---- Failures --------------------------------------------------------------

TEST_F(FolderItemTest, MissingFileThrowsNamingItAndLeavesTheFieldAlone) {
    field->Text("keep me");
    textChanges = 0;
    const auto message = LoadFailure(folder / "absent.rtf");
    EXPECT_NE(message.find("absent.rtf"), std::string::npos) << message;
    EXPECT_NE(message.find("No such file"), std::string::npos) << message;
    EXPECT_EQ(field->Text(), "keep me");
    EXPECT_EQ(textChanges, 0);
}

TEST_F(FolderItemTest, FolderThrowsNamingItAndLeavesTheFieldAlone) {
    fs::create_directory(folder / "Chapters");
    field->Text("keep me");
    textChanges = 0;
    const auto message = LoadFailure(folder / "Chapters");
    EXPECT_NE(message.find("Chapters"), std::string::npos) << message;
    EXPECT_NE(message.find("folder"), std::string::npos) << message;
    EXPECT_EQ(field->Text(), "keep me");
    EXPECT_EQ(textChanges, 0);
}

TEST_F(FolderItemTest, UnreadableFileThrowsNamingItAndLeavesTheFieldAlone) {
    const auto path = Write("secret.txt", "hidden words");
    fs::permissions(path, fs::perms::none);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    field->Text("keep me");
    textChanges = 0;

    // Root reads every file whatever its mode: look at it as an ordinary user.
    const bool asRoot = geteuid() == 0;
    if (asRoot) setfsuid(65534);
    const auto message = LoadFailure(path);
    if (asRoot) setfsuid(0);

    EXPECT_NE(message.find("secret.txt"), std::string::npos) << message;
    EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
    EXPECT_EQ(field->Text(), "keep me");
    EXPECT_EQ(textChanges, 0);
}

TEST_F(FolderItemTest, FileThatFailsWhileBeingReadThrows) {
    // The start of a process's memory is never mapped: the file opens, but
    // reading it fails.
    field->Text("keep me");
    textChanges = 0;
    const auto message = LoadFailure("/proc/self/mem");
    EXPECT_NE(message.find("mem"), std::string::npos) << message;
    EXPECT_EQ(field->Text(), "keep me") << "a failed read passed for an empty file";
    EXPECT_EQ(textChanges, 0);
}

}  // namespace
