#include "FolderFixture.h"

#include "framework/ui/EditField.h"
#include "framework/ui/FolderItem.h"
#include "framework/ui/Picture.h"
#include "framework/text/StyledText.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FolderItemTest : public widgettests::FolderFixture {};

// ---- Paths -----------------------------------------------------------------

TEST_F(FolderItemTest, NameParentAndChild) {
    const fw::FolderItem item(folder / "notes.rtf");
    EXPECT_EQ(item.Name(), "notes.rtf");
    ASSERT_NE(item.Parent(), nullptr);
    EXPECT_EQ(item.Parent()->Path(), folder);
    EXPECT_EQ(item.Parent()->Child("other.txt")->Path(), folder / "other.txt");
    EXPECT_FALSE(item.Exists());
    EXPECT_TRUE(item.Parent()->Exists() && item.Parent()->Directory());

    Write(folder / "notes.rtf", "{\\rtf1 x}");
    EXPECT_TRUE(item.Exists());
    EXPECT_FALSE(item.Directory());

    EXPECT_EQ(fw::FolderItem("/").Parent(), nullptr);
    EXPECT_EQ(fw::FolderItem("/top").Parent()->Path(), fs::path("/"));
}

// ---- Pictures --------------------------------------------------------------

TEST_F(FolderItemTest, OpensBmpAndPngPictures) {
    for (const char* format : {"BMP", "PNG"}) {
        SCOPED_TRACE(format);
        const auto path = folder / (std::string("picture.") + format);
        QImage image(7, 5, QImage::Format_RGB32);
        image.fill(QColor(0x20, 0x40, 0x60));
        image.setPixelColor(6, 4, QColor(0xFF, 0x00, 0x00));
        ASSERT_TRUE(image.save(QString::fromStdString(path.string()), format));

        const auto picture = fw::FolderItem(path).OpenAsPicture();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(std::make_pair(picture->Width(), picture->Height()), std::make_pair(7, 5));
        // Shown as a backdrop, it has the pixels that were written.
        window->Backdrop(picture);
        widgettests::ExpectColours(*window, {{0, 0, "#204060"}, {6, 4, "#FF0000"}});
    }
    EXPECT_EQ(fw::FolderItem(folder / "missing.png").OpenAsPicture(), nullptr);
    EXPECT_EQ(fw::FolderItem(Write(folder / "text.png", "this is no image")).OpenAsPicture(), nullptr);
    EXPECT_EQ(fw::FolderItem(Write(folder / "empty.bmp", "")).OpenAsPicture(), nullptr);
    EXPECT_EQ(fw::FolderItem(folder).OpenAsPicture(), nullptr);
}

// ---- Loading text ----------------------------------------------------------

TEST_F(FolderItemTest, LoadsRtfWithItsStyles) {
    const auto path = Write(folder / "styled.rtf", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Helvetica;}}\n"
                                                   "\\f0\\fs24 plain {\\b bold} {\\i italic}\\par\n"
                                                   "\\qc centred\\par}");
    ASSERT_EQ(LoadFailure(path), "");
    EXPECT_EQ(copy->Text(), "plain bold italic\rcentred");
    EXPECT_EQ(textChanges, 1);

    const auto styled = copy->GetStyledText();
    ASSERT_EQ(styled.paragraphs.size(), 2u);
    std::string marks;
    for (const auto& run : styled.paragraphs[0].runs)
        marks += std::string(run.text.size(), run.style.bold ? (run.style.italic ? 'x' : 'b') : run.style.italic ? 'i' : '.');
    EXPECT_EQ(marks, "......bbbb.iiiiii");
    EXPECT_EQ(styled.paragraphs[1].alignment, fw::Alignment::Center);
}

// Plain text is UTF-8 with any line ends, or else Windows-1252; it replaces
// the former text and its styles.
TEST_F(FolderItemTest, LoadsPlainTextReplacingTheFormerTextAndStyles) {
    copy->Text("old text");
    copy->SelStart(0);
    copy->SelLength(3);
    copy->SelBold(true);
    textChanges = 0;
    ASSERT_EQ(LoadFailure(Write(folder / "lines.txt", "caf\xC3\xA9\r\nsecond\nthird\rfourth\n")), "");
    EXPECT_EQ(copy->Text(), "caf\xC3\xA9\rsecond\rthird\rfourth");
    EXPECT_EQ(copy->GetStyledText().paragraphs.size(), 4u);
    EXPECT_EQ(textChanges, 1);
    copy->SelStart(0);
    copy->SelLength(3);
    EXPECT_FALSE(copy->SelBold());

    ASSERT_EQ(LoadFailure(Write(folder / "ansi.txt", "caf\xE9 \x93quoted\x94 \x80")), "");
    EXPECT_EQ(copy->Text(), "caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC");
    ASSERT_EQ(LoadFailure(Write(folder / "empty.txt", "")), "");
    EXPECT_EQ(copy->Text(), "");
}

// ---- Failures --------------------------------------------------------------

// A file that cannot be read throws naming it and the reason, and leaves the
// field alone.
TEST_F(FolderItemTest, UnreadableFileThrowsNamingItAndLeavesTheFieldAlone) {
    fs::create_directory(folder / "Chapters");
    const auto secret = Write(folder / "secret.txt", "hidden words");
    fs::permissions(secret, fs::perms::none);
    struct Case { fs::path path; std::string name, reason; };
    const std::vector<Case> cases{
        {folder / "absent.rtf", "absent.rtf", "No such file"},
        {folder / "Chapters", "Chapters", "folder"},
        {secret, "secret.txt", "Permission denied"},
        // The start of a process's memory is never mapped: the file opens,
        // but reading it fails, which must not pass for an empty file.
        {"/proc/self/mem", "mem", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        copy->Text("keep me");
        textChanges = 0;
        const auto message = AsOrdinaryUser([&] { return LoadFailure(c.path); });
        EXPECT_NE(message.find(c.name), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_EQ(copy->Text(), "keep me");
        EXPECT_EQ(textChanges, 0);
    }
}

}  // namespace
