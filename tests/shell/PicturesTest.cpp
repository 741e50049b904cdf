#include "tests/support/ApplicationTest.h"
#include "shell/Pictures.h"

#include "editor/Plumora.h"
#include "editor/PlumoraLayout.h"
#include "shell/App.h"
#include "shell/MenuBar1.h"
#include "shell/Startup.h"
#include "framework/FolderItem.h"
#include "framework/Runtime.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct PictureRow {
    const char* name;
    PictureAccessor accessor;
    const char* file;
};

const std::vector<PictureRow>& Rows() {
    static const std::vector<PictureRow> rows{
        {"buttoncen1", buttoncen1, "buttoncen1.bmp"},
        {"buttonmax1", buttonmax1, "buttonmax1.bmp"},
        {"buttonmin2", buttonmin2, "buttonmin2.bmp"},
        {"buttonyes6", buttonyes6, "buttonyes6.bmp"},
        {"buttonno4", buttonno4, "buttonno4.bmp"},
        {"buttonexit2", buttonexit2, "buttonexit2.bmp"},
        {"buttoncancel3", buttoncancel3, "buttoncancel3.png"},
        {"Picture2", Picture2, "Picture 2.png"},
        {"bannerplumora51", bannerplumora51, "bannerplumora51.bmp"},
        {"colorbutton2", colorbutton2, "colorbutton2.png"},
        {"bannerplumora4", bannerplumora4, "bannerplumora4.bmp"},
        {"buttonfullscreen", buttonfullscreen, "buttonfullscreen.bmp"},
    };
    return rows;
}

const fs::path kResources = PLUMORA_TEST_RESOURCES_DIR;
const fs::path kPristine = PLUMORA_RESOURCES_DIR;

// Puts every picture file back as the build made it.
void RestorePictures() {
    std::error_code error;
    fs::remove_all(kResources / "moved", error);
    if (!fs::is_directory(kResources)) {
        fs::remove(kResources, error);
        if (fs::is_directory(kResources.string() + ".moved")) fs::rename(kResources.string() + ".moved", kResources);
        else fs::create_directories(kResources);
    }
    for (const auto& row : Rows())
        fs::copy_file(kPristine / row.file, kResources / row.file, fs::copy_options::overwrite_existing);
}

// Runs the checks in a fresh process of this executable, where no picture has
// been loaded yet. gtest's own report is silent there, so each failure is
// written to standard error, which the waiting test shows.
template <class Checks>
[[noreturn]] void RunChecksAndExit(Checks checks) {
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &failures);
        checks();
    }
    for (int i = 0; i < failures.size(); ++i) {
        const auto& failure = failures.GetTestPartResult(i);
        std::fprintf(stderr, "%s:%d: %s\n", failure.file_name() ? failure.file_name() : "?", failure.line_number(),
                     failure.message());
    }
    // Straight out: the runtime is still up, and the process's static
    // clean-up must not run under it.
    std::fflush(stderr);
    std::_Exit(failures.size() == 0 ? 0 : 1);
}

#define EXPECT_IN_FRESH_PROCESS(...) \
    EXPECT_EXIT(RunChecksAndExit(__VA_ARGS__), ::testing::ExitedWithCode(0), "")

class PicturesTest : public ApplicationTest {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ApplicationTest::SetUp();
        ApplicationAddMenuHandlers();
    }

    void TearDown() override {
        ApplicationTest::TearDown();
        RestorePictures();
    }
};

TEST_F(PicturesTest, PicturesComeFromThisExecutablesResourcesFolder) {
    const auto folder = fw::GetApplicationBundleResources();
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(fs::equivalent(folder->Path(), kResources));
    for (const auto& row : Rows()) EXPECT_TRUE(fs::is_regular_file(kResources / row.file)) << row.file;
}

TEST_F(PicturesTest, EachAccessorGivesOneSharedObjectOfItsOwn) {
    std::set<const fw::Picture*> distinct;
    for (const auto& row : Rows()) {
        SCOPED_TRACE(row.name);
        const auto first = row.accessor();
        ASSERT_NE(first, nullptr);
        EXPECT_GT(first->Width(), 0);
        EXPECT_EQ(row.accessor(), first);
        EXPECT_EQ(row.accessor(), first);
        distinct.insert(first.get());
        // The picture is the row's file, not another one.
        const auto direct = fw::FolderItem(kResources / row.file).OpenAsPicture();
        ASSERT_NE(direct, nullptr);
        EXPECT_EQ(first->Width(), direct->Width());
        EXPECT_EQ(first->Height(), direct->Height());
    }
    EXPECT_EQ(distinct.size(), Rows().size());
}

