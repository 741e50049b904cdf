#include "ScriptedWindow.h"

#include "framework/Color.h"
#include "framework/EditField.h"
#include "framework/Exceptions.h"
#include "framework/FolderItem.h"
#include "framework/RtfReader.h"
#include "framework/StyledText.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using widgettests::ScriptedWindow;
namespace drive = fw::testing;
namespace fs = std::filesystem;

using fw::Alignment;
using fw::CharStyle;
using fw::Color;
using fw::StyledParagraph;
using fw::StyledRun;
using fw::StyledText;

// Root may write anywhere: the saves that must fail run as an ordinary user.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (root_) ::setfsuid(65534);
    }
    ~AsOrdinaryUser() {
        if (root_) ::setfsuid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool root_ = ::geteuid() == 0;
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return 0;
    return info.st_mode & 07777;
}

std::string PlainTextOf(const StyledText& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.paragraphs.size(); ++i) {
        if (i > 0) plain += '\r';
        for (const auto& run : text.paragraphs[i].runs) plain += run.text;
    }
    return plain;
}

CharStyle Style(std::string font, double size, bool bold = false, bool italic = false, bool underline = false,
                std::optional<Color> color = std::nullopt) {
    return {std::move(font), size, bold, italic, underline, color};
}

StyledParagraph Paragraph(std::vector<StyledRun> runs, Alignment alignment = Alignment::Default) {
    return {alignment, std::move(runs)};
}

// ---- Documents to save and read back ------------------------------------------

struct Document {
    const char* name;
    StyledText text;
};

void PrintTo(const Document& document, std::ostream* out) { *out << document.name; }

std::vector<Document> Documents() {
    const auto body = Style("DejaVu Serif", 12);
    std::vector<Document> documents;

    documents.push_back({"MixedFontsAndSizes",
                         {{Paragraph({{"Serif twelve, ", body},
                                      {"sans nine, ", Style("DejaVu Sans", 9)},
                                      {"mono eighteen and a half, ", Style("DejaVu Sans Mono", 18.5)},
                                      {"a font this machine lacks.", Style("Garamond Premier Pro", 14)}}),
                           Paragraph({{"Headline", Style("Nimbus Sans", 36)}}),
                           Paragraph({{"small print", Style("Nimbus Roman", 6)}})}}});

    std::vector<StyledRun> faces;
    for (int bits = 0; bits < 8; ++bits)
        faces.push_back({"face" + std::to_string(bits) + " ", Style("DejaVu Sans", 12, bits & 1, bits & 2, bits & 4)});
    documents.push_back({"BoldItalicUnderline", {{Paragraph(faces)}}});

    documents.push_back({"Colours",
                         {{Paragraph({{"red ", Style("DejaVu Sans", 12, false, false, false, Color::FromRGB(0xFF0000))},
                                      {"green ", Style("DejaVu Sans", 12, false, false, false, Color::FromRGB(0x00A000))},
                                      {"blue ", Style("DejaVu Sans", 12, true, false, false, Color::FromRGB(0x0000FF))},
                                      {"grey ", Style("DejaVu Sans", 12, false, true, false, Color::FromRGB(0x808080))},
                                      {"black ", Style("DejaVu Sans", 12, false, false, false, Color::FromRGB(0x000000))},
                                      {"own colour", Style("DejaVu Sans", 12)}}),
                           Paragraph({{"odd shade", Style("DejaVu Serif", 12, false, false, true, Color::FromRGB(0x123456))}})}}});

    documents.push_back({"Alignments",
                         {{Paragraph({{"as the field aligns", body}}, Alignment::Default),
                           Paragraph({{"left", body}}, Alignment::Left),
                           Paragraph({{"centre", body}}, Alignment::Center),
                           Paragraph({{"right", body}}, Alignment::Right)}}});

    documents.push_back({"TabsAndLineBreaks",
                         {{Paragraph({{"name\tage\tplace", body}}),
                           Paragraph({{"\tindented\t", body}}),
                           Paragraph({{"line one\xE2\x80\xA8line two in the same paragraph", body}})}}});

    documents.push_back({"EmptyParagraphs",
                         {{Paragraph({{"before", body}}), Paragraph({}), Paragraph({}), Paragraph({{"after", body}}),
                           Paragraph({})}}});

    documents.push_back({"Scripts",
                         {{Paragraph({{"\xC3\x87" "a a \xC3\xA9t\xC3\xA9 d\xC3\xA9j\xC3\xA0 \xC5\x93uvre, na\xC3\xAFve, \xC3\x85ngstr\xC3\xB6m", body}}),
                           Paragraph({{"\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 \xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5", body}}),
                           Paragraph({{"\xD0\x97\xD0\xB4\xD1\x80\xD0\xB0\xD0\xB2\xD1\x81\xD1\x82\xD0\xB2\xD1\x83\xD0\xB9, \xD0\xBC\xD0\xB8\xD1\x80", Style("DejaVu Sans", 12, true)}}),
                           Paragraph({{"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\xE3\x80\x81\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", Style("Droid Sans Fallback", 16)}}),
                           Paragraph({{"emoji \xF0\x9F\x98\x80 and \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD between words", Style("DejaVu Sans", 12, false, true)}}),
                           Paragraph({{"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7", body}}, Alignment::Right)}}});

    documents.push_back({"CharactersThatRtfMarksUp",
                         {{Paragraph({{"{braces} and \\backslash\\ and \\par that is no command; ", body},
                                      {"quotes \xE2\x80\x9C" "curly\xE2\x80\x9D and \xE2\x80\x98single\xE2\x80\x99, dash \xE2\x80\x94 end", Style("DejaVu Sans", 11, false, false, true)}})}}});

    std::vector<StyledParagraph> many;
    for (int i = 0; i < 300; ++i)
        many.push_back(Paragraph({{"Paragraph " + std::to_string(i) + " ", body},
                                  {"in bold", Style("DejaVu Sans", 10 + i % 7, true, false, false, Color::FromRGB(static_cast<unsigned>(i) * 0x010203u & 0xFFFFFFu))}},
                                 static_cast<Alignment>(i % 4)));
    documents.push_back({"ALongDocument", {many}});
    return documents;
}

