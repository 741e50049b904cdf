#pragma once

#include "editor/Plumora.h"
#include "framework/ui/EditField.h"
#include "framework/ui/FolderItem.h"
#include "framework/ui/Runtime.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"
#include "menubar/MenuBar1.h"
#include "shell/Startup.h"
#include "tests/support/AsOrdinaryUser.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>

// A document window's state as a user sees it, to tell whether an action touched it.
struct Looks {
    std::string title;
    std::string text;
    std::shared_ptr<fw::FolderItem> document;
    bool changed = false;

    bool operator==(const Looks&) const = default;
    friend void PrintTo(const Looks& looks, std::ostream* out) {
        *out << "title \"" << looks.title << "\", text \"" << looks.text << "\", document "
             << (looks.document ? looks.document->Path().string() : "none") << ", changed " << looks.changed;
    }
};

inline Looks LooksOf(class Plumora& window) {
    return {window.Title(), window.EditField1()->Text(), window.Document, window.TextHasChanged};
}

// A test with the application object, its menu bar and its commands installed,
// the dialogs scripted and a fresh folder for files; the windows and the folder
// are gone again afterwards.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs = &fw::testing::InstallScriptedDialogs();
        SetUpClasses();
        NewAppInstance();
        ApplicationAddMenuHandlers();
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = std::filesystem::temp_directory_path() / ("plumora-" + std::to_string(::getpid()) + "-" + test);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }

    void TearDown() override {
        fw::testing::ReleaseAllWindows();
        fw::RuntimeRegisterAppObject(nullptr);
        ReleaseMenuBar1();
        RemoveLockedFolder(folder);
    }

    static class Plumora* NewWindow() {
        auto* window = fw::MakeWindow<class Plumora>();
        return fw::testing::ProcessEvents(), window;
    }
    static class Plumora* Front() { return dynamic_cast<class Plumora*>(fw::WindowAt(0)); }

    static void Select(fw::EditField& f, long start, long length) { f.SelStart(start), f.SelLength(length); }

    // Chooses the item with the document focused, as a user who clicked into the text and then the menu.
    static void Choose(class Plumora& window, const char* item) {
        fw::testing::Focus(*window.EditField1());
        ASSERT_TRUE(fw::testing::ChooseMenu(item)) << item << " could not be chosen";
    }

    // Types text into the field with the caret at its end.
    static void TypeAtEnd(fw::EditField& field, const std::string& text) {
        fw::testing::Focus(field);
        field.SelStart(static_cast<long>(field.Text().size()));
        fw::testing::TypeText(field, text);
    }

    std::filesystem::path Write(const std::string& name, const std::string& content) const {
        return std::ofstream(folder / name, std::ios::binary) << content, folder / name;
    }

    // Chooses File > Open, answering the dialog with the file, from the window
    // in front or, as at start, a new one; the window in front afterwards.
    class Plumora* Open(const std::filesystem::path& file) {
        if (!Front()) NewWindow();
        dialogs->openAnswers.push_back(std::make_shared<fw::FolderItem>(file));
        EXPECT_TRUE(fw::testing::ChooseMenu("FileOpen"));
        return Front();
    }

    fw::testing::ScriptedDialogs* dialogs = nullptr;
    std::filesystem::path folder;
};
