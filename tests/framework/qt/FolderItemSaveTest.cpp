#include "tests/support/StyledTextPrinting.h"
#include "FolderFixture.h"

#include "framework/text/Color.h"
#include "framework/ui/EditField.h"
#include "framework/ui/FolderItem.h"
#include "framework/text/RtfReader.h"
#include "framework/text/StyledText.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using fw::Alignment;
using fw::CharStyle;
using fw::Color;
using fw::StyledParagraph;
using fw::StyledRun;
using fw::StyledText;

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
    documents.push_back({"Empty", {}});
    return documents;
}

// A styled field to save from and one to load into, and a small file system
// of its own where one can be mounted.
class FolderItemSaveTest : public widgettests::FolderFixture {
protected:
    void TearDown() override {
        if (mounted) ::umount2(mounted->c_str(), MNT_DETACH);
        FolderFixture::TearDown();
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
            EXPECT_EQ(static_cast<int>(actual.paragraphs[p].alignment), static_cast<int>(expected.paragraphs[p].alignment));
            EXPECT_EQ(actual.paragraphs[p].runs, expected.paragraphs[p].runs);
        }
    }

    std::string SavedText(const fs::path& path) { return PlainTextOf(fw::ReadRtf(ReadBytes(path))); }

    // Everything under a folder, links not followed: each entry's kind, mode and
    // content or link target.
    static std::map<std::string, std::string> Snapshot(const fs::path& root) {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const auto& path = entry.path();
            std::string state = std::to_string(ModeOf(path)) + " ";
            if (entry.is_symlink()) state += "-> " + fs::read_symlink(path).string();
            else if (entry.is_regular_file()) state += ReadBytes(path);
            entries[path.lexically_relative(root).string()] = state;
        }
        return entries;
    }

    std::optional<fs::path> mounted;
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

// The file is replaced, not rewritten in place: a reader that has the old
// file open goes on reading all of the old content, however much longer.
TEST_F(FolderItemSaveTest, AReaderOfTheOldFileKeepsTheOldContent) {
    const std::string old = "{\\rtf1 the old content, all of it " + std::string(200000, 'x') + " TAIL}";
    const auto path = Write(folder / "read.rtf", old);
    std::ifstream reader(path, std::ios::binary);
    ASSERT_TRUE(reader);
    source->Text("the new content");
    ASSERT_EQ(SaveFailure(path), "");
    std::ostringstream seen;
    seen << reader.rdbuf();
    EXPECT_EQ(seen.str(), old);
    EXPECT_EQ(ReadBytes(path).find("TAIL"), std::string::npos);
    EXPECT_EQ(SavedText(path), "the new content");
}