// Two styled fields of one window: one to save from, one to load into.
class FolderItemSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        // A parameterised test's name holds a slash: it stays one folder.
        auto name = "folderitem-save-" + std::to_string(::getpid()) + "-" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::replace(name.begin(), name.end(), '/', '-');
        folder = fs::path(::testing::TempDir()) / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms(0755));
        window = ScriptedWindow::Make({.layout =
                                           [](ScriptedWindow& w) {
                                               w.Width(500);
                                               w.Height(400);
                                           },
                                       .createControls =
                                           [](ScriptedWindow& w) {
                                               for (const char* name : {"Source", "Copy"}) {
                                                   auto& f = w.Add<fw::EditField>("EditField", name, 10, 10, 400, 150);
                                                   f.Multiline(true);
                                                   f.Styled(true);
                                               }
                                           }});
        source = window->Control<fw::EditField>("Source");
        copy = window->Control<fw::EditField>("Copy");
    }
    void TearDown() override {
        if (mounted) ::umount2(mounted->c_str(), MNT_DETACH);
        drive::ReleaseAllWindows();
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::permissions(folder, fs::perms::owner_all, ignored);
        fs::remove_all(folder, ignored);
    }

    fs::path Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Saves the source field to the path; the message of the IOException, or "" when it saved.
    std::string SaveFailure(const fs::path& path) {
        try {
            fw::FolderItem(path).SaveStyledEditField(*source);
        } catch (const fw::IOException& error) {
            return error.what();
        }
        return "";
    }

    // Loads the file into the copy field; the message of the IOException, or "" when it loaded.
    std::string LoadFailure(const fs::path& path) {
        try {
            fw::FolderItem(path).OpenStyledEditField(*copy);
        } catch (const fw::IOException& error) {
            return error.what();
        }
        return "";
    }

    // Mounts a small file system of its own on a new folder; nothing where mounting is refused.
    std::optional<fs::path> SmallDisk(const char* size) {
        const auto point = folder / "small";
        fs::create_directories(point);
        const std::string options = std::string("size=") + size + ",mode=0755";
        if (::mount("tmpfs", point.c_str(), "tmpfs", 0, options.c_str()) != 0) return std::nullopt;
        mounted = point;
        return point;
    }

    // Expects the copy field to hold what the source field holds, run for run.
    void ExpectCopyEqualsSource() {
        const auto expected = source->GetStyledText();
        const auto actual = copy->GetStyledText();
        EXPECT_EQ(copy->Text(), source->Text());
        ASSERT_EQ(actual.paragraphs.size(), expected.paragraphs.size());
        for (std::size_t p = 0; p < expected.paragraphs.size(); ++p) {
            SCOPED_TRACE("paragraph " + std::to_string(p));
            const auto& want = expected.paragraphs[p];
            const auto& got = actual.paragraphs[p];
            EXPECT_EQ(static_cast<int>(got.alignment), static_cast<int>(want.alignment));
            ASSERT_EQ(got.runs.size(), want.runs.size());
            for (std::size_t r = 0; r < want.runs.size(); ++r) {
                SCOPED_TRACE("run \"" + want.runs[r].text + "\"");
                const auto& w = want.runs[r];
                const auto& g = got.runs[r];
                EXPECT_EQ(g.text, w.text);
                EXPECT_EQ(g.style.font, w.style.font);
                EXPECT_DOUBLE_EQ(g.style.size, w.style.size);
                EXPECT_EQ(g.style.bold, w.style.bold);
                EXPECT_EQ(g.style.italic, w.style.italic);
                EXPECT_EQ(g.style.underline, w.style.underline);
                EXPECT_EQ(g.style.color.has_value(), w.style.color.has_value());
                if (g.style.color && w.style.color) {
                    EXPECT_EQ(g.style.color->ToRGB(), w.style.color->ToRGB());
                }
            }
        }
        EXPECT_EQ(actual, expected);
    }

    // Expects a refused save: the message names the file and the reason, and
    // the folder holds what it held before.
    void ExpectRefused(const std::string& message, const std::string& name, const std::string& reason,
                       const fs::path& where, const std::set<std::string>& entries) {
        EXPECT_NE(message.find(name), std::string::npos) << message;
        EXPECT_NE(message.find(reason), std::string::npos) << message;
        EXPECT_EQ(Entries(where), entries) << "a temporary file was left behind";
    }

    fs::path folder;
    std::optional<fs::path> mounted;
    ScriptedWindow* window = nullptr;
    fw::EditField* source = nullptr;
    fw::EditField* copy = nullptr;
};

