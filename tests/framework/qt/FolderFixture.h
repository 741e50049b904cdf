#pragma once

#include "ScriptedWindow.h"

#include "framework/ui/EditField.h"
#include "framework/model/Exceptions.h"
#include "framework/ui/FolderItem.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

namespace widgettests {

namespace fs = std::filesystem;

// A fresh folder per test, and a window with two styled fields: one to save
// from and one to load into, whose TextChange events are counted.
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
        window = ScriptedWindow::Make({.layout = [](ScriptedWindow& w) { w.Width(500); },
                                       .createControls = [this](ScriptedWindow& w) {
                                           for (const char* name : {"Source", "Copy"}) {
                                               auto& f = w.Add<fw::EditField>("EditField", name, 10, 10, 400, 150);
                                               f.Multiline(true);
                                               f.Styled(true);
                                           }
                                           w.ControlByName("Copy")->InstallEventHandler(
                                               "TextChange", fw::PlainHandler([this] { ++textChanges; }));
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
    ScriptedWindow* window = nullptr;
    fw::EditField* source = nullptr;
    fw::EditField* copy = nullptr;
    int textChanges = 0;
};

}  // namespace widgettests
