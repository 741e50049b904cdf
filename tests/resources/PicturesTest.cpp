#include "tests/support/ApplicationTest.h"
#include "resources/Pictures.h"

#include "editor/PlumoraLayout.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

const PictureRow kRows[]{
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
    for (const auto& row : kRows)
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
    }

    void TearDown() override {
        ApplicationTest::TearDown();
        RestorePictures();
    }
};

TEST_F(PicturesTest, EachAccessorGivesOneSharedObjectOfItsOwn) {
    std::set<const fw::Picture*> distinct;
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        const auto first = row.accessor();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(row.accessor(), first);
        distinct.insert(first.get());
    }
    EXPECT_EQ(distinct.size(), std::size(kRows));
}

// Every pictured control of every document window shows the one shared
// object of its picture; the others show none.
TEST_F(PicturesTest, TwoDocumentWindowsShareEveryPictureObject) {
    auto* first = Plumora();
    auto* second = fw::MakeWindow<class Plumora>();
    ASSERT_NE(first, second);
    ASSERT_NE(bannerplumora51(), nullptr);
    int pictured = 0;
    for (auto* window : {first, second}) {
        EXPECT_EQ(window->Backdrop(), bannerplumora51());
        for (const auto& control : PlumoraControls()) {
            const std::string name(control.start.name);
            SCOPED_TRACE(name);
            const auto shared = control.picture ? control.picture() : nullptr;
            pictured += shared != nullptr;
            auto* made = window->ControlByName(name);
            if (auto* button = dynamic_cast<fw::BevelButton*>(made)) EXPECT_EQ(button->Icon(), shared);
            else if (auto* canvas = dynamic_cast<fw::Canvas*>(made)) EXPECT_EQ(canvas->Backdrop(), shared);
            else EXPECT_FALSE(control.picture) << "a pictured control that is neither a bevel button nor a canvas";
        }
    }
    // The six toolbar buttons and the eight picture canvases, in two windows.
    EXPECT_EQ(pictured, 2 * 14);
}

TEST_F(PicturesTest, ChangingOrDeletingTheFilesAfterTheyLoadedChangesNothing) {
    std::vector<std::shared_ptr<fw::Picture>> loaded;
    for (const auto& row : kRows) {
        loaded.push_back(row.accessor());
        ASSERT_NE(loaded.back(), nullptr) << row.name;
    }
    const int width = buttonno4()->Width();
    for (const auto& row : kRows) ASSERT_TRUE(fs::remove(kResources / row.file)) << row.file;
    // Another, wider picture now stands under one of the names.
    fs::copy_file(kPristine / "bannerplumora51.bmp", kResources / "buttonno4.bmp");

    for (std::size_t i = 0; i < std::size(kRows); ++i) EXPECT_EQ(kRows[i].accessor(), loaded[i]) << kRows[i].name;
    EXPECT_EQ(buttonno4()->Width(), width);
    // A window made now still gets the pictures read before.
    auto* window = fw::MakeWindow<class Plumora>();
    EXPECT_EQ(window->Backdrop(), bannerplumora51());
    EXPECT_EQ(window->BoldButton()->Icon(), Picture2());
}

// In a fresh process every slot is empty, so each accessor's first loads can be watched.

TEST_F(PicturesTest, MissingPicture2GivesNothingUntilItIsPlacedBack) {
    EXPECT_IN_FRESH_PROCESS([] {
        ASSERT_TRUE(fs::remove(kResources / "Picture 2.png"));
        EXPECT_EQ(Picture2(), nullptr);
        // A window built meanwhile goes without the icon, and without an error.
        auto* window = fw::MakeWindow<class Plumora>();
        EXPECT_EQ(window->BoldButton()->Icon(), nullptr);
        EXPECT_EQ(fw::testing::TakeEscapedException(), "");
        EXPECT_EQ(Picture2(), nullptr);

        fs::copy_file(kPristine / "Picture 2.png", kResources / "Picture 2.png");
        const auto loaded = Picture2();
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->Width(), 201);
        EXPECT_EQ(Picture2(), loaded);
        fw::testing::ReleaseAllWindows();
    });
}

TEST_F(PicturesTest, EachAccessorLooksForItsFolderAndItsFileByItsExactNameUntilFound) {
    EXPECT_IN_FRESH_PROCESS([] {
        const fs::path moved = kResources.string() + ".moved";
        fs::rename(kResources, moved);
        for (const auto& row : kRows) EXPECT_EQ(row.accessor(), nullptr) << row.name;
        fs::rename(moved, kResources);

        fs::create_directories(kResources / "moved");
        for (const auto& row : kRows) {
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
        fs::copy_file(kPristine / "bannerplumora4.bmp", kResources / "bannerplumora4.bmp",
                      fs::copy_options::overwrite_existing);
        const auto loaded = bannerplumora4();
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->Width(), 357);
    });
}

}  // namespace