// ---- Round trips ------------------------------------------------------------------

class FolderItemRoundTripTest : public FolderItemSaveTest, public ::testing::WithParamInterface<Document> {};

TEST_P(FolderItemRoundTripTest, WhatIsSavedLoadsBackRunForRun) {
    source->SetStyledText(GetParam().text);
    ASSERT_EQ(PlainTextOf(source->GetStyledText()), PlainTextOf(GetParam().text)) << "the field did not take the document";
    copy->Text("something else entirely, to be replaced");
    const auto path = folder / "document.rtf";
    ASSERT_EQ(SaveFailure(path), "");
    ASSERT_TRUE(fw::LooksLikeRtf(ReadBytes(path)));
    ASSERT_EQ(LoadFailure(path), "");
    ExpectCopyEqualsSource();
    EXPECT_EQ(Entries(folder), std::set<std::string>{"document.rtf"});
}

INSTANTIATE_TEST_SUITE_P(Documents, FolderItemRoundTripTest, ::testing::ValuesIn(Documents()),
                         [](const ::testing::TestParamInfo<Document>& info) { return std::string(info.param.name); });

TEST_F(FolderItemSaveTest, TextInTheFieldsOwnFontIsSavedWithThatFont) {
    source->Text("typed in the field's own font");
    const auto path = folder / "own.rtf";
    ASSERT_EQ(SaveFailure(path), "");
    const auto saved = fw::ReadRtf(ReadBytes(path));
    ASSERT_EQ(saved.paragraphs.size(), 1u);
    ASSERT_FALSE(saved.paragraphs[0].runs.empty());
    for (const auto& run : saved.paragraphs[0].runs) {
        EXPECT_FALSE(run.style.font.empty()) << run.text;
        EXPECT_GT(run.style.size, 0) << run.text;
    }
    ASSERT_EQ(LoadFailure(path), "");
    ExpectCopyEqualsSource();
}

