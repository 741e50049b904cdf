#include "tests/support/StyledTextPrinting.h"
#include "ScriptedWindow.h"

#include "framework/text/Color.h"
#include "framework/ui/EditField.h"
#include "framework/ui/FolderItem.h"
#include "framework/model/Exceptions.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/text/RtfReader.h"
#include "framework/text/StyledText.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
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

struct Document {
    const char* name;
    StyledText text;
};

void PrintTo(const Document& document, std::ostream* out) { *out << document.name; }

std::vector<Document> Documents() {
    const auto body = Style("DejaVu Serif", 12);
    std::vector<StyledRun> faces;
    for (int bits = 0; bits < 8; ++bits)
        faces.push_back({"face" + std::to_string(bits) + " ", Style("DejaVu Sans", 12, bits & 1, bits & 2, bits & 4)});
    std::vector<StyledParagraph> many;
    for (int i = 0; i < 300; ++i)
        many.push_back(Paragraph({{"Paragraph " + std::to_string(i) + " ", body},
                                  {"in bold", Style("DejaVu Sans", 10 + i % 7, true, false, false,
                                                    Color::FromRGB(static_cast<unsigned>(i) * 0x010203u & 0xFFFFFFu))}},
                                 static_cast<Alignment>(i % 4)));
    return {
        {"FontsSizesFacesColoursAndAlignments",
         {{Paragraph({{"Serif twelve, ", body}, {"mono eighteen and a half, ", Style("DejaVu Sans Mono", 18.5)},
                      {"a font this machine lacks.", Style("Garamond Premier Pro", 14)}}),
           Paragraph(faces, Alignment::Left),
           Paragraph({{"red ", Style("DejaVu Sans", 12, false, false, false, Color::FromRGB(0xFF0000))},
                      {"own colour", Style("DejaVu Sans", 12)},
                      {"odd shade", Style("DejaVu Serif", 12, false, false, true, Color::FromRGB(0x123456))}},
                     Alignment::Center),
           Paragraph({}), Paragraph({{"right", body}}, Alignment::Right), Paragraph({})}}},
        {"ScriptsTabsLineBreaksAndRtfMarkUp",
         {{Paragraph({{"name\tage\tplace \u2028line two {braces} \\backslash\\ \\par no command", body}}),
           Paragraph({{"Καλημέρα Здравствуй ", Style("DejaVu Sans", 12, true)},
                      {"你好世界、日本語", Style("Droid Sans Fallback", 16)},
                      {" emoji 😀 and 👍🏽 “curly” —", Style("DejaVu Sans", 12, false, true)}}),
           Paragraph({{"שלום مرحبا", body}}, Alignment::Right)}}},
        {"ALongDocument", {many}},
        {"Empty", {}},
    };
}

// A fresh folder per test, and a window with two styled fields: one to save
// from and one to load into.
class FolderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fw::testing::InstallScriptedDialogs();
        // A parameterised test's name holds a slash: it stays one folder.
        auto name = "folderitem-" + std::to_string(::getpid()) + "-" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::replace(name.begin(), name.end(), '/', '-');
        folder = fs::path(::testing::TempDir()) / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms(0755));
        window = widgettests::ScriptedWindow::Make({.layout = [](widgettests::ScriptedWindow& w) { w.Width(500); },
                                       .createControls = [this](widgettests::ScriptedWindow& w) {
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
        fw::testing::ReleaseAllWindows();
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all,
                                             fs::perm_options::add, ignored);
        fs::permissions(folder, fs::perms::owner_all, ignored);
        fs::remove_all(folder, ignored);
    }

    static fs::path Write(const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    static std::string ReadBytes(const fs::path& file) {
        std::ostringstream bytes;
        bytes << std::ifstream(file, std::ios::binary).rdbuf();
        return bytes.str();
    }
    static std::set<std::string> Entries(const fs::path& in) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(in)) names.insert(entry.path().filename().string());
        return names;
    }

    // The message of the IOException the action throws, or "" when it throws none.
    static std::string Failure(const std::function<void()>& action) {
        try {
            action();
        } catch (const fw::IOException& error) {
            return error.what();
        }
        return "";
    }
    std::string SaveFailure(const fs::path& file) {
        return Failure([&] { fw::FolderItem(file).SaveStyledEditField(*source); });
    }
    std::string LoadFailure(const fs::path& file) {
        return Failure([&] { fw::FolderItem(file).OpenStyledEditField(*copy); });
    }
    // Does the action as an ordinary user, for root may read and write anywhere.
    static std::string AsOrdinaryUser(const std::function<std::string()>& action) {
        const bool root = ::geteuid() == 0;
        if (root) ::setfsuid(65534);
        const std::string result = action();
        if (root) ::setfsuid(0);
        return result;
    }

    fs::path folder;
    widgettests::ScriptedWindow* window = nullptr;
    fw::EditField* source = nullptr;
    fw::EditField* copy = nullptr;
};

// A styled field to save from and one to load into, and a small file system
// of its own where one can be mounted.
class FolderItemSaveTest : public FolderFixture {
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

class FolderItemRoundTripTest : public FolderItemSaveTest, public ::testing::WithParamInterface<Document> {};

TEST_P(FolderItemRoundTripTest, WhatIsSavedLoadsBackRunForRun) {
    source->SetStyledText(GetParam().text);
    ASSERT_EQ(PlainTextOf(source->GetStyledText()), PlainTextOf(GetParam().text)) << "the field did not take the document";
    copy->Text("something else entirely, to be replaced");
    const auto path = folder / "document.rtf";
    ASSERT_EQ(SaveFailure(path), "");
    ASSERT_TRUE(fw::LooksLikeRtf(ReadBytes(path)));
    ASSERT_EQ(LoadFailure(path), "");
    EXPECT_EQ(copy->GetStyledText(), source->GetStyledText());
    EXPECT_EQ(Entries(folder), std::set<std::string>{"document.rtf"});
}

INSTANTIATE_TEST_SUITE_P(Documents, FolderItemRoundTripTest, ::testing::ValuesIn(Documents()),
                         [](const ::testing::TestParamInfo<Document>& info) { return std::string(info.param.name); });

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