// The temporary file beside it must have a name the folder accepts, however
// long the file's own name is; saving twice leaves only the file.
TEST_F(FolderItemSaveTest, AFileWithTheLongestNameTheFolderAllowsSaves) {
    for (const std::size_t length : {200u, 250u, 255u}) {
        SCOPED_TRACE(length);
        const auto name = std::string(length - 4, 'n') + ".rtf";
        const auto path = folder / name;
        source->Text("a new file of " + std::to_string(length));
        ASSERT_EQ(SaveFailure(path), "");
        source->Text("replaced with a long name " + std::to_string(length));
        ASSERT_EQ(SaveFailure(path), "");
        EXPECT_EQ(SavedText(path), "replaced with a long name " + std::to_string(length));
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
        EXPECT_EQ(SavedText(path), "new");
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
    EXPECT_EQ(PlainTextOf(fw::ReadRtf(AsOrdinaryUser([&] { return ReadBytes(path); }))), "saved by root for them");
}

// ---- Links --------------------------------------------------------------------------

TEST_F(FolderItemSaveTest, ALinkInTheSameFolderKeepsPointingAtTheReplacedFile) {
    const auto real = Write(folder / "real.rtf", "old");
    fs::create_symlink("real.rtf", folder / "link.rtf");
    source->Text("through the link");
    ASSERT_EQ(SaveFailure(folder / "link.rtf"), "");
    EXPECT_EQ(fs::read_symlink(folder / "link.rtf"), fs::path("real.rtf"));
    EXPECT_EQ(SavedText(real), "through the link");
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
    EXPECT_EQ(SavedText(real), "at the end of the chain");
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
    EXPECT_EQ(SavedText(folder / "later.rtf"), "created through the link");
}

// ---- Failures ---------------------------------------------------------------------

// A refused save names the file and the reason, and changes nothing: no old
// file is touched and no temporary file is left behind.
TEST_F(FolderItemSaveTest, ARefusedSaveNamesTheFileAndReasonAndChangesNothing) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> prepare;
        fs::path target;
        std::string reason;
        bool asUser;
    };
    const auto chmod = [](const fs::path& path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0); };
    const std::vector<Case> cases{
        {"a read-only folder",
         [&](const fs::path& in) {
             Write(in / "kept.rtf", "{\\rtf1 precious}");
             chmod(in, 0555);
         },
         "kept.rtf", "Permission denied", true},
        {"a new file in a read-only folder", [&](const fs::path& in) { chmod(in, 0555); }, "new.rtf", "Permission denied", true},
        // Anyone may make files in the folder: only the file itself is protected.
        {"a file without write permission",
         [&](const fs::path& in) {
             chmod(Write(in / "locked.rtf", "{\\rtf1 locked}"), 0444);
             chmod(in, 0777);
         },
         "locked.rtf", "Permission denied", true},
        {"a missing folder", [](const fs::path&) {}, "gone/doc.rtf", "No such file or directory", false},
        {"a folder",
         [](const fs::path& in) {
             fs::create_directories(in / "Chapters");
             Write(in / "Chapters" / "one.rtf", "one");
         },
         "Chapters", "folder", false},
        {"a link to a folder",
         [](const fs::path& in) {
             fs::create_directories(in / "Chapters");
             fs::create_symlink("Chapters", in / "link.rtf");
         },
         "link.rtf", "folder", false},
        {"links that go round in a circle",
         [](const fs::path& in) {
             fs::create_symlink("b.rtf", in / "a.rtf");
             fs::create_symlink("a.rtf", in / "b.rtf");
         },
         "a.rtf", "circle", false},
    };
    source->Text("would replace it");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        const auto in = folder / std::to_string(i);
        fs::create_directories(in);
        c.prepare(in);
        const auto before = Snapshot(in);
        const auto message = c.asUser ? AsOrdinaryUser([&] { return SaveFailure(in / c.target); }) : SaveFailure(in / c.target);
        EXPECT_NE(message.find(c.target.filename().string()), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_EQ(message.find("XXXXXX"), std::string::npos) << "the message names the temporary file: " << message;
        EXPECT_EQ(Snapshot(in), before);
    }
}

// ---- A full disk ----------------------------------------------------------------------

TEST_F(FolderItemSaveTest, ASaveOnAFullDiskFailsAndLeavesTheOldFileWhole) {
    const auto disk = SmallDisk("64k");
    if (!disk) GTEST_SKIP() << "a small file system cannot be mounted here: " << std::strerror(errno);
    const std::string old = "{\\rtf1\\ansi the old document that must survive}";
    const auto path = Write(*disk / "full.rtf", old);

    // Far more than the small disk holds.
    std::string big;
    for (int i = 0; i < 4000; ++i) big += "line " + std::to_string(i) + " of a document too big for the disk\r";
    source->Text(big);
    const auto message = SaveFailure(path);
    EXPECT_NE(message.find("full.rtf"), std::string::npos) << message;
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    EXPECT_EQ(Entries(*disk), std::set<std::string>{"full.rtf"}) << "a temporary file was left behind";
    EXPECT_EQ(ReadBytes(path), old);

    // Once the document fits, it saves on the same disk: the temporary file
    // lies beside the file, where it can be renamed over it.
    source->Text("small enough");
    ASSERT_EQ(SaveFailure(path), "");
    EXPECT_EQ(SavedText(path), "small enough");
    EXPECT_EQ(Entries(*disk), std::set<std::string>{"full.rtf"});
}

}  // namespace