TEST_F(FolderItemSaveTest, AnEmptyDocumentSavesAndLoadsAsEmpty) {
    const auto path = Write(folder / "was-full.rtf", "{\\rtf1 old words}");
    ASSERT_EQ(SaveFailure(path), "");
    copy->Text("to be emptied");
    ASSERT_EQ(LoadFailure(path), "");
    EXPECT_EQ(copy->Text(), "");
}

TEST_F(FolderItemSaveTest, SavingReplacesALongerFileCompletely) {
    const auto path = Write(folder / "long.rtf", std::string(200000, 'x') + "TAIL-OF-THE-OLD-FILE");
    source->Text("short");
    ASSERT_EQ(SaveFailure(path), "");
    const auto bytes = ReadBytes(path);
    EXPECT_LT(bytes.size(), 5000u);
    EXPECT_EQ(bytes.find("TAIL-OF-THE-OLD-FILE"), std::string::npos);
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(bytes)), "short");
}

// The file is replaced, not rewritten in place: a reader that has the old
// file open goes on reading all of the old content.
TEST_F(FolderItemSaveTest, AReaderOfTheOldFileKeepsTheOldContent) {
    const std::string old = "{\\rtf1 the old content, all of it}";
    const auto path = Write(folder / "read.rtf", old);
    std::ifstream reader(path, std::ios::binary);
    ASSERT_TRUE(reader);
    source->Text("the new content");
    ASSERT_EQ(SaveFailure(path), "");
    std::ostringstream seen;
    seen << reader.rdbuf();
    EXPECT_EQ(seen.str(), old);
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(path))), "the new content");
}

TEST_F(FolderItemSaveTest, SavingTwiceLeavesOnlyTheFile) {
    const auto path = folder / "twice.rtf";
    source->Text("one");
    ASSERT_EQ(SaveFailure(path), "");
    source->Text("two");
    ASSERT_EQ(SaveFailure(path), "");
    EXPECT_EQ(Entries(folder), std::set<std::string>{"twice.rtf"});
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(path))), "two");
}

// The temporary file beside it must have a name the folder accepts, however
// long the file's own name is.
TEST_F(FolderItemSaveTest, AFileWithTheLongestNameTheFolderAllowsSaves) {
    for (const std::size_t length : {200u, 250u, 255u}) {
        SCOPED_TRACE(length);
        const auto name = std::string(length - 4, 'n') + ".rtf";
        const auto path = folder / name;
        source->Text("a new file of " + std::to_string(length));
        ASSERT_EQ(SaveFailure(path), "");
        source->Text("replaced with a long name " + std::to_string(length));
        ASSERT_EQ(SaveFailure(path), "");
        EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(path))), "replaced with a long name " + std::to_string(length));
        EXPECT_EQ(Entries(folder), std::set<std::string>{name});
        fs::remove(path);
    }
}

// ---- Permissions and owner ----------------------------------------------------------

TEST_F(FolderItemSaveTest, AnExistingFileKeepsItsPermissions) {
    for (const mode_t mode : {0640u, 0600u, 0604u, 0664u}) {
        SCOPED_TRACE(mode);
        const auto path = Write(folder / "kept.rtf", "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        source->Text("new");
        ASSERT_EQ(SaveFailure(path), "");
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(path))), "new");
    }
}

