#include "ScriptedWindow.h"

#include "framework/model/Exceptions.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/ui/EditField.h"
#include "framework/ui/FolderItem.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
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
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

std::string ReadBytes(const fs::path& file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

// Everything under a folder, links not followed: each entry's mode and its content or link target.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        entries[entry.path().lexically_relative(root).string()] =
            std::to_string(info.st_mode & 07777) + " " +
            (entry.is_symlink() ? "-> " + fs::read_symlink(entry.path()).string()
                                : entry.is_regular_file() ? ReadBytes(entry.path()) : "");
    }
    return entries;
}

// A fresh folder per test, a window with a styled field to save from and one
// to load into, and a small file system of its own where one can be mounted.
class FolderItemSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::testing::InstallScriptedDialogs();
        folder = fs::path(::testing::TempDir()) / ("folderitem-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms(0755));
        auto* window = widgettests::ScriptedWindow::Make({.createControls = [](widgettests::ScriptedWindow& w) {
            for (const char* name : {"Source", "Copy"}) {
                auto& field = w.Add<fw::EditField>("EditField", name, 10, 10, 400, 150);
                field.Multiline(true), field.Styled(true);
            }
        }});
        source = window->Control<fw::EditField>("Source");
        copy = window->Control<fw::EditField>("Copy");
    }
    void TearDown() override {
        if (mounted) ::umount2(mounted->c_str(), MNT_DETACH);
        fw::testing::ReleaseAllWindows();
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
            if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::permissions(folder, fs::perms::owner_all, ignored);
        fs::remove_all(folder, ignored);
    }

    // The message of the IOException that saving throws, "" when it throws none;
    // as an ordinary user when asked, for root may write anywhere.
    std::string SaveFailure(const fs::path& file, bool asUser = false) {
        const bool root = asUser && ::geteuid() == 0;
        if (root) ::setfsuid(65534);
        std::string message;
        try {
            fw::FolderItem(file).SaveStyledEditField(*source);
        } catch (const fw::IOException& error) {
            message = error.what();
        }
        if (root) ::setfsuid(0);
        return message;
    }
    std::string SavedText(const fs::path& path) {
        copy->Text("");
        fw::FolderItem(path).OpenStyledEditField(*copy);
        return copy->Text();
    }

    fs::path folder;
    fw::EditField* source = nullptr;
    fw::EditField* copy = nullptr;
    std::optional<fs::path> mounted;
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
    EXPECT_EQ(SavedText(real), "at the end of the chain");
    EXPECT_TRUE(Snapshot(folder / "elsewhere").at("real.rtf").starts_with(std::to_string(0640) + " ")) << "its mode changed";
    EXPECT_EQ(fs::read_symlink(folder / "relative.rtf"), fs::path("absolute.rtf"));
    EXPECT_EQ(Snapshot(folder).size(), 4u) << "a file was left behind";
}

// A refused save names the file and the reason, and changes nothing: no old
// file is touched and no temporary file is left behind.
TEST_F(FolderItemSaveTest, ARefusedSaveNamesTheFileAndReasonAndChangesNothing) {
    struct Case { std::function<void(const fs::path&)> prepare; fs::path target; std::string reason; bool asUser; };
    const auto chmod = [](const fs::path& path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0); };
    const std::vector<Case> cases{
        {[&](const fs::path& in) { Write(in / "kept.rtf", "{\\rtf1 precious}"), chmod(in, 0555); }, "kept.rtf",
         "Permission denied", true},
        {[&](const fs::path& in) { chmod(in, 0555); }, "new.rtf", "Permission denied", true},
        // Anyone may make files in the folder: only the file itself is locked.
        {[&](const fs::path& in) { chmod(Write(in / "locked.rtf", "locked"), 0444), chmod(in, 0777); }, "locked.rtf",
         "Permission denied", true},
    };
    source->Text("would replace it");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.target);
        const auto in = folder / std::to_string(i);
        fs::create_directories(in);
        c.prepare(in);
        const auto before = Snapshot(in);
        const auto message = SaveFailure(in / c.target, c.asUser);
        EXPECT_NE(message.find(c.target.filename().string()), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_EQ(message.find("XXXXXX"), std::string::npos) << "the message names the temporary file: " << message;
        EXPECT_EQ(Snapshot(in), before);
    }
}

TEST_F(FolderItemSaveTest, ASaveOnAFullDiskFailsAndLeavesTheOldFileWhole) {
    const auto disk = folder / "small";
    fs::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
        GTEST_SKIP() << "a small file system cannot be mounted here: " << std::strerror(errno);
    mounted = disk;
    const std::string old = "{\\rtf1\\ansi the old document that must survive}";
    const auto path = Write(disk / "full.rtf", old);
    std::string big;
    for (int i = 0; i < 4000; ++i) big += "line " + std::to_string(i) + " of a document too big for the disk\r";
    source->Text(big);
    const auto message = SaveFailure(path);
    EXPECT_NE(message.find("full.rtf"), std::string::npos) << message;
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    EXPECT_EQ(Snapshot(disk).size(), 1u) << "a temporary file was left behind";
    EXPECT_EQ(ReadBytes(path), old);
}

}  // namespace
