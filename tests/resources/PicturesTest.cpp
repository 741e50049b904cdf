#include "tests/support/ApplicationTest.h"
#include "resources/Pictures.h"
#include "tests/support/PictureNames.h"
#include "tests/support/Transcription.h"

#include "editor/Plumora.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> TranscribedFiles() {
    std::map<std::string, std::string> files;
    for (const auto& row : TranscribedRows("pictures.txt")) files[row.at(0)] = row.at(1);
    EXPECT_EQ(files.size(), 12u);
    return files;
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
    for (const auto& entry : fs::directory_iterator(kPristine))
        fs::copy_file(entry.path(), kResources / entry.path().filename(), fs::copy_options::overwrite_existing);
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

// In a fresh process every slot is empty, so each accessor's first loads can be watched.

TEST_F(PicturesTest, EachAccessorLooksForItsFolderAndItsFileByItsExactNameUntilFound) {
    EXPECT_IN_FRESH_PROCESS([] {
        const fs::path moved = kResources.string() + ".moved";
        fs::rename(kResources, moved);
        const auto files = TranscribedFiles();
        for (const auto& [name, file] : files) EXPECT_EQ(PictureNamed(name)(), nullptr) << name;
        fs::rename(moved, kResources);

        fs::create_directories(kResources / "moved");
        for (const auto& [name, file] : files) {
            SCOPED_TRACE(name);
            const auto accessor = PictureNamed(name);
            fs::rename(kResources / file, kResources / "moved" / file);
            EXPECT_EQ(accessor(), nullptr);
            fs::rename(kResources / "moved" / file, kResources / file);
            const auto loaded = accessor();
            EXPECT_NE(loaded, nullptr);
            EXPECT_EQ(accessor(), loaded);
        }
    });
}

}  // namespace