TEST_F(FolderItemSaveTest, ANewFileGetsThePermissionsTheUsersMaskAllows) {
    for (const mode_t mask : {022u, 027u, 077u}) {
        SCOPED_TRACE(mask);
        const mode_t previous = ::umask(mask);
        const auto path = folder / ("new-" + std::to_string(mask) + ".rtf");
        const auto message = SaveFailure(path);
        ::umask(previous);
        ASSERT_EQ(message, "");
        EXPECT_EQ(ModeOf(path), 0666u & ~mask);
    }
}

TEST_F(FolderItemSaveTest, AnExistingFileKeepsItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    const auto path = Write(folder / "theirs.rtf", "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    source->Text("saved by root for them");
    ASSERT_EQ(SaveFailure(path), "");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u) << "the owner lost the file";
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    // Their owner can still read what was saved for them.
    std::string read;
    {
        AsOrdinaryUser user;
        read = ReadBytes(path);
    }
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(read)), "saved by root for them");
}

// ---- Links --------------------------------------------------------------------------

TEST_F(FolderItemSaveTest, ALinkInTheSameFolderKeepsPointingAtTheReplacedFile) {
    const auto real = Write(folder / "real.rtf", "old");
    fs::create_symlink("real.rtf", folder / "link.rtf");
    source->Text("through the link");
    ASSERT_EQ(SaveFailure(folder / "link.rtf"), "");
    ASSERT_TRUE(fs::is_symlink(folder / "link.rtf"));
    EXPECT_EQ(fs::read_symlink(folder / "link.rtf"), fs::path("real.rtf"));
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(real))), "through the link");
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"link.rtf", "real.rtf"}));
}

TEST_F(FolderItemSaveTest, AChainOfLinksToAnotherFolderReplacesTheFileAtItsEnd) {
    fs::create_directories(folder / "elsewhere");
    const auto real = Write(folder / "elsewhere" / "real.rtf", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink(real, folder / "absolute.rtf");
    fs::create_symlink("absolute.rtf", folder / "relative.rtf");
    source->Text("at the end of the chain");
    ASSERT_EQ(SaveFailure(folder / "relative.rtf"), "");
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(real))), "at the end of the chain");
    EXPECT_EQ(ModeOf(real), 0640u);
    EXPECT_EQ(fs::read_symlink(folder / "relative.rtf"), fs::path("absolute.rtf"));
    EXPECT_EQ(fs::read_symlink(folder / "absolute.rtf"), real);
    EXPECT_EQ(Entries(folder), (std::set<std::string>{"absolute.rtf", "elsewhere", "relative.rtf"}));
    EXPECT_EQ(Entries(folder / "elsewhere"), std::set<std::string>{"real.rtf"});
}

TEST_F(FolderItemSaveTest, ALinkToAFileNotYetThereMakesTheFileAndKeepsTheLink) {
    fs::create_symlink("later.rtf", folder / "link.rtf");
    source->Text("created through the link");
    ASSERT_EQ(SaveFailure(folder / "link.rtf"), "");
    ASSERT_TRUE(fs::is_symlink(folder / "link.rtf"));
    ASSERT_TRUE(fs::is_regular_file(folder / "later.rtf"));
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(folder / "later.rtf"))), "created through the link");
}

TEST_F(FolderItemSaveTest, LinksThatGoRoundInACircleAreRefused) {
    fs::create_symlink("b.rtf", folder / "a.rtf");
    fs::create_symlink("a.rtf", folder / "b.rtf");
    source->Text("nowhere");
    const auto message = SaveFailure(folder / "a.rtf");
    ExpectRefused(message, "a.rtf", "circle", folder, {"a.rtf", "b.rtf"});
    EXPECT_TRUE(fs::is_symlink(folder / "a.rtf"));
    EXPECT_TRUE(fs::is_symlink(folder / "b.rtf"));
}

// ---- Failures ---------------------------------------------------------------------

TEST_F(FolderItemSaveTest, AReadOnlyFolderIsRefusedAndTheOldFileStaysWhole) {
    const std::string old = "{\\rtf1 precious}";
    const auto path = Write(folder / "kept.rtf", old);
    fs::permissions(folder, fs::perms(0555));
    source->Text("would replace it");
    std::string message;
    {
        AsOrdinaryUser user;
        message = SaveFailure(path);
    }
    ExpectRefused(message, "kept.rtf", "Permission denied", folder, {"kept.rtf"});
    EXPECT_EQ(ReadBytes(path), old);
}