TEST_F(PicturesTest, TwoDocumentWindowsShareEveryPictureObject) {
    auto* first = Plumora();
    auto* second = fw::MakeWindow<class Plumora>();
    ASSERT_TRUE(first && second);
    ASSERT_NE(first, second);
    ASSERT_NE(bannerplumora51(), nullptr);
    EXPECT_EQ(first->Backdrop(), bannerplumora51());
    EXPECT_EQ(second->Backdrop(), bannerplumora51());

    int pictured = 0;
    for (const auto& control : PlumoraControls()) {
        if (!control.picture) continue;
        ++pictured;
        const std::string name(control.start.name);
        SCOPED_TRACE(name);
        const auto shared = control.picture();
        ASSERT_NE(shared, nullptr);
        for (auto* window : {first, second}) {
            auto* made = window->ControlByName(name);
            ASSERT_NE(made, nullptr);
            if (auto* button = dynamic_cast<fw::BevelButton*>(made)) EXPECT_EQ(button->Icon(), shared);
            else if (auto* canvas = dynamic_cast<fw::Canvas*>(made)) EXPECT_EQ(canvas->Backdrop(), shared);
            else ADD_FAILURE() << "a pictured control that is neither a bevel button nor a canvas";
        }
    }
    EXPECT_GT(pictured, 0);
    // The close picture of the document window is the find window's too: one object.
    EXPECT_EQ(first->Canvas8()->Backdrop(), buttonexit2());
}

TEST_F(PicturesTest, DeletingTheFilesAfterTheyLoadedChangesNothing) {
    std::vector<std::shared_ptr<fw::Picture>> loaded;
    for (const auto& row : Rows()) {
        loaded.push_back(row.accessor());
        ASSERT_NE(loaded.back(), nullptr) << row.name;
    }
    for (const auto& row : Rows()) ASSERT_TRUE(fs::remove(kResources / row.file)) << row.file;

    for (std::size_t i = 0; i < Rows().size(); ++i) EXPECT_EQ(Rows()[i].accessor(), loaded[i]) << Rows()[i].name;
    // A window made now still gets the pictures read before.
    auto* window = fw::MakeWindow<class Plumora>();
    EXPECT_EQ(window->Backdrop(), bannerplumora51());
    EXPECT_NE(window->Backdrop(), nullptr);
    EXPECT_EQ(window->BoldButton()->Icon(), Picture2());
    EXPECT_NE(window->BoldButton()->Icon(), nullptr);
}

TEST_F(PicturesTest, ChangingAFileAfterItLoadedChangesNothing) {
    const auto before = buttonno4();
    ASSERT_NE(before, nullptr);
    const int width = before->Width();
    // Another, wider picture now stands under the same name.
    fs::copy_file(kPristine / "bannerplumora51.bmp", kResources / "buttonno4.bmp", fs::copy_options::overwrite_existing);
    EXPECT_EQ(buttonno4(), before);
    EXPECT_EQ(buttonno4()->Width(), width);
}

// In a fresh process every slot is empty, so each accessor's first loads can be watched.

TEST_F(PicturesTest, MissingPicture2GivesNothingAtEveryCallUntilItIsPlacedBack) {
    EXPECT_IN_FRESH_PROCESS([] {
        ASSERT_TRUE(fs::remove(kResources / "Picture 2.png"));
        for (int call = 0; call < 3; ++call) EXPECT_EQ(Picture2(), nullptr) << "call " << call;
        // A window built meanwhile goes without the icon, and without an error.
        auto* window = fw::MakeWindow<class Plumora>();
        ASSERT_NE(window->BoldButton(), nullptr);
        EXPECT_EQ(window->BoldButton()->Icon(), nullptr);
        EXPECT_EQ(fw::testing::TakeEscapedException(), "");

        fs::copy_file(kPristine / "Picture 2.png", kResources / "Picture 2.png");
        const auto loaded = Picture2();
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->Width(), 201);
        EXPECT_EQ(Picture2(), loaded);
        fw::testing::ReleaseAllWindows();
    });
}

TEST_F(PicturesTest, EachAccessorReadsItsOwnFileByItsExactName) {
    EXPECT_IN_FRESH_PROCESS([] {
        fs::create_directories(kResources / "moved");
        for (const auto& row : Rows()) {
            SCOPED_TRACE(row.name);
            fs::rename(kResources / row.file, kResources / "moved" / row.file);
            EXPECT_EQ(row.accessor(), nullptr);
            fs::rename(kResources / "moved" / row.file, kResources / row.file);
            const auto loaded = row.accessor();
            EXPECT_NE(loaded, nullptr);
            EXPECT_EQ(row.accessor(), loaded);
        }
    });
}

TEST_F(PicturesTest, AFileThatIsNoImageGivesNothingAndIsTriedAgain) {
    EXPECT_IN_FRESH_PROCESS([] {
        std::ofstream(kResources / "bannerplumora4.bmp", std::ios::binary | std::ios::trunc) << "BM not really a bitmap";
        EXPECT_EQ(bannerplumora4(), nullptr);
        EXPECT_EQ(bannerplumora4(), nullptr);
        fs::copy_file(kPristine / "bannerplumora4.bmp", kResources / "bannerplumora4.bmp",
                      fs::copy_options::overwrite_existing);
        const auto loaded = bannerplumora4();
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->Width(), 357);
    });
}

TEST_F(PicturesTest, AMissingResourcesFolderGivesNothingAndIsLookedUpAgain) {
    EXPECT_IN_FRESH_PROCESS([] {
        const fs::path moved = kResources.string() + ".moved";
        fs::rename(kResources, moved);
        for (const auto& row : Rows()) EXPECT_EQ(row.accessor(), nullptr) << row.name;
        fs::rename(moved, kResources);
        for (const auto& row : Rows()) EXPECT_NE(row.accessor(), nullptr) << row.name;
    });
}

}  // namespace
