#include "ScriptedWindow.h"

#include "framework/model/Exceptions.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/ui/EditField.h"
#include "tests/support/AsOrdinaryUser.h"
#include "tests/support/Transcription.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;

fs::path Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

// Everything under a folder, links not followed: each entry's mode and its content or link target.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        entries[entry.path().lexically_relative(root).string()] = std::to_string(info.st_mode & 07777) + " " +
            (entry.is_symlink()            ? "-> " + fs::read_symlink(entry.path()).string()
                 : entry.is_regular_file() ? FileBytes(entry.path())
                                           : "");
    }
    return entries;
}

// A fresh folder per test, and a window with a styled field to save from.
class FolderItemSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::testing::InstallScriptedDialogs();
        folder = fs::path(::testing::TempDir()) / ("folderitem-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms(0755));
        auto* window = widgettests::ScriptedWindow::Make({.createControls = [](widgettests::ScriptedWindow& w) {
            auto& field = w.Add<fw::EditField>("EditField", "Source", 10, 10, 400, 150);
            field.Multiline(true), field.Styled(true);
        }});
        source = window->Control<fw::EditField>("Source");
    }
    void TearDown() override {
        if (!mounted.empty()) ::umount2(mounted.c_str(), MNT_DETACH);
        fw::testing::ReleaseAllWindows();
        RemoveLockedFolder(folder);
    }

    // The message of the IOException that saving throws, "" when it throws none;
    // as an ordinary user when asked, for root may write anywhere.
    std::string SaveFailure(const fs::path& file, bool asUser = false) {
        std::optional<AsOrdinaryUser> user;
        if (asUser) user.emplace();
        try {
            fw::FolderItem(file).SaveStyledEditField(*source);
        } catch (const fw::IOException& error) {
            return error.what();
        }
        return "";
    }

    fs::path folder, mounted;
    fw::EditField* source = nullptr;
};

// A save through links replaces the file at the end of the chain, in its
// mode, and keeps every link.
TEST_F(FolderItemSaveTest, ASaveThroughLinksReplacesTheFileAtTheEndAndKeepsTheLinks) {
    fs::create_directories(folder / "elsewhere");
    const auto real = Write(folder / "elsewhere" / "real.rtf", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink(real, folder / "absolute.rtf");
    fs::create_symlink("absolute.rtf", folder / "relative.rtf");
    source->Text("at the end of the chain");
    ASSERT_EQ(SaveFailure(folder / "relative.rtf"), "");
    const std::string saved = Snapshot(folder / "elsewhere").at("real.rtf");
    EXPECT_TRUE(saved.starts_with(std::to_string(0640) + " {\\rtf1")) << "its mode changed: " << saved;
    EXPECT_NE(saved.find("at the end of the chain"), std::string::npos) << saved;
    EXPECT_EQ(fs::read_symlink(folder / "relative.rtf"), fs::path("absolute.rtf"));
    EXPECT_EQ(Snapshot(folder).size(), 4u) << "a file was left behind";
}

// A refused save names the file and the reason, and changes nothing: the old
// file stays whole and no temporary file is left behind.
TEST_F(FolderItemSaveTest, ARefusedSaveNamesTheFileAndReasonAndChangesNothing) {
    // The file saved to, its mode when it is there before (0: it is not), its folder's mode, the reason told and
    // whether the folder is named as the reason. Anyone may write the first file: only its folder is locked; anyone
    // may make files in the folder of the third: only the file itself is locked. The last goes to a full disk.
    const struct {
        const char* target;
        mode_t fileMode, folderMode;
        std::string reason;
        bool folderIsTheReason;
    } cases[]{
        {"kept.rtf", 0666, 0555, "Permission denied", true},
        {"new.rtf", 0, 0555, "Permission denied", true},
        {"locked.rtf", 0444, 0777, "Permission denied", false},
        {"full.rtf", 0644, 0755, "No space left on device", false},
    };
    std::string big;  // too big for the small disk of the last case
    for (int i = 0; i < 4000; ++i) big += "line " + std::to_string(i) + " of a document too big for the disk\r";
    source->Text(big);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.target);
        const auto in = folder / std::to_string(i);
        fs::create_directories(in);
        if (c.reason.starts_with("No space")) {
            if (::mount("tmpfs", in.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
                GTEST_SKIP() << "a small file system cannot be mounted here: " << std::strerror(errno);
            mounted = in;
        }
        if (c.fileMode) {
            ASSERT_EQ(::chmod(Write(in / c.target, "{\\rtf1 the old document}").c_str(), c.fileMode), 0);
        }
        ASSERT_EQ(::chmod(in.c_str(), c.folderMode), 0);
        const auto before = Snapshot(in);
        const auto message = SaveFailure(in / c.target, !c.reason.starts_with("No space"));
        EXPECT_NE(message.find(c.target), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_EQ(message.find("folder \"" + in.string() + "\" may not be written") != std::string::npos,
                  c.folderIsTheReason)
            << message;
        EXPECT_EQ(message.find("XXXXXX"), std::string::npos) << "the message names the temporary file: " << message;
        EXPECT_EQ(Snapshot(in), before);
    }
}

// A save removes the temporary files that killed saves of the same document
// left beside it, but not one that a save under way holds locked, nor files
// whose names only look alike, nor links and folders of that name.
TEST_F(FolderItemSaveTest, ASaveRemovesOnlyWhatKilledSavesOfTheSameDocumentLeft) {
    const auto document = Write(folder / "doc.rtf", "old");
    for (const char* leftover : {".doc.rtf.Ab12Cd", ".doc.rtf.000000"}) Write(folder / leftover, "partial");
    std::set<std::string> kept{".doc.rtf.held01", ".doc.rtf.Ab12C",  ".doc.rtf.Ab12Cde", ".doc.rtf.Ab-2Cd",
                               "doc.rtf.Ab12Cd",  ".Doc.rtf.Ab12Cd", ".other.rtf.Ab12Cd"};
    for (const auto& name : kept) Write(folder / name, "partial");
    fs::create_symlink(".doc.rtf.Ab12Cd", folder / ".doc.rtf.linked");
    fs::create_directory(folder / ".doc.rtf.folder");
    kept.insert({"doc.rtf", ".doc.rtf.linked", ".doc.rtf.folder"});
    const int writer = ::open((folder / ".doc.rtf.held01").c_str(), O_RDWR);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    source->Text("saved");
    EXPECT_EQ(SaveFailure(document), "");
    ::close(writer);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, kept);
}

}  // namespace