TEST_F(FolderItemSaveTest, ANewFileInAReadOnlyFolderIsRefused) {
    fs::permissions(folder, fs::perms(0555));
    source->Text("no room");
    std::string message;
    {
        AsOrdinaryUser user;
        message = SaveFailure(folder / "new.rtf");
    }
    ExpectRefused(message, "new.rtf", "Permission denied", folder, {});
}

TEST_F(FolderItemSaveTest, AFileWithoutWritePermissionIsRefusedAndStaysWhole) {
    const std::string old = "{\\rtf1 locked}";
    const auto path = Write(folder / "locked.rtf", old);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    // Anyone may make files in the folder: only the file itself is protected.
    fs::permissions(folder, fs::perms(0777));
    source->Text("would replace it");
    std::string message;
    {
        AsOrdinaryUser user;
        message = SaveFailure(path);
    }
    ExpectRefused(message, "locked.rtf", "Permission denied", folder, {"locked.rtf"});
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(ModeOf(path), 0444u);
}

TEST_F(FolderItemSaveTest, AMissingFolderIsRefused) {
    source->Text("lost");
    const auto message = SaveFailure(folder / "gone" / "doc.rtf");
    ExpectRefused(message, "doc.rtf", "No such file or directory", folder, {});
    EXPECT_EQ(message.find("XXXXXX"), std::string::npos) << "the message names the temporary file: " << message;
}

TEST_F(FolderItemSaveTest, AFolderIsRefusedAndStaysWhole) {
    fs::create_directories(folder / "Chapters");
    Write(folder / "Chapters" / "one.rtf", "one");
    source->Text("not into a folder");
    const auto message = SaveFailure(folder / "Chapters");
    ExpectRefused(message, "Chapters", "folder", folder, {"Chapters"});
    EXPECT_EQ(Entries(folder / "Chapters"), std::set<std::string>{"one.rtf"});
    EXPECT_EQ(ReadBytes(folder / "Chapters" / "one.rtf"), "one");
}

TEST_F(FolderItemSaveTest, ALinkToAFolderIsRefusedAndTheLinkStays) {
    fs::create_directories(folder / "Chapters");
    fs::create_symlink("Chapters", folder / "link.rtf");
    source->Text("not into a folder");
    const auto message = SaveFailure(folder / "link.rtf");
    ExpectRefused(message, "link.rtf", "folder", folder, {"Chapters", "link.rtf"});
    EXPECT_TRUE(fs::is_symlink(folder / "link.rtf"));
    EXPECT_TRUE(Entries(folder / "Chapters").empty());
}

// ---- A full disk ----------------------------------------------------------------------

TEST_F(FolderItemSaveTest, ASaveOnAFullDiskFailsAndLeavesTheOldFileWhole) {
    const auto disk = SmallDisk("64k");
    if (!disk) GTEST_SKIP() << "a small file system cannot be mounted here: " << std::strerror(errno);
    const std::string old = "{\\rtf1\\ansi the old document that must survive}";
    const auto path = Write(*disk / "full.rtf", old);
    ASSERT_EQ(ReadBytes(path), old);

    // Far more than the small disk holds.
    std::string big;
    for (int i = 0; i < 4000; ++i) big += "line " + std::to_string(i) + " of a document too big for the disk\r";
    source->Text(big);
    const auto message = SaveFailure(path);
    ExpectRefused(message, "full.rtf", "No space left on device", *disk, {"full.rtf"});
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(LoadFailure(path), "");
    EXPECT_EQ(copy->Text(), "the old document that must survive");

    // Once the document fits, it saves on the same disk: the temporary file
    // lies beside the file, where it can be renamed over it.
    source->Text("small enough");
    ASSERT_EQ(SaveFailure(path), "");
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(ReadBytes(path))), "small enough");
    EXPECT_EQ(Entries(*disk), std::set<std::string>{"full.rtf"});
}

}  // namespace
